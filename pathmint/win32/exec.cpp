// ExecuteOneTimeLink: the second half of a self-removing shortcut.
#include <windows.h>
#include <shellapi.h>

#include "actions.h"
#include "folder_path.h"
#include "link_path.h"

int32_t ExecuteOneTimeLink(const char* target, const char* arguments, const char* linkFile,
                           const char* currentDir) {
  // A name that does not fit is never deleted; the launch is still attempted, as for a
  // shortcut that is already gone.
  char path[kPathBufferSize];
  const bool nameFits = CopyPathText(path, sizeof path, linkFile);

  int32_t result = 0;
  if (target && *target) {
    // A target longer than any path is not handed to the shell (its launcher does not survive
    // one of a thousand characters): the launch counts as failed.
    if (lstrlenA(target) >= static_cast<int>(kPathBufferSize)) {
      result = kStatusFailed;
    } else {
      const HINSTANCE launched =
          ShellExecuteA(nullptr, nullptr, target, arguments, currentDir, SW_SHOW);
      if (reinterpret_cast<INT_PTR>(launched) <= 32) result = kStatusFailed;
    }
  }

  // An empty name is not extended, and nothing by that name can be deleted.
  if (!nameFits || path[0] == '\0') return kStatusFailed;
  if (!EnsureLinkExtension(path, sizeof path, IsAnsiLeadByte)) return kStatusFailed;
  if (!DeleteFileA(path)) return kStatusFailed;
  return result;
}
