#include "wintest.h"

#include <stdarg.h>
#include <stdio.h>

namespace wintest {
namespace {
int g_passed = 0;
int g_failed = 0;
const char* g_section = "";
}  // namespace

bool Check(bool cond, const char* file, int line, const char* fmt, ...) {
  if (cond) {
    ++g_passed;
    return true;
  }
  ++g_failed;
  const char* base = strrchr(file, '/');
  if (!base) base = strrchr(file, '\\');
  printf("%s:%d: [%s] check failed: ", base ? base + 1 : file, line, g_section);
  va_list ap;
  va_start(ap, fmt);
  vprintf(fmt, ap);
  va_end(ap);
  printf("\n");
  fflush(stdout);
  return false;
}

void Section(const char* name) {
  g_section = name;
  printf("-- %s\n", name);
  fflush(stdout);
}

int Summary() {
  printf("%d passed, %d failed\n", g_passed, g_failed);
  fflush(stdout);
  return (g_failed == 0 && g_passed > 0) ? 0 : 1;
}

std::string ExeDir() {
  char path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

static void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = dir + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full + "\\");
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

std::string ScratchDir(const char* name) {
  std::string root = ExeDir() + "scratch\\";
  CreateDirectoryA(root.c_str(), nullptr);
  std::string dir = root + name + "\\";
  RemoveTree(dir);
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

ProcessResult Run(const std::string& commandLine, const char* cwd, DWORD timeoutMs) {
  ProcessResult r;
  STARTUPINFOA si;
  ZeroMemory(&si, sizeof si);
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd, &si, &pi)) {
    printf("CreateProcess failed (%lu): %s\n", GetLastError(), commandLine.c_str());
    return r;
  }
  r.started = true;
  if (WaitForSingleObject(pi.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    r.timedOut = true;
    TerminateProcess(pi.hProcess, 0xDEAD);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  GetExitCodeProcess(pi.hProcess, &r.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return r;
}

BoxWatcher::BoxWatcher(const char* caption, UINT pressId)
    : caption_(caption ? caption : ""), anyCaption_(caption == nullptr), pressId_(pressId) {
  InitializeCriticalSection(&lock_);
  stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

BoxWatcher::~BoxWatcher() {
  Stop();
  CloseHandle(stop_);
  DeleteCriticalSection(&lock_);
}

DWORD WINAPI BoxWatcher::ThreadMain(void* self) {
  BoxWatcher* w = static_cast<BoxWatcher*>(self);
  while (WaitForSingleObject(w->stop_, 20) == WAIT_TIMEOUT) w->Poll();
  return 0;
}

void BoxWatcher::Poll() {
  HWND h = nullptr;
  while ((h = FindWindowExA(nullptr, h, "#32770", nullptr)) != nullptr) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == GetCurrentProcessId() || !IsWindowVisible(h)) continue;
    char buf[8192];
    buf[0] = '\0';
    GetWindowTextA(h, buf, sizeof buf);
    if (!anyCaption_ && caption_ != buf) continue;
    EnterCriticalSection(&lock_);
    bool known = false;
    for (HWND s : seen_) known = known || s == h;
    if (!known) {
      Box box;
      box.caption = buf;
      // The whole text, however long (a usage text can carry a token of 32,000 characters).
      HWND textControl = GetDlgItem(h, 0xFFFF);
      if (textControl) {
        std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(textControl)) + 2, '\0');
        GetWindowTextA(textControl, text.data(), static_cast<int>(text.size()));
        box.text = text.data();
      }
      seen_.push_back(h);
      boxes_.push_back(box);
    }
    LeaveCriticalSection(&lock_);
    HWND button = GetDlgItem(h, pressId_);
    PostMessageA(h, WM_COMMAND, MAKEWPARAM(pressId_, BN_CLICKED), (LPARAM)button);
  }
}

std::vector<Box> BoxWatcher::Stop() {
  if (thread_) {
    Poll();
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  EnterCriticalSection(&lock_);
  std::vector<Box> out = boxes_;
  LeaveCriticalSection(&lock_);
  return out;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadFileText(const std::string& path, std::string* out) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  out->clear();
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out->append(buf, n);
  fclose(f);
  return true;
}

bool WriteFileText(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool good = fwrite(text.data(), 1, text.size(), f) == text.size();
  return fclose(f) == 0 && good;
}

std::string Quote(const std::string& arg) {
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(backslashes * 2 + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  out += '"';
  return out;
}

}  // namespace wintest
