#include <windows.h>

#include <cstdint>

#include "winutils.h"

// The cookie every protected function saves on entry and compares on return. This value holds
// only until StackGuardedStartup seeds it; it must not be const, so that it lives in written data.
extern "C" {
uintptr_t __stack_chk_guard = static_cast<uintptr_t>(0x5A17C3D92DDFA232ull);
}

// Called by a protected function whose cookie was overwritten: its frame, and its return address,
// can no longer be trusted, so nothing more of the process runs, not even its exit handlers.
extern "C" void __stack_chk_fail() {
  using Terminate = BOOL(WINAPI*)(HANDLE, UINT);
  const auto terminate = Kernel32Call<Terminate>("TerminateProcess");
  for (;;) {
    if (terminate) terminate(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_trap();
  }
}
