// Helpers of the bad-input campaign's Wine tests: what a folder tree holds before and after a
// run (through the wide API, so that names longer than MAX_PATH are seen too), files made at any
// length, and the checks that a run wrote exactly what it should.
#ifndef PATHMINT_CAMPAIGN_COMMON_H
#define PATHMINT_CAMPAIGN_COMMON_H

#include <windows.h>

#include <map>
#include <string>

#include "wintest.h"

namespace campaign {

inline std::wstring Wide(const std::string& ansi) {
  if (ansi.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &out[0], n);
  return out;
}

inline std::string Ansi(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr,
                      nullptr);
  return out;
}

// Every file and folder below dir (which ends in a backslash), by its path relative to dir in the
// ANSI code page: the size of a file, -1 for a folder.
using Tree = std::map<std::string, long long>;

inline void Walk(const std::wstring& dir, const std::string& relative, Tree* tree) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    std::string path = relative + Ansi(name);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      (*tree)[path] = -1;
      Walk(dir + name + L"\\", path + "\\", tree);
    } else {
      (*tree)[path] = (static_cast<long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

inline Tree Snapshot(const std::string& dir) {
  Tree tree;
  Walk(Wide(dir), "", &tree);
  return tree;
}

// What changed from before to after: "+name" for what appeared, "-name" for what went, "~name"
// for a file whose size changed; names in order, separated by blanks.
inline std::string Changes(const Tree& before, const Tree& after) {
  std::string out;
  for (const auto& entry : after) {
    auto old = before.find(entry.first);
    if (old == before.end()) {
      out += " +" + entry.first;
    } else if (old->second != entry.second) {
      out += " ~" + entry.first;
    }
  }
  for (const auto& entry : before) {
    if (!after.count(entry.first)) out += " -" + entry.first;
  }
  return out.empty() ? out : out.substr(1);
}

// Makes a file at any length of path (the narrow API is not asked to handle long names here).
inline bool MakeFile(const std::string& path, const std::string& content = "x") {
  HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool good = WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
              written == content.size();
  return CloseHandle(h) && good;
}

inline bool Exists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void Remove(const std::string& path) {
  std::wstring wide = Wide(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    RemoveDirectoryW(wide.c_str());
  } else {
    DeleteFileW(wide.c_str());
  }
}

// A name of exactly `length` characters in total when put after dir: dir, then `fill`, then the
// ending. Empty when dir and ending alone are longer.
inline std::string PathOfLength(const std::string& dir, size_t length, const std::string& ending,
                                char fill = 'p') {
  if (dir.size() + ending.size() > length) return std::string();
  return dir + std::string(length - dir.size() - ending.size(), fill) + ending;
}

// Runs a command line as its debugger, so that a crash is seen as such (and ends the process)
// instead of starting the platform's crash handler, which waits for a user.
struct DebuggedRun {
  bool started = false;
  bool crashed = false;
  DWORD exceptionCode = 0;
  bool timedOut = false;
  DWORD exitCode = 0;
};

inline DebuggedRun RunDebugged(const std::string& commandLine, const char* cwd, DWORD timeoutMs) {
  DebuggedRun r;
  STARTUPINFOA si;
  ZeroMemory(&si, sizeof si);
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                      cwd, &si, &pi)) {
    return r;
  }
  r.started = true;
  const DWORD start = GetTickCount();
  for (;;) {
    DEBUG_EVENT event;
    if (!WaitForDebugEvent(&event, 100)) {
      if (GetTickCount() - start > timeoutMs && !r.timedOut) {
        r.timedOut = true;
        TerminateProcess(pi.hProcess, 0xDEAD);
      }
      continue;
    }
    DWORD status = DBG_CONTINUE;
    if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT && event.u.CreateProcessInfo.hFile) {
      CloseHandle(event.u.CreateProcessInfo.hFile);
    } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT && event.u.LoadDll.hFile) {
      CloseHandle(event.u.LoadDll.hFile);
    } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT) {
      const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
      if (record.ExceptionCode != EXCEPTION_BREAKPOINT) status = DBG_EXCEPTION_NOT_HANDLED;
      if (!event.u.Exception.dwFirstChance) {
        r.crashed = true;
        r.exceptionCode = record.ExceptionCode;
        TerminateProcess(pi.hProcess, record.ExceptionCode);
      }
    }
    const bool done = event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    if (done) break;
  }
  WaitForSingleObject(pi.hProcess, 5000);
  GetExitCodeProcess(pi.hProcess, &r.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return r;
}

}  // namespace campaign

#endif
