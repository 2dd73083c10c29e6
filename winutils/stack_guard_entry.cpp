#include <windows.h>

#include "winutils.h"

// The runtime's entry point of a GUI program: static construction, then WinMain.
extern "C" int WinMainCRTStartup();

// The program's entry point (PROGRAM_LINK_FLAGS): nothing protected is on the stack yet.
extern "C" __attribute__((no_stack_protector)) int StackGuardedStartup() {
  SeedStackGuard();
  return WinMainCRTStartup();
}
