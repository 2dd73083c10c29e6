// MayReplace, CreateBeside, SwapIn: a replaced file written beside it and swapped in.
#include <windows.h>

#include "link_path.h"
#include "replace_file.h"

bool MayReplace(const char* path) {
  // Opened as the swap opens it, for deletion: a file that another process holds without
  // sharing that is refused before anything is written (Wine's swap would leave a file of its own
  // behind). A folder is not opened at all.
  HANDLE file = CreateFileA(path, DELETE | FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  CloseHandle(file);
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool CreateBeside(const char* path, char* beside) {
  char folder[kPathBufferSize];
  char* name = nullptr;
  const DWORD length = GetFullPathNameA(path, kPathBufferSize, folder, &name);
  if (length == 0 || length >= kPathBufferSize || !name) return false;
  *name = '\0';
  // The platform makes the name unique and creates the file exclusively: no one else's file is
  // ever taken over. It takes a folder of at most kPathBufferSize - 14 characters, so that the
  // new name fits after it (Wine's does not check).
  if (lstrlenA(folder) > static_cast<int>(kPathBufferSize) - 14) return false;
  return GetTempFileNameA(folder, "pm", 0, beside) != 0;
}

bool SwapIn(const char* beside, const char* path) {
  if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
    if (ReplaceFileA(path, beside, nullptr, 0, nullptr, nullptr)) return true;
    // Without a backup name this failure has removed the old file and left the new one under its
    // own name; a file that went in the meantime has nothing to replace. Either way the new file
    // takes the free name below.
    const DWORD error = GetLastError();
    if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT && error != ERROR_FILE_NOT_FOUND) return false;
  }
  return MoveFileExA(beside, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
