#include <windows.h>

#include "winutils.h"

bool SetMitigationPolicy(int policy, DWORD flags) {
  // Looked up at run time: Windows 7 lacks the call, and the program must still start there.
  using SetPolicy = BOOL(WINAPI*)(PROCESS_MITIGATION_POLICY, PVOID, SIZE_T);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const FARPROC found = kernel ? GetProcAddress(kernel, "SetProcessMitigationPolicy") : nullptr;
  // Each policy this program sets is a DWORD of flags.
  return found && reinterpret_cast<SetPolicy>(reinterpret_cast<void (*)()>(found))(
                      static_cast<PROCESS_MITIGATION_POLICY>(policy), &flags, sizeof flags);
}
