#include "wintest.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

namespace wintest {
namespace {

int g_checks = 0, g_failures = 0, g_todos = 0, g_skipped = 0;
unsigned g_todoLevel = 0;  // one bit per todo block, innermost lowest
bool g_todoLoop = false;
std::string g_section;
std::vector<std::string> g_contexts;

const char* BaseName(const char* file) {
  const char* slash = strrchr(file, '/');
  const char* backslash = strrchr(file, '\\');
  const char* base = slash > backslash ? slash : backslash;
  return base ? base + 1 : file;
}

void Report(const char* file, int line, const char* verdict, const char* fmt, va_list ap) {
  printf("%s:%d: %s: ", BaseName(file), line, verdict);
  if (!g_section.empty()) printf("[%s] ", g_section.c_str());
  for (const std::string& c : g_contexts) printf("%s: ", c.c_str());
  vprintf(fmt, ap);
  printf("\n");
  fflush(stdout);
}

std::string Format(const char* fmt, va_list ap) {
  char buf[1024];
  vsnprintf(buf, sizeof buf, fmt, ap);
  return buf;
}

}  // namespace

bool Checker::operator()(bool cond, const char* fmt, ...) const {
  ++g_checks;
  va_list ap;
  va_start(ap, fmt);
  if (g_todoLevel & 1) {
    if (cond) {
      ++g_failures;
      Report(file, line, "Test succeeded inside todo block", fmt, ap);
    } else {
      ++g_todos;
      Report(file, line, "Test marked todo", fmt, ap);
    }
  } else if (!cond) {
    ++g_failures;
    Report(file, line, "Test failed", fmt, ap);
  }
  va_end(ap);
  return cond;
}

void Skip(const char* file, int line, const char* fmt, ...) {
  ++g_skipped;
  va_list ap;
  va_start(ap, fmt);
  Report(file, line, "Tests skipped", fmt, ap);
  va_end(ap);
}

void Trace(const char* file, int line, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  Report(file, line, "trace", fmt, ap);
  va_end(ap);
}

bool IsWine() {
  static const bool wine =
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

void StartTodo(bool isTodo) {
  g_todoLevel = (g_todoLevel << 1) | (isTodo ? 1u : 0u);
  g_todoLoop = true;
}

bool LoopTodo() {
  const bool again = g_todoLoop;
  g_todoLoop = false;
  return again;
}

void EndTodo() { g_todoLevel >>= 1; }

Context::Context(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  g_contexts.push_back(Format(fmt, ap));
  va_end(ap);
}

Context::~Context() { g_contexts.pop_back(); }

void Section(const char* name) {
  g_section = name;
  printf("-- %s\n", name);
  fflush(stdout);
}

int Summary() {
  printf("%d checks (%d marked todo, %d failed), %d skipped\n", g_checks, g_todos, g_failures,
         g_skipped);
  fflush(stdout);
  return (g_failures == 0 && g_checks > 0) ? 0 : 1;
}

// ---- files

std::string ExeDir() {
  char path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

std::wstring Wide(const std::string& ansi, UINT codePage) {
  if (ansi.empty()) return std::wstring();
  int n = MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()), &out[0], n);
  return out;
}

std::string Narrow(const std::wstring& wide, UINT codePage, DWORD flags) {
  if (wide.empty()) return std::string();
  int n = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr,
                              0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), &out[0], n,
                      nullptr, nullptr);
  return out;
}

