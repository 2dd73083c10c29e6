// ShellDeleteFile: a file or folder deleted through the shell's file operation.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "actions.h"
#include "folder_path.h"
#include "link_path.h"

namespace {
// FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI: no progress, confirmation or
// error box, and into the Recycle Bin where the shell can.
constexpr FILEOP_FLAGS kDeleteFlags = 0x0454;
}  // namespace

int32_t ShellDeleteFile(int32_t specialFolder, const char* target) {
  // Nothing to delete without a name (the settings let delfile with folder through without one).
  if (!target || !*target) return kStatusFailed;

  // The shell takes a list of names ended by an empty one: the last byte of the buffer stays
  // zero, so the path is always followed by two terminators.
  char path[kPathBufferSize];
  ZeroMemory(path, sizeof path);
  SHFILEOPSTRUCTA operation;
  ZeroMemory(&operation, sizeof operation);

  const HRESULT com = CoInitialize(nullptr);
  int32_t result = kStatusFailed;
  if (ItemPath(specialFolder, target, path, sizeof path - 1)) {
    operation.hwnd = nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = path;
    operation.pTo = nullptr;
    operation.fFlags = kDeleteFlags;
    operation.lpszProgressTitle = nullptr;
    // The shell may end with 0 after items were aborted without a word: the item may still be
    // there, so that is a failure too.
    result = SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted
                 ? 0
                 : kStatusFailed;
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}
