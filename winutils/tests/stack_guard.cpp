// The stack guard of both programs, in a program built as they are (stack_smash.cpp): a cookie
// overwritten ends the process at once with STATUS_STACK_BUFFER_OVERRUN, as no crash; a copy that
// fits leaves it running; the cookie is seeded anew in each run.
#include <string>

#include "wintest.h"

namespace {

wintest::Outcome Smash(const char* arguments) {
  wintest::RunOptions options;
  options.debug = true;  // an exception would end the program as a crash
  return wintest::Run(wintest::Quote(wintest::ExeDir() + "winutils_tool_stack_smash.exe") + " " +
                          arguments, options);
}

}  // namespace

int main() {
  wintest::Outcome o = Smash("smash 1234567");
  ok(o.ended && !o.crashed && o.exitCode == 0, "a copy that fits: exit %#lx, crashed %d\n",
     o.exitCode, o.crashed);
  o = Smash("smash 12345678901234567890123456789012");
  ok(o.ended && !o.crashed && o.exitCode == STATUS_STACK_BUFFER_OVERRUN,
     "a copy over the cookie: exit %#lx, want %#lx; crashed %d (exception %#lx)\n", o.exitCode,
     static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN), o.crashed, o.exception);
  const DWORD first = Smash("cookie").exitCode, second = Smash("cookie").exitCode;
  ok(first != second, "the same cookie %#lx in two runs\n", first);
  return wintest::Summary();
}