// Through the wide API, so that names longer than MAX_PATH go too.
static void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(dir + name + L"\\");
      } else {
        SetFileAttributesW((dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW((dir + name).c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

std::string ScratchDir(const char* name) {
  std::string root = ExeDir() + "scratch\\";
  CreateDirectoryA(root.c_str(), nullptr);
  std::string dir = root + name + "\\";
  RemoveTree(Wide(dir));
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadFileText(const std::string& path, std::string* out) {
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  out->clear();
  char buf[65536];
  DWORD n = 0;
  while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) out->append(buf, n);
  CloseHandle(h);
  return true;
}

bool WriteFileText(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool good = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
  return CloseHandle(h) && good;
}

std::string RandomBytes(size_t size, unsigned seed) {
  std::string out(size, '\0');
  for (char& c : out) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  return out;
}

std::string Quote(const std::string& arg) {
  std::string out = "\"";
  size_t backslashes = 0;
  for (size_t i = 0; i < arg.size(); ++i) {
    if (arg[i] == '\\') {
      ++backslashes;
      continue;
    }
    out.append(arg[i] == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    // The second byte of a two-byte character (0x5C in 表) is no backslash to the splitting.
    if (IsDBCSLeadByte(static_cast<BYTE>(arg[i])) && i + 1 < arg.size()) out += arg[i++];
    out += arg[i];
  }
  out.append(backslashes * 2, '\\');
  return out + '"';
}

// ---- programs under test

namespace {

// The process call and start-up record of either width of text.
BOOL CreateProcessOf(char* line, const char* cwd, BOOL inherit, DWORD flags, STARTUPINFOA* si,
                     PROCESS_INFORMATION* pi) {
  return CreateProcessA(nullptr, line, nullptr, nullptr, inherit, flags, nullptr, cwd, si, pi);
}
BOOL CreateProcessOf(wchar_t* line, const wchar_t* cwd, BOOL inherit, DWORD flags,
                     STARTUPINFOW* si, PROCESS_INFORMATION* pi) {
  return CreateProcessW(nullptr, line, nullptr, nullptr, inherit, flags, nullptr, cwd, si, pi);
}
std::string Shown(const std::string& text) { return text; }
std::string Shown(const std::wstring& text) { return Narrow(text); }

template <typename Char, typename StartupInfo>
bool Start(const std::basic_string<Char>& commandLine, const Char* cwd, DWORD flags,
           PROCESS_INFORMATION* pi, LARGE_INTEGER* startedAt, const StartupInfo* startup) {
  const int kTries = 4;
  std::vector<Char> line(commandLine.begin(), commandLine.end());
  line.push_back(0);
  StartupInfo si;
  ZeroMemory(&si, sizeof si);
  if (startup) si = *startup;
  si.cb = sizeof si;
  const BOOL inherit = (si.dwFlags & STARTF_USESTDHANDLES) != 0;
  for (int attempt = 1;; ++attempt) {
    if (startedAt) QueryPerformanceCounter(startedAt);
    if (CreateProcessOf(line.data(), cwd, inherit, flags, &si, pi)) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_INTERNAL_ERROR || attempt == kTries) {
      SetLastError(error);
      return false;
    }
    printf(
        "note: Wine refused to start a process with its internal error (%lu), try %d of %d: "
        "%.200s\n",
        error, attempt, kTries, Shown(commandLine).c_str());
    fflush(stdout);
    Sleep(200);
  }
}

}  // namespace

bool StartProcess(const std::string& commandLine, const char* cwd, DWORD flags,
                  PROCESS_INFORMATION* pi, LARGE_INTEGER* startedAt, const STARTUPINFOA* startup) {
  return Start(commandLine, cwd, flags, pi, startedAt, startup);
}

namespace {

struct Found {
  DWORD pid;
  int id;
  HWND window;
};

BOOL CALLBACK FindProc(HWND window, LPARAM param) {
  Found* f = reinterpret_cast<Found*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char cls[16] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (pid != f->pid || strcmp(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  if (f->id && !GetDlgItem(window, f->id)) return TRUE;
  f->window = window;
  return FALSE;
}

// Which standard icon a message box shows: its icon control's pixels on screen compared with
// each standard icon drawn on the same background; the one that agrees in 95% of the pixels.
LPCSTR BoxIcon(HWND box) {
  HWND icon = GetDlgItem(box, 0x14);  // the icon control: 0x14 on Windows, 0x440 in Wine
  if (!icon) icon = GetDlgItem(box, 0x440);
  if (!icon || !IsWindowVisible(icon)) return nullptr;
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);
  RECT r;
  GetWindowRect(icon, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC shot = CreateCompatibleDC(screen);
  HBITMAP shotBits = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ oldShot = SelectObject(shot, shotBits);
  BitBlt(shot, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  const COLORREF background = GetPixel(shot, 0, 0);
  LPCSTR best = nullptr;
  long bestDiff = w * h / 20 + 1;
  for (LPCSTR id : {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION}) {
    HDC drawn = CreateCompatibleDC(screen);
    HBITMAP drawnBits = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ oldDrawn = SelectObject(drawn, drawnBits);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all = {0, 0, w, h};
    FillRect(drawn, &all, brush);
    DeleteObject(brush);
    DrawIconEx(drawn, 0, 0, LoadIconA(nullptr, id), w, h, 0, nullptr, DI_NORMAL);
    long diff = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) diff += GetPixel(drawn, x, y) != GetPixel(shot, x, y);
    }
    if (diff < bestDiff) {
      bestDiff = diff;
      best = id;
    }
    SelectObject(drawn, oldDrawn);
    DeleteObject(drawnBits);
    DeleteDC(drawn);
  }
  SelectObject(shot, oldShot);
  DeleteObject(shotBits);
  DeleteDC(shot);
  ReleaseDC(nullptr, screen);
  return best;
}

std::string NarrowWindowText(HWND window) {
  std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(window)) + 2, '\0');
  GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  return text.data();
}

// The file name of process pid's program, without its folder; "" when it cannot be read.
std::string ImageName(DWORD pid) {
  char path[MAX_PATH * 4] = "";
  DWORD size = sizeof path;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process) {
    if (!QueryFullProcessImageNameA(process, 0, path, &size)) path[0] = '\0';
    CloseHandle(process);
  }
  const char* name = strrchr(path, '\\');
  return name ? name + 1 : path;
}

// Waits up to 20 ms for a debug event of the debugged run and handles it; true at its end.
bool DebugStep(HANDLE process, Outcome* out) {
  DEBUG_EVENT event;
  if (!WaitForDebugEvent(&event, 20)) return false;
  DWORD status = DBG_CONTINUE;
  if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT && event.u.CreateProcessInfo.hFile) {
    CloseHandle(event.u.CreateProcessInfo.hFile);
  } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT && event.u.LoadDll.hFile) {
    CloseHandle(event.u.LoadDll.hFile);
  } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT) {
    const DWORD code = event.u.Exception.ExceptionRecord.ExceptionCode;
    if (code != EXCEPTION_BREAKPOINT) status = DBG_EXCEPTION_NOT_HANDLED;
    if (!event.u.Exception.dwFirstChance) {
      out->crashed = true;
      out->exception = code;
      TerminateProcess(process, code);
    }
  }
  ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
  return event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
}

