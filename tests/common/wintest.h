// A small test framework for the Windows programs of this project, in the manner of Wine's
// conformance tests: ok() checks that go on after a failure, a summary at the end, and helpers
// to start a program with a real command line and to watch the windows it shows from outside.
#ifndef WINTEST_H
#define WINTEST_H

#include <windows.h>

#include <string>
#include <vector>

#define ok(cond, ...) wintest::Check((cond), __FILE__, __LINE__, __VA_ARGS__)

namespace wintest {

// Records one check; prints the message when it failed. Returns cond.
bool Check(bool cond, const char* file, int line, const char* fmt, ...)
    __attribute__((format(printf, 4, 5)));
// Starts a named group of checks (printed, so a failure shows where it happened).
void Section(const char* name);
// Prints the totals; returns the process exit code of the test program (0 when nothing failed
// and at least one check ran).
int Summary();

// Folder of the running test program (with a trailing backslash): the programs under test are
// built into the same folder.
std::string ExeDir();
// A fresh, empty scratch folder below the build tree for one test (with a trailing backslash).
std::string ScratchDir(const char* name);

struct ProcessResult {
  bool started = false;
  bool timedOut = false;
  DWORD exitCode = 0;  // the full 32-bit exit code, as GetExitCodeProcess gives it
};

// Runs the command line as given (the program's own argument splitting applies to it) in cwd
// (or the current directory) and waits for the process to end.
ProcessResult Run(const std::string& commandLine, const char* cwd = nullptr,
                  DWORD timeoutMs = 60000);

// A top-level dialog window seen while watching.
struct Box {
  std::string caption;
  std::string text;  // text of the static control 0xFFFF (a message box's text), if any
};

// Watches for top-level dialog windows (class "#32770") with the given caption (any caption
// when null) shown by other processes, records each one's caption and text, and closes it
// by pressing OK. Runs on a thread of its own from construction until Stop().
class BoxWatcher {
 public:
  explicit BoxWatcher(const char* caption, UINT pressId = IDOK);
  ~BoxWatcher();
  BoxWatcher(const BoxWatcher&) = delete;
  BoxWatcher& operator=(const BoxWatcher&) = delete;
  // Ends the watch (after a last look) and returns the boxes seen, in order.
  std::vector<Box> Stop();

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Poll();
  std::string caption_;
  bool anyCaption_;
  UINT pressId_;
  HANDLE thread_ = nullptr;
  HANDLE stop_ = nullptr;
  CRITICAL_SECTION lock_;
  std::vector<HWND> seen_;
  std::vector<Box> boxes_;
};

// Small file helpers.
bool FileExists(const std::string& path);
bool ReadFileText(const std::string& path, std::string* out);
bool WriteFileText(const std::string& path, const std::string& text);
// Quotes an argument so that the platform's command-line splitting gives it back unchanged.
std::string Quote(const std::string& arg);

}  // namespace wintest

#endif
