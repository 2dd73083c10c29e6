// CreateShortcut: a shell shortcut written through the ShellLink object, or a folder.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <stdlib.h>

#include "actions.h"
#include "folder_path.h"
#include "link_path.h"

namespace {

bool IsPresent(const char* text) {
  return text && *text;
}

// The program's own command name, exactly as the runtime's argument vector holds it.
const char* OwnCommandName() {
  return (__argv && __argv[0]) ? __argv[0] : nullptr;
}

// Sets up the link object and saves it at path (which gets its extension here). Calls on the
// link object in this order: icon location (when any), path, arguments (when any), save.
HRESULT WriteLink(IShellLinkA* link, IPersistFile* file, char* path, const char* target,
                  const char* arguments, const char* iconPath, int32_t iconIndex,
                  int32_t oneTime) {
  if (IsPresent(iconPath)) {
    link->SetIconLocation(iconPath, iconIndex);
  } else if (iconIndex != 0 && target) {
    link->SetIconLocation(target, iconIndex);
  }

  if (!EnsureLinkExtension(path, kPathBufferSize)) return E_FAIL;

  if (oneTime) {
    const char* self = OwnCommandName();
    char line[kPathBufferSize];
    if (!self || !BuildRelaunchLine(line, sizeof line, target, arguments, path)) return E_FAIL;
    link->SetPath(self);
    link->SetArguments(line);
  } else {
    // The shell object keeps at most 259 characters of a target (a longer one it stores as
    // garbage and still reports success), so such a shortcut is not written at all.
    if (!target || lstrlenA(target) >= static_cast<int>(kPathBufferSize)) return E_FAIL;
    link->SetPath(target);
    if (IsPresent(arguments)) link->SetArguments(arguments);
  }

  WCHAR widePath[kPathBufferSize];
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path, -1, widePath, kPathBufferSize) == 0) {
    return E_FAIL;
  }
  return file->Save(widePath, TRUE);
}

}  // namespace

int32_t CreateShortcut(const char* target, const char* arguments, const char* linkFile,
                       const char* iconPath, int32_t iconIndex, int32_t isFolder,
                       int32_t specialFolder, int32_t oneTime) {
  const HRESULT com = CoInitialize(nullptr);
  // A failed initialisation is not balanced by an uninitialisation.
  auto closeCom = [com]() {
    if (SUCCEEDED(com)) CoUninitialize();
  };

  char path[kPathBufferSize];
  if (!ResolveFolderPath(specialFolder, linkFile, path, sizeof path)) {
    closeCom();
    return kStatusFailed;
  }

  if (isFolder) {
    const BOOL made = CreateDirectoryA(path, nullptr);
    closeCom();
    return made ? 0 : kStatusFailed;
  }

  IShellLinkA* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IShellLinkA, reinterpret_cast<void**>(&link));
  if (FAILED(result) || !link) {
    closeCom();
    return FAILED(result) ? result : kStatusFailed;
  }

  IPersistFile* file = nullptr;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (FAILED(result) || !file) {
    link->Release();
    closeCom();
    return FAILED(result) ? result : kStatusFailed;
  }

  result = WriteLink(link, file, path, target, arguments, iconPath, iconIndex, oneTime);

  file->Release();
  link->Release();
  closeCom();
  return result;
}
