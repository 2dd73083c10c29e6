// CreateShortcut: a shell shortcut written through the ShellLink object, or a folder.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "actions.h"
#include "exact_path.h"
#include "folder_path.h"
#include "link_path.h"
#include "replace_file.h"
#include "saved_link.h"

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

// The values a shortcut is given: the icon a path names (the target's own with only an index), and
// for a one-time shortcut this program, started with the line that runs target and removes the
// shortcut at path. False when that program or its line has no name that fits.
bool ChooseValues(const char* path, const char* target, const char* arguments,
                  const char* iconPath, int32_t iconIndex, int32_t oneTime, char* self, char* line,
                  LinkValues* values) {
  values->path = target;
  values->arguments = IsPresent(arguments) ? arguments : nullptr;
  values->iconPath = IsPresent(iconPath) ? iconPath : iconIndex != 0 ? target : nullptr;
  values->iconIndex = iconIndex;
  if (!oneTime) return true;
  values->path = self;
  values->arguments = line;
  return OwnProgramPath(self) &&
         BuildRelaunchLine(line, kPathBufferSize, target, arguments, path, IsAnsiLeadByte);
}

// Sets up the link object, saves it as file and reads it back. Calls on the link object in this
// order: icon location (when any), path (its item checked), arguments (when any), save; nothing is
// saved when any of them is not taken.
HRESULT WriteLink(IShellLinkA* link, IPersistFile* persist, const char* file,
                  const LinkValues& values) {
  HRESULT set = S_OK;
  if (values.iconPath) set = link->SetIconLocation(values.iconPath, values.iconIndex);
  if (FAILED(set)) return set;
  set = SetLinkPath(link, values.path);
  if (FAILED(set)) return set;
  if (values.arguments) set = link->SetArguments(values.arguments);
  if (FAILED(set)) return set;

  WCHAR wideFile[kPathBufferSize];
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, file, -1, wideFile, kPathBufferSize) == 0) {
    return E_FAIL;
  }
  set = persist->Save(wideFile, FALSE);
  return FAILED(set) ? set : CheckSavedLink(link, wideFile, values);
}

// Writes the shortcut as file through a link object of its own.
HRESULT SaveLink(const char* file, const LinkValues& values) {
  IShellLinkA* link = nullptr;
  IPersistFile* persist = nullptr;
  HRESULT result = NewLinkObject(&link, &persist);
  if (FAILED(result)) return result;
  result = WriteLink(link, persist, file, values);
  persist->Release();
  link->Release();
  return result;
}

int32_t CreateFolder(int32_t specialFolder, const char* linkFile) {
  char path[kPathBufferSize];
  if (!ItemPath(specialFolder, linkFile, path, sizeof path)) return kStatusFailed;
  return CreateDirectoryA(path, nullptr) ? 0 : kStatusFailed;
}

// The shortcut is written beside path and checked there, then takes the name path in one step:
// a shortcut already there stays whole until then, and stays as it was when any step fails.
HRESULT CreateLink(const char* target, const char* arguments, const char* linkFile,
                   const char* iconPath, int32_t iconIndex, int32_t specialFolder,
                   int32_t oneTime) {
  char path[kPathBufferSize];
  if (!LinkFilePath(specialFolder, linkFile, path, sizeof path)) return kStatusFailed;
  if (!target || !FitsLink(target) || !FitsLink(iconPath) || !FitsArguments(arguments)) {
    return kStatusFailed;
  }
  char self[kPathBufferSize];
  char line[kPathBufferSize];
  LinkValues values;
  if (!ChooseValues(path, target, arguments, iconPath, iconIndex, oneTime, self, line, &values)) {
    return kStatusFailed;
  }

  char beside[kPathBufferSize];
  if (!MayReplace(path) || !CreateBeside(path, beside)) return kStatusFailed;
  HRESULT result = SaveLink(beside, values);
  if (SUCCEEDED(result) && !SwapIn(beside, path)) result = kStatusFailed;
  if (FAILED(result)) DeleteFileA(beside);
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
