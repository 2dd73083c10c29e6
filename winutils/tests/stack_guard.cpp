// The stack guard, in a program built as both programs are (stack_smash.cpp): an overrun cookie
// ends the process at once with STATUS_STACK_BUFFER_OVERRUN, not as a crash; a copy that fits
// does not; each run has a cookie of its own.
#include <cstring>

#include "wintest.h"

static wintest::Outcome Smash(const char* arguments) {
  wintest::RunOptions options;
  options.debug = true;  // an exception ends the program as a crash
  return wintest::Run(
      wintest::Quote(wintest::ExeDir() + "winutils_tool_stack_smash.exe") + " " + arguments,
      options);
}

int main() {
  const DWORD overrun = STATUS_STACK_BUFFER_OVERRUN;
  for (const char* text : {"1234567", "12345678901234567890123456789012"}) {
    const wintest::Outcome o = Smash((std::string("smash ") + text).c_str());
    const DWORD want = std::strlen(text) < 8 ? 0 : overrun;
    ok(o.ended && !o.crashed && o.exitCode == want, "%s: exit %#lx, want %#lx; exception %#lx\n",
       text, o.exitCode, want, o.exception);
  }
  const DWORD cookie = Smash("cookie").exitCode;
  ok(cookie != Smash("cookie").exitCode, "the same cookie %#lx in two runs\n", cookie);
  return wintest::Summary();
}
