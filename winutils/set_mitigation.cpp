#include <windows.h>

#include "winutils.h"

bool SetMitigationPolicy(int policy, DWORD flags) {
  // Looked up at run time: Windows 7 lacks the call, and the program must still start there.
  using SetPolicy = BOOL(WINAPI*)(PROCESS_MITIGATION_POLICY, PVOID, SIZE_T);
  const auto set = Kernel32Call<SetPolicy>("SetProcessMitigationPolicy");
  // Each policy this program sets is a DWORD of flags.
  return set && set(static_cast<PROCESS_MITIGATION_POLICY>(policy), &flags, sizeof flags);
}
