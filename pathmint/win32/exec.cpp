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

}  // namespace

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
    if (lstrlenA(target) >= static_cast<int>(kPathBufferSize) ||
        !Launch(target, arguments, currentDir)) {
      result = kStatusFailed;
    }
  }

  TurnOnRedirectionGuard();
  // An empty name is not extended, and nothing by that name can be deleted.
  if (!nameFits || path[0] == '\0') return kStatusFailed;
  if (!EnsureLinkExtension(path, sizeof path, IsAnsiLeadByte)) return kStatusFailed;
  if (!DeleteFileA(path)) return kStatusFailed;
  return result;
}