// Makes, once, the desktop of a window station of this process's making, which is never shown
// (only the interactive station has WSF_VISIBLE); false when it cannot be made.
bool MakeHiddenDesktop() {
  static const bool made = [] {
    const HWINSTA own = GetProcessWindowStation();
    const HWINSTA station = CreateWindowStationA("wintest_hidden", 0, WINSTA_ALL_ACCESS, nullptr);
    // A desktop is made in the calling process's station.
    if (!station || !SetProcessWindowStation(station)) return false;
    const bool desktop = CreateDesktopA("Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    SetProcessWindowStation(own);
    return desktop;
  }();
  return made;
}

// That desktop's name, in a start-up record of either width.
char* HiddenDesktopName(const STARTUPINFOA&) {
  static char name[] = "wintest_hidden\\Default";
  return name;
}
wchar_t* HiddenDesktopName(const STARTUPINFOW&) {
  static wchar_t name[] = L"wintest_hidden\\Default";
  return name;
}

// Runs the command line (in cwd, this process's when null) as Run does.
template <typename Char, typename StartupInfo>
Outcome RunLine(const std::basic_string<Char>& commandLine, const Char* cwd,
                const RunOptions& options) {
  Outcome out;
  PROCESS_INFORMATION pi;
  StartupInfo si;
  ZeroMemory(&si, sizeof si);
  const std::string errorPath = ExeDir() + "stderr." + std::to_string(GetCurrentProcessId());
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  if (options.hiddenStation) {
    if (!MakeHiddenDesktop()) return out;
    si.lpDesktop = HiddenDesktopName(si);
    // Its standard error a file, or no standard handle at all (rather than this process's own).
    si.dwFlags = STARTF_USESTDHANDLES;
    if (options.captureStandardError) {
      si.hStdError = CreateFileA(errorPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
  }
  const DWORD flags = options.debug ? DEBUG_ONLY_THIS_PROCESS : 0;
  const bool started = Start(commandLine, cwd, flags, &pi, nullptr, &si);
  if (!started) out.startError = GetLastError();
  if (si.hStdError) CloseHandle(si.hStdError);
  if (!started) return out;
  out.started = true;
  std::vector<HWND> seen;
  const DWORD start = GetTickCount();
  bool timedOut = false;
  for (;;) {
    if (options.debug ? DebugStep(pi.hProcess, &out)
                      : WaitForSingleObject(pi.hProcess, 20) == WAIT_OBJECT_0) {
      break;
    }
    LookForWindows(pi.dwProcessId, options, &seen, &out);
    if (!timedOut && GetTickCount() - start > options.timeoutMs) {
      timedOut = true;
      TerminateProcess(pi.hProcess, 0xDEAD);
      if (!options.debug) break;  // a debugged run still reports its end
    }
  }
  WaitForSingleObject(pi.hProcess, 5000);
  out.ended = !timedOut;
  GetExitCodeProcess(pi.hProcess, &out.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  if (options.hiddenStation && options.captureStandardError) {
    ReadFileText(errorPath, &out.standardError);
    DeleteFileA(errorPath.c_str());
  }
  return out;
}

}  // namespace

HWND FindDialog(DWORD pid, int id) {
  Found f = {pid, id, nullptr};
  EnumWindows(FindProc, reinterpret_cast<LPARAM>(&f));
  return f.window;
}

std::string WindowText(HWND window, UINT codePage) {
  std::vector<WCHAR> text(static_cast<size_t>(GetWindowTextLengthW(window)) + 2, L'\0');
  GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  return Narrow(text.data(), codePage);
}

std::string ComboEntry(HWND combo, LRESULT index) {
  if (index < 0) return "<none>";
  LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return "<none>";
  std::vector<WCHAR> text(static_cast<size_t>(length) + 2, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  return Narrow(text.data());
}

std::vector<std::string> ComboEntries(HWND combo) {
  std::vector<std::string> out;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) out.push_back(ComboEntry(combo, i));
  return out;
}

void Click(HWND dialog, int id) {
  if (id == 0) {
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  }
}

void LookForWindows(DWORD pid, const RunOptions& options, std::vector<HWND>* seen, Outcome* out) {
  HWND h = nullptr;
  while ((h = FindWindowExA(nullptr, h, "#32770", nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if ((pid ? owner != pid : owner == GetCurrentProcessId()) || !IsWindowVisible(h)) continue;
    if (std::find(seen->begin(), seen->end(), h) != seen->end()) continue;
    if (options.program && lstrcmpiA(ImageName(owner).c_str(), options.program) != 0) continue;
    seen->push_back(h);
    HWND text = GetDlgItem(h, 0xFFFF);
    if (!text) {
      ++out->dialogs;
      if (options.onDialog) {
        options.onDialog(h);
      } else {
        Click(h, IDCANCEL);
      }
      continue;
    }
    Box box;
    box.caption = NarrowWindowText(h);
    box.text = NarrowWindowText(text);  // whole, however long
    if (options.boxIcons) box.icon = BoxIcon(h);
    out->boxes.push_back(box);
    Click(h, IDOK);
  }
}

Outcome Run(const std::string& commandLine, const RunOptions& options) {
  return RunLine<char, STARTUPINFOA>(commandLine, options.cwd, options);
}

Outcome Run(const std::wstring& commandLine, const RunOptions& options) {
  const std::wstring cwd = options.cwd ? Wide(options.cwd) : options.wideCwd;
  return RunLine<wchar_t, STARTUPINFOW>(commandLine, cwd.empty() ? nullptr : cwd.c_str(), options);
}

}  // namespace wintest
