// ExecuteOneTimeLink: the second half of a self-removing shortcut.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "actions.h"
#include "folder_path.h"
#include "link_path.h"
#include "system_view.h"
#include "winutils.h"

namespace {

// Launches target through the shell. The launch may be handed to shell extensions that are
// activated through COM, so it runs in a single-threaded apartment, closed again only when it was
// opened here. A target below System32 is launched by the name that reaches the program a 64-bit
// shell would start for it.
bool Launch(const char* target, const char* arguments, const char* currentDir) {
  char native[kPathBufferSize];
  const char* file = NativeSystemName(target, native, sizeof native) ? native : target;
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const HINSTANCE launched = ShellExecuteA(nullptr, nullptr, file, arguments, currentDir, SW_SHOW);
  if (SUCCEEDED(com)) CoUninitialize();
  return reinterpret_cast<INT_PTR>(launched) > 32;
}

// Launches target unless it is longer than any path (the shell's launcher does not survive one of
// a thousand characters): 0, or failure when it did not start.
int32_t LaunchTarget(const char* target, const char* arguments, const char* currentDir) {
  if (!target || !*target) return 0;
  if (lstrlenA(target) >= static_cast<int>(kPathBufferSize)) return kStatusFailed;
  return Launch(target, arguments, currentDir) ? 0 : kStatusFailed;
}

// Opens the shortcut at path for its removal: for deletion, sharing only reads, so that from now
// on no one can open it in a way that would keep it. Refused (ERROR_ACCESS_DENIED) when it is
// read-only, which Windows never deletes, whatever the process's rights.
HANDLE OpenForRemoval(const char* path) {
  HANDLE link = CreateFileA(path, DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (link != INVALID_HANDLE_VALUE && (GetFileAttributesA(path) & FILE_ATTRIBUTE_READONLY)) {
    CloseHandle(link);
    link = INVALID_HANDLE_VALUE;
    SetLastError(ERROR_ACCESS_DENIED);
  }
  return link;
}

// Deletes the file open for removal and closes it. False when it stays.
bool RemoveOpened(HANDLE link) {
  FILE_DISPOSITION_INFO disposition;
  disposition.DeleteFile = TRUE;
  const bool removed =
      SetFileInformationByHandle(link, FileDispositionInfo, &disposition, sizeof disposition) != 0;
  CloseHandle(link);
  return removed;
}

}  // namespace

// A one-time shortcut runs once: its target is started only when the shortcut is held for its
// removal, or is gone already (a copy, a second activation); one that cannot be removed starts
// nothing and stays for a later activation.
int32_t ExecuteOneTimeLink(const char* target, const char* arguments, const char* linkFile,
                           const char* currentDir) {
  // A name that does not fit, or an empty one, names no shortcut: nothing is deleted and the
  // launch is still attempted, as for a shortcut that is already gone.
  char path[kPathBufferSize];
  const bool named = CopyPathText(path, sizeof path, linkFile) && path[0] != '\0' &&
                     EnsureLinkExtension(path, sizeof path, IsAnsiLeadByte);
  const HANDLE link = named ? OpenForRemoval(path) : INVALID_HANDLE_VALUE;
  if (link == INVALID_HANDLE_VALUE) {
    const DWORD error = named ? GetLastError() : ERROR_FILE_NOT_FOUND;
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      LaunchTarget(target, arguments, currentDir);
    }
    TurnOnRedirectionGuard();
    return kStatusFailed;
  }
  const int32_t launched = LaunchTarget(target, arguments, currentDir);
  // Once the target has started (it inherits the guard, and must run as from the shell).
  TurnOnRedirectionGuard();
  return RemoveOpened(link) ? launched : kStatusFailed;
}
