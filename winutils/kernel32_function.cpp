#include <windows.h>

#include "winutils.h"

// Not protected: the stack cookie's seeding calls it while the cookie changes.
__attribute__((no_stack_protector)) FARPROC Kernel32Function(const char* name) {
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel ? GetProcAddress(kernel, name) : nullptr;
}
