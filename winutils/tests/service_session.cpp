// Session 0 of Windows Vista and later counts as unseen, whatever its window station says. Wine
// puts every ordinary process into session 1 and can start none in session 0, so the platform's
// answers come from this program: it defines the two kernel32 functions the check asks, and the
// linker takes these in place of the system's for the library linked in.
#include <windows.h>

#include "winutils.h"
#include "wintest.h"

namespace {
DWORD g_version = MAKELONG(MAKEWORD(10, 0), 19045);
DWORD g_session = 1;  // of this process; any other is in session 1
BOOL g_sessionKnown = TRUE;
}  // namespace

extern "C" DWORD WINAPI GetVersion() {
  return g_version;
}

extern "C" BOOL WINAPI ProcessIdToSessionId(DWORD process, DWORD* session) {
  *session = process == GetCurrentProcessId() ? g_session : 1;
  return g_sessionKnown;
}

int main() {
  if (!IsWindowStationVisible()) {
    skip("this run's window station is not visible: the session cannot be told apart");
    return wintest::Summary();
  }
  const struct {
    const char* what;
    BYTE major, minor;
    DWORD session;
    BOOL known;
    bool visible;
  } cases[] = {
      {"Windows 10, session 0", 10, 0, 0, TRUE, false},
      {"Windows Vista, session 0", 6, 0, 0, TRUE, false},
      // Before Vista session 0 is the console's, where a user works.
      {"Windows XP, session 0", 5, 1, 0, TRUE, true},
      {"session unknown", 10, 0, 0, FALSE, true},
  };
  for (const auto& c : cases) {
    g_version = MAKELONG(MAKEWORD(c.major, c.minor), 0);
    g_session = c.session;
    g_sessionKnown = c.known;
    ok(IsWindowStationVisible() == c.visible, "%s: seen %d", c.what, IsWindowStationVisible());
  }
  return wintest::Summary();
}
