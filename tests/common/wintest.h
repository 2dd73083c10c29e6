// wintest: the Windows test programs' framework, after the manner of Wine's conformance tests,
// and the one place that starts a program under test and reads what it shows.
//
//   ok(cond, fmt, ...)      a check; a failure is reported with the file and line of the call
//   ok_(file, line)(...)    the same on behalf of a caller: a helper takes its caller's location,
//                           #define check_x(...) check_x_(__FILE__, __LINE__, __VA_ARGS__)
//   todo_wine ok(...)       a result that is Wine's and not the program's: under Wine a failing
//                           check counts as todo and a passing one as a failure ("succeeded
//                           inside todo block"); elsewhere it is an ordinary check
//   skip(fmt, ...)          a case the platform cannot run here, with the reason
//   trace(fmt, ...)         a note in the log
//   Context                 names the case in the messages of every check made in its scope
#ifndef WINTEST_H
#define WINTEST_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wintest {

struct Checker {
  const char* file;
  int line;
  // Records one check; prints the message unless it went as expected. Returns cond.
  bool operator()(bool cond, const char* fmt, ...) const __attribute__((format(printf, 3, 4)));
};
void Skip(const char* file, int line, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
void Trace(const char* file, int line, const char* fmt, ...) __attribute__((format(printf, 3, 4)));

// True when running under Wine (its ntdll exports wine_get_version).
bool IsWine();
void StartTodo(bool isTodo);
bool LoopTodo();
void EndTodo();

// While it lives, every check's message starts with this text (nested ones in order).
class Context {
 public:
  explicit Context(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  ~Context();
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;
};

// Starts a named group of checks (printed, and named in each failure).
void Section(const char* name);
// Prints the totals; returns the test program's exit code (0 when nothing failed and at least
// one check ran).
int Summary();

// ---- files

// Folder of the running test program, with a trailing backslash: the programs under test and
// the tools are built into the same folder.
std::string ExeDir();
// A fresh, empty scratch folder below the build tree (with a trailing backslash).
std::string ScratchDir(const char* name);
// Files at any length of name (through the wide API).
bool FileExists(const std::string& path);
bool ReadFileText(const std::string& path, std::string* out);
bool WriteFileText(const std::string& path, const std::string& text);
// A fixed pseudo-random sequence of size bytes, of every byte value, the same for the same seed.
std::string RandomBytes(size_t size, unsigned seed);
// Quotes an argument so that the platform's command-line splitting gives it back unchanged
// (walked by characters of the ANSI code page, as the splitting walks it).
std::string Quote(const std::string& arg);
// Text in the ANSI code page and in UTF-16 (any length).
std::wstring Wide(const std::string& ansi, UINT codePage = CP_ACP);
std::string Narrow(const std::wstring& wide, UINT codePage = CP_ACP, DWORD flags = 0);

// ---- programs under test

// CreateProcessA with the command line as given (Run takes a Unicode line to CreateProcessW, as
// Unicode callers start programs). Wine now and then refuses a start with ERROR_INTERNAL_ERROR
// (1359) before the program runs: that refusal alone is tried again, a few times, and said in the
// log. startedAt gets the performance counter just before the attempt that started the process.
// On failure GetLastError() tells why. startup, when given, is the start-up record (its size is
// set here); handles are inherited when it names standard handles.
bool StartProcess(const std::string& commandLine, const char* cwd, DWORD flags,
                  PROCESS_INFORMATION* pi, LARGE_INTEGER* startedAt = nullptr,
                  const STARTUPINFOA* startup = nullptr);

// A dialog window of another process: a message box (it has the text control 0xFFFF) or a dialog.
struct Box {
  std::string caption;
  std::string text;       // a message box's text, whole
  LPCSTR icon = nullptr;  // which standard icon it shows (read when asked for)
};

// The first visible dialog window of process pid that holds the control id (any when 0).
HWND FindDialog(DWORD pid, int id = 0);
// The text of a window, read through the wide API and given in codePage.
std::string WindowText(HWND window, UINT codePage = CP_ACP);
// The entries of another process's combo box, read through the wide messages (Wine hands a
// narrow entry of another process back wrongly), in the ANSI code page.
std::vector<std::string> ComboEntries(HWND combo);
std::string ComboEntry(HWND combo, LRESULT index);  // "<none>" for no entry
// Presses a button of a dialog (BN_CLICKED), or closes it through its caption's close box when
// id is 0.
void Click(HWND dialog, int id);

struct RunOptions {
  const char* cwd = nullptr;  // the program's current directory (this one's when null)
  std::wstring wideCwd;       // the same by its Unicode name, where cwd is null
  DWORD timeoutMs = 30000;
  // Runs the program as its debugger, so that a crash is seen as one and ends it, instead of
  // waiting for a user in the platform's crash handler.
  bool debug = false;
  bool boxIcons = false;  // read each message box's icon
  // What to do with a dialog that is not a message box, when it first shows (Cancel if unset).
  std::function<void(HWND dialog)> onDialog;
  // (LookForWindows of every process) only the windows of processes of this program file name.
  const char* program = nullptr;
  // Runs the program as a service or a deployment agent does: in a window station of its own that
  // nobody can see (whatever it shows there is never answered, nor seen here), with its standard
  // error written to a file and kept in Outcome::standardError; without any standard handle when
  // captureStandardError is cleared.
  bool hiddenStation = false;
  bool captureStandardError = true;
};

struct Outcome {
  bool started = false;
  DWORD startError = 0;  // GetLastError() of a start that failed
  bool ended = false;    // ended by itself within the time limit
  bool crashed = false;  // (debug) ended by an unhandled exception
  DWORD exception = 0;
  DWORD exitCode = 0;      // the full 32-bit exit code, as GetExitCodeProcess gives it
  std::vector<Box> boxes;  // message boxes in order, each answered with OK
  int dialogs = 0;         // other dialogs, answered by onDialog
  std::string standardError;  // (hiddenStation) what the program wrote there
};

// Runs the command line (the program's own argument splitting applies), answers every window it
// shows, and waits for its end. A Unicode line is started as Unicode callers start programs.
Outcome Run(const std::string& commandLine, const RunOptions& options = RunOptions());
Outcome Run(const std::wstring& commandLine, const RunOptions& options = RunOptions());

// Looks once for dialog windows not seen before, of process pid (of every other process when
// pid is 0), and records and answers them as Run does.
void LookForWindows(DWORD pid, const RunOptions& options, std::vector<HWND>* seen, Outcome* out);

}  // namespace wintest

#define ok_(file, line) \
  wintest::Checker { file, line }
#define ok(...) ok_(__FILE__, __LINE__)(__VA_ARGS__)
#define skip(...) wintest::Skip(__FILE__, __LINE__, __VA_ARGS__)
#define trace(...) wintest::Trace(__FILE__, __LINE__, __VA_ARGS__)
#define todo_if(is_todo) for (wintest::StartTodo(is_todo); wintest::LoopTodo(); wintest::EndTodo())
#define todo_wine todo_if(wintest::IsWine())

#endif
