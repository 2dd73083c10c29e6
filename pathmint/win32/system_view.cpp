#include "system_view.h"

#include <windows.h>

#include "folder_path.h"
#include "link_path.h"

namespace {

bool IsWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

// Whether text begins with prefix: the same characters of the ANSI code page (the system
// locale's), letter case ignored.
bool BeginsWith(const char* text, const char* prefix) {
  const int length = lstrlenA(prefix);
  return lstrlenA(text) > length &&
         CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, text, length,
                        prefix, length) == CSTR_EQUAL;
}

// The system's Windows directory into windows (kPathBufferSize bytes), without a trailing
// backslash (the platform gives one for a root directory only). The system's, whose System32 is
// the one redirected: on a terminal server a program that does not declare itself aware of it (as
// this one does not) is given a private Windows directory of the user's elsewhere.
bool WindowsDirectory(char* windows) {
  const UINT length = GetSystemWindowsDirectoryA(windows, kPathBufferSize);
  if (length == 0 || length >= kPathBufferSize) return false;
  if (EndsInSeparator(windows, IsAnsiLeadByte)) windows[length - 1] = '\0';
  return true;
}

bool IsFile(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool NativeSystemName(const char* target, char* out, size_t capacity) {
  if (capacity > 0) out[0] = '\0';
  char windows[kPathBufferSize];
  char redirected[kPathBufferSize];
  char native[kPathBufferSize];
  if (!target || !IsWow64() || !WindowsDirectory(windows) ||
      !JoinFolderPath(redirected, sizeof redirected, windows, "System32\\") ||
      !BeginsWith(target, redirected) ||
      !JoinFolderPath(native, sizeof native, windows, "Sysnative") ||
      !JoinFolderPath(out, capacity, native, target + lstrlenA(redirected))) {
    return false;
  }
  if (IsFile(out)) return true;
  out[0] = '\0';
  return false;
}
