// CreateShortcut: a shell shortcut written through the ShellLink object, or a folder.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "actions.h"
#include "exact_path.h"
#include "folder_path.h"
#include "link_path.h"

namespace {

bool IsPresent(const char* text) {
  return text && *text;
}

// The running program's full file name into self (kPathBufferSize bytes): the shell starts a
// one-time shortcut from anywhere, and the name the program was started by may be bare or
// relative. In a folder the code page cannot hold, its short name: never the file a look-alike
// names, which someone else may have put there. False when there is no such name or it does not
// fit, as for a target.
bool OwnProgramPath(char* self) {
  char narrow[kPathBufferSize];
  WCHAR wide[kPathBufferSize];
  const DWORD length = GetModuleFileNameA(nullptr, narrow, kPathBufferSize);
  const DWORD wideLength = GetModuleFileNameW(nullptr, wide, kPathBufferSize);
  return length > 0 && length < kPathBufferSize && wideLength > 0 &&
         wideLength < kPathBufferSize && ExactAnsiPath(narrow, wide, self, kPathBufferSize);
}

// Sets the link's path. A path the link object cannot take is a failure, and so is one it drops
// while reporting only that it could not resolve it (S_FALSE, as it reports a missing target,
// which is allowed): a shortcut that points at no item cannot work.
HRESULT SetLinkPath(IShellLinkA* link, const char* path) {
  const HRESULT result = link->SetPath(path);
  if (FAILED(result)) return result;
  LPITEMIDLIST item = nullptr;
  const bool held = SUCCEEDED(link->GetIDList(&item)) && item;
  CoTaskMemFree(item);
  return held ? S_OK : E_FAIL;
}

// The shell object keeps at most 259 characters of a path (a longer one it stores as garbage and
// still reports success), so a longer target or icon path is refused before anything is written.
bool FitsLink(const char* text) {
  return !text || lstrlenA(text) < static_cast<int>(kPathBufferSize);
}

// The shell object keeps at most INFOTIPSIZE - 1 (1,023) characters of arguments, counted as it
// counts them, in UTF-16 after the conversion from the ANSI code page (a two-byte character is
// one); longer ones it cuts. They are refused before anything is written, as a target too long.
bool FitsArguments(const char* text) {
  if (!IsPresent(text)) return true;
  const int units = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, nullptr, 0);
  return units > 0 && units <= INFOTIPSIZE;
}

// Sets up the link object and saves it at path. Calls on the link object in this order: icon
// location (when any), path (its item checked), arguments (when any), save; nothing is saved when
// any of them is not taken.
HRESULT WriteLink(IShellLinkA* link, IPersistFile* file, const char* path, const char* target,
                  const char* arguments, const char* iconPath, int32_t iconIndex,
                  int32_t oneTime) {
  char line[kPathBufferSize];
  char self[kPathBufferSize];
  if (oneTime && (!OwnProgramPath(self) ||
                  !BuildRelaunchLine(line, sizeof line, target, arguments, path, IsAnsiLeadByte))) {
    return E_FAIL;
  }

  HRESULT set = S_OK;
  if (IsPresent(iconPath)) {
    set = link->SetIconLocation(iconPath, iconIndex);
  } else if (iconIndex != 0 && target) {
    set = link->SetIconLocation(target, iconIndex);
  }
  if (FAILED(set)) return set;
  set = SetLinkPath(link, oneTime ? self : target);
  if (FAILED(set)) return set;
  if (oneTime) {
    set = link->SetArguments(line);
  } else if (IsPresent(arguments)) {
    set = link->SetArguments(arguments);
  }
  if (FAILED(set)) return set;

  WCHAR widePath[kPathBufferSize];
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path, -1, widePath, kPathBufferSize) == 0) {
    return E_FAIL;
  }
  return file->Save(widePath, TRUE);
}

int32_t CreateFolder(int32_t specialFolder, const char* linkFile) {
  char path[kPathBufferSize];
  if (!ItemPath(specialFolder, linkFile, path, sizeof path)) return kStatusFailed;
  return CreateDirectoryA(path, nullptr) ? 0 : kStatusFailed;
}

HRESULT CreateLink(const char* target, const char* arguments, const char* linkFile,
                   const char* iconPath, int32_t iconIndex, int32_t specialFolder,
                   int32_t oneTime) {
  char path[kPathBufferSize];
  if (!LinkFilePath(specialFolder, linkFile, path, sizeof path)) return kStatusFailed;
  if (!target || !FitsLink(target) || !FitsLink(iconPath) || !FitsArguments(arguments)) {
    return kStatusFailed;
  }

  IShellLinkA* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IShellLinkA, reinterpret_cast<void**>(&link));
  if (FAILED(result) || !link) return FAILED(result) ? result : kStatusFailed;

  IPersistFile* file = nullptr;
  result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(result) && file) {
    result = WriteLink(link, file, path, target, arguments, iconPath, iconIndex, oneTime);
    file->Release();
  } else if (SUCCEEDED(result)) {
    result = kStatusFailed;
  }
  link->Release();
  return result;
}

}  // namespace

int32_t CreateShortcut(const char* target, const char* arguments, const char* linkFile,
                       const char* iconPath, int32_t iconIndex, int32_t isFolder,
                       int32_t specialFolder, int32_t oneTime) {
  // COM is open around the whole action, the folder included; a failed initialisation is not
  // balanced by an uninitialisation.
  const HRESULT com = CoInitialize(nullptr);
  const int32_t result =
      isFolder ? CreateFolder(specialFolder, linkFile)
               : CreateLink(target, arguments, linkFile, iconPath, iconIndex, specialFolder, oneTime);
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}
