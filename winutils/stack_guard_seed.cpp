#include <windows.h>

#include <cstdint>

#include "winutils.h"

extern "C" uintptr_t __stack_chk_guard;

// Not protected itself: the cookie changes while it runs.
__attribute__((no_stack_protector)) void SeedStackGuard() {
  // What differs from run to run and from process to process, as the platform's own compilers
  // seed their cookie: the time, the ids, two counters, and where the stack and the image lie.
  // Found by name, so that the guard adds nothing to what the programs import; each is in every
  // Windows, and one that is not found only takes its part out of the mix.
  FILETIME time = {};
  LARGE_INTEGER counter = {};
  if (const auto now = Kernel32Call<void(WINAPI*)(FILETIME*)>("GetSystemTimeAsFileTime")) {
    now(&time);
  }
  if (const auto count = Kernel32Call<BOOL(WINAPI*)(LARGE_INTEGER*)>("QueryPerformanceCounter")) {
    count(&counter);
  }
  const auto thread = Kernel32Call<DWORD(WINAPI*)()>("GetCurrentThreadId");
  const auto tick = Kernel32Call<DWORD(WINAPI*)()>("GetTickCount");
  uint64_t mix = (static_cast<uint64_t>(time.dwHighDateTime) << 32) ^ time.dwLowDateTime;
  mix ^= static_cast<uint64_t>(thread ? thread() : 0) << 16;
  mix ^= GetCurrentProcessId();
  mix ^= static_cast<uint64_t>(tick ? tick() : 0) << 24;
  mix ^= static_cast<uint64_t>(counter.QuadPart);
  mix ^= reinterpret_cast<uintptr_t>(&counter) ^ reinterpret_cast<uintptr_t>(&__stack_chk_guard);
  uintptr_t cookie = static_cast<uintptr_t>(mix ^ (mix >> 32)) ^ __stack_chk_guard;
  // Never the built-in value, which anyone can read in the file.
  if (cookie == __stack_chk_guard) cookie = ~cookie;
  __stack_chk_guard = cookie;
}
