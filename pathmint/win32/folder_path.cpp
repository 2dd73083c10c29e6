#include "folder_path.h"

#include <windows.h>
#include <shlobj.h>

#include "actions.h"
#include "exact_path.h"
#include "link_path.h"

namespace {

// The file-system path of a special folder (CSIDL value) into folder (kPathBufferSize bytes): its
// narrow path when that is exactly the folder's, else its short name; never the folder that a
// look-alike of the code page names.
bool SpecialFolderPath(int32_t specialFolder, char* folder) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, specialFolder, &items)) || !items) return false;
  char narrow[kPathBufferSize] = "";
  WCHAR wide[kPathBufferSize] = L"";
  const bool found = SHGetPathFromIDListA(items, narrow) && narrow[0] != '\0' &&
                     SHGetPathFromIDListW(items, wide) &&
                     ExactAnsiPath(narrow, wide, folder, kPathBufferSize);
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
    allocator->Free(items);
    allocator->Release();
  }
  return found;
}

}  // namespace

bool IsAnsiLeadByte(unsigned char first) {
  return IsDBCSLeadByte(first) != FALSE;
}

bool ResolveFolderPath(int32_t specialFolder, const char* name, char* out, size_t capacity) {
  if (capacity > 0) out[0] = '\0';
  if (!name) return false;
  if (specialFolder == kNoSpecialFolder) return CopyPathText(out, capacity, name);
  char folder[kPathBufferSize];
  if (!SpecialFolderPath(specialFolder, folder)) return false;
  return JoinFolderPath(out, capacity, folder, name);
}

bool FullPathName(const char* name, char* out, size_t capacity) {
  if (capacity > 0) out[0] = '\0';
  if (!name || !*name || capacity == 0) return false;
  // The length without the terminator when it fitted, else the size it would need.
  char narrow[kPathBufferSize];
  const DWORD length = GetFullPathNameA(name, sizeof narrow, narrow, nullptr);
  if (length == 0 || length >= capacity || length >= sizeof narrow) return false;
  // A drive-relative name (D:App) is resolved against that drive's own current directory, which
  // the code page may not hold: the full name is the Unicode one's, exactly or by short names.
  WCHAR wideName[kPathBufferSize];
  WCHAR wide[kPathBufferSize];
  const DWORD wideLength =
      MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, kPathBufferSize) > 0
          ? GetFullPathNameW(wideName, kPathBufferSize, wide, nullptr)
          : 0;
  return wideLength > 0 && wideLength < kPathBufferSize &&
         ExactAnsiPath(narrow, wide, out, capacity);
}

bool LinkFilePath(int32_t specialFolder, const char* linkFile, char* out, size_t capacity) {
  char composed[kPathBufferSize];
  if (EndsInSeparator(linkFile, IsAnsiLeadByte) ||
      !ResolveFolderPath(specialFolder, linkFile, composed, sizeof composed) ||
      !EnsureLinkExtension(composed, sizeof composed, IsAnsiLeadByte)) {
    if (capacity > 0) out[0] = '\0';
    return false;
  }
  if (specialFolder != kNoSpecialFolder) return CopyPathText(out, capacity, composed);
  return FullPathName(composed, out, capacity);
}

bool ItemPath(int32_t specialFolder, const char* name, char* out, size_t capacity) {
  if (specialFolder != kNoSpecialFolder) return ResolveFolderPath(specialFolder, name, out, capacity);
  return FullPathName(name, out, capacity);
}
