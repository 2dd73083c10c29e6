#include <windows.h>

#include "winutils.h"

bool IsInServiceSession() {
  // Before Windows Vista session 0 was the console's, where the first user to log on worked.
  const DWORD version = GetVersion();
  if (LOBYTE(LOWORD(version)) < 6) return false;
  DWORD session = 0;
  return ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == 0;
}
