// The stack guard test's program, built as the programs are (their flags, their entry point, the
// guard of winutils). "smash TEXT" copies TEXT over an 8-byte buffer of a protected function;
// "cookie" ends with the low 32 bits of this run's stack cookie; anything else ends with 0.
#include <windows.h>

#include <cstdint>
#include <cstring>

extern "C" uintptr_t __stack_chk_guard;

namespace {

__attribute__((noinline)) int Copy(const char* text) {
  char buffer[8];
  std::memcpy(buffer, text, std::strlen(text) + 1);
  return buffer[0];
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  if (std::strncmp(arguments, "smash ", 6) == 0) return Copy(arguments + 6) == 0;
  if (std::strcmp(arguments, "cookie") == 0) return static_cast<int>(__stack_chk_guard);
  return 0;
}
