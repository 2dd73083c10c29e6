// Helpers shared by the Wine tests of pathmint's shell actions: starting pathmint, reading a
// shortcut back through the shell's own ShellLink object, special folders, the marker target.
#ifndef PATHMINT_SHELL_CHECKS_H
#define PATHMINT_SHELL_CHECKS_H

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "wintest.h"

namespace shellcheck {

// The program under test, quoted for a command line.
inline std::string Pathmint() {
  return wintest::Quote(wintest::ExeDir() + "pathmint.exe");
}

// Runs pathmint with the given arguments (already quoted as needed) and returns its exit code,
// or 0xDEADBEEF when it did not start or did not end.
inline DWORD RunPathmint(const std::string& arguments, const char* cwd = nullptr) {
  wintest::ProcessResult r = wintest::Run(Pathmint() + " " + arguments, cwd, 30000);
  if (!r.started || r.timedOut) return 0xDEADBEEF;
  return r.exitCode;
}

// What a shortcut file holds, read back with IShellLinkA and IPersistFile::Load.
struct LinkContents {
  bool loaded = false;
  std::string path;
  std::string arguments;
  std::string iconPath;
  int iconIndex = -12345;
};

inline LinkContents ReadLink(const std::string& file) {
  LinkContents out;
  HRESULT com = CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
      WCHAR wide[MAX_PATH * 2];
      if (MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH * 2) &&
          SUCCEEDED(persist->Load(wide, STGM_READ))) {
        char buf[1024];
        buf[0] = '\0';
        link->GetPath(buf, sizeof buf, nullptr, SLGP_RAWPATH);
        out.path = buf;
        buf[0] = '\0';
        link->GetArguments(buf, sizeof buf);
        out.arguments = buf;
        buf[0] = '\0';
        int index = -12345;
        link->GetIconLocation(buf, sizeof buf, &index);
        out.iconPath = buf;
        out.iconIndex = index;
        out.loaded = true;
      }
      persist->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return out;
}

// The file-system path of a special folder (CSIDL value), without a trailing backslash.
inline std::string SpecialFolder(int csidl) {
  char buf[MAX_PATH];
  buf[0] = '\0';
  if (!SHGetSpecialFolderPathA(nullptr, buf, csidl, TRUE)) return std::string();
  return buf;
}

// The marker target: a copy of the tool under the given name, and where it records its run.
inline bool PlaceMarker(const std::string& exePath) {
  return CopyFileA((wintest::ExeDir() + "pathmint_tool_marker.exe").c_str(), exePath.c_str(),
                   FALSE) != 0;
}

// Points every marker started from now on (they inherit this environment) at recordPath.
inline void DirectMarkerTo(const std::string& recordPath) {
  DeleteFileA(recordPath.c_str());
  SetEnvironmentVariableA("PATHMINT_MARKER", recordPath.c_str());
}

// Waits up to timeoutMs for the marker's record; gives its fields (current directory first,
// then the arguments) or false when none appeared.
inline bool WaitForMarker(const std::string& recordPath, std::vector<std::string>* fields,
                          DWORD timeoutMs = 15000) {
  const DWORD start = GetTickCount();
  std::string text;
  while (!wintest::ReadFileText(recordPath, &text)) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  fields->clear();
  size_t begin = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\0') {
      fields->push_back(text.substr(begin, i - begin));
      begin = i + 1;
    }
  }
  return true;
}

inline std::string Join(const std::vector<std::string>& fields) {
  std::string out;
  for (const std::string& f : fields) out += "[" + f + "]";
  return out;
}

}  // namespace shellcheck

#endif
