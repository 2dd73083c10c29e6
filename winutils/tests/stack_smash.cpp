// The stack guard test's program, built as the programs are: "smash TEXT" copies TEXT into an
// 8-byte buffer of a protected function; "cookie" ends with (the low half of) this run's cookie.
#include <windows.h>

#include <cstdint>
#include <cstring>

extern "C" uintptr_t __stack_chk_guard;

__attribute__((noinline)) static int Copy(const char* text) {
  char buffer[8];
  std::memcpy(buffer, text, std::strlen(text) + 1);
  return buffer[0] == '\0';
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  if (std::strncmp(arguments, "smash ", 6) == 0) return Copy(arguments + 6);
  return static_cast<int>(__stack_chk_guard);
}
