// What pathmint's Wine tests share: running pathmint and checking its exit code, boxes and what
// it changed in a folder; shortcuts read back through the shell's ShellLink object; special
// folders, the Recycle Bin, and the marker target that records how it was started.
#ifndef PATHMINT_TEST_H
#define PATHMINT_TEST_H

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "../expected_texts.h"
#include "wintest.h"

namespace pathmint {

using texts::Defaults;
using texts::Dump;
using texts::Usage;

using wintest::Quote;

const DWORD kUsageExit = 0xFFFFFFFF;  // exit code -1, as the full 32-bit status
const char kTarget[] = "C:\\Tools\\app.exe";
// A link path below a file (made by the tests that use it): every action on it fails.
const char kBlocked[] = "blocker.txt\\App";

// Runs pathmint with arguments (a command-line tail, quoted as needed) in cwd.
inline wintest::Outcome RunPathmint(const std::string& arguments, const char* cwd = nullptr,
                                    wintest::RunOptions options = {}) {
  options.cwd = cwd;
  return wintest::Run(Quote(wintest::ExeDir() + "pathmint.exe") + " " + arguments, options);
}

// A box text with its control characters visible, for failure messages.
inline std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c == '\n' ? "\\n" : c == '\t' ? "\\t" : c == '\r' ? "\\r" : std::string(1, c);
  }
  return out;
}

// The run ended by itself with code, after showing exactly these box texts under pathmint's
// caption, in order, and no other window.
inline void check_boxes_(const char* file, int line, const wintest::Outcome& o, DWORD code,
                         const std::vector<std::string>& want) {
  ok_(file, line)(o.ended && !o.crashed,
                  "did not run to its end (start error %lu, exception 0x%08lX)", o.startError,
                  o.exception);
  ok_(file, line)(o.exitCode == code, "exit code 0x%08lX, expected 0x%08lX", o.exitCode, code);
  ok_(file, line)(o.boxes.size() == want.size() && o.dialogs == 0,
                  "%u boxes and %d dialogs, expected %u boxes", unsigned(o.boxes.size()), o.dialogs,
                  unsigned(want.size()));
  for (size_t i = 0; i < o.boxes.size() && i < want.size(); ++i) {
    ok_(file, line)(o.boxes[i].caption == texts::kCaption, "box %u captioned [%s]", unsigned(i),
                    o.boxes[i].caption.c_str());
    ok_(file, line)(o.boxes[i].text == want[i], "box %u:\n  got  [%s]\n  want [%s]", unsigned(i),
                    Visible(o.boxes[i].text).c_str(), Visible(want[i]).c_str());
  }
}
template <typename... Texts>
void check_run_(const char* file, int line, const wintest::Outcome& o, DWORD code,
                const Texts&... texts) {
  check_boxes_(file, line, o, code, {std::string(texts)...});
}
#define check_run(...) pathmint::check_run_(__FILE__, __LINE__, __VA_ARGS__)

// ---- shortcuts

// What a shortcut file holds, read back with IShellLinkA and IPersistFile::Load.
struct LinkContents {
  bool loaded = false;
  std::string path, arguments, iconPath;
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
      if (SUCCEEDED(persist->Load(wintest::Wide(file).c_str(), STGM_READ))) {
        std::vector<char> buf(70000, '\0');  // arguments can be long
        const int size = static_cast<int>(buf.size());
        link->GetPath(buf.data(), MAX_PATH * 4, nullptr, SLGP_RAWPATH);
        out.path = buf.data();
        buf[0] = '\0';
        link->GetArguments(buf.data(), size);
        out.arguments = buf.data();
        buf[0] = '\0';
        link->GetIconLocation(buf.data(), MAX_PATH * 4, &out.iconIndex);
        out.iconPath = buf.data();
        out.loaded = true;
      }
      persist->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return out;
}

// The shortcut holds exactly this target, arguments and icon.
inline void check_link_(const char* file, int line, const LinkContents& c,
                        const std::string& target, const std::string& arguments = "",
                        const std::string& iconPath = "", int iconIndex = 0) {
  ok_(file, line)(c.loaded, "the shortcut does not load");
  ok_(file, line)(c.path == target, "path [%.300s] of %u characters", c.path.c_str(),
                  unsigned(c.path.size()));
  ok_(file, line)(c.arguments == arguments, "arguments [%.300s] of %u characters",
                  c.arguments.c_str(), unsigned(c.arguments.size()));
  ok_(file, line)(c.iconPath == iconPath && c.iconIndex == iconIndex, "icon [%.300s],%d",
                  c.iconPath.c_str(), c.iconIndex);
}
#define check_link(...) pathmint::check_link_(__FILE__, __LINE__, __VA_ARGS__)

// Starts what the shortcut holds, as the shell does (its path, quoted, then its arguments), in
// runDir.
inline wintest::Outcome ActivateResolved(const std::string& link, const std::string& runDir) {
  LinkContents contents = ReadLink(link);
  wintest::RunOptions options;
  options.cwd = runDir.c_str();
  return wintest::Run(Quote(contents.path) + " " + contents.arguments, options);
}

// ---- what a folder holds

// Every file and folder below a folder, by its path relative to it: a file's size, -1 for a folder.
using Tree = std::map<std::string, long long>;

inline void Walk(const std::wstring& dir, const std::string& relative, Tree* tree) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    // A character the code page lacks shows as '?', never as the look-alike of another name.
    std::string path = relative + wintest::Narrow(name, CP_ACP, WC_NO_BEST_FIT_CHARS);
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
  Walk(wintest::Wide(dir), "", &tree);
  return tree;
}

// "+name" for what appeared, "-name" for what went, "~name" for a file whose size changed.
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

// Removes a file or an empty folder (at any length of name).
inline void Remove(const std::string& path) {
  std::wstring wide = wintest::Wide(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    RemoveDirectoryW(wide.c_str());
  } else {
    DeleteFileW(wide.c_str());
  }
}

// A run of pathmint in a folder, and what it changed there.
struct Effect {
  wintest::Outcome run;
  std::string changes;
  std::map<std::string, LinkContents> links;  // every shortcut that appeared, read back
};

// Runs run and gives what changed in dir; what appeared there is removed again unless keep is set.
template <typename RunFunction>
Effect Observe(const std::string& dir, RunFunction run, bool keep = false) {
  Effect e;
  Tree before = Snapshot(dir);
  e.run = run();
  Tree after = Snapshot(dir);
  e.changes = Changes(before, after);
  for (auto entry = after.rbegin(); entry != after.rend(); ++entry) {
    if (before.count(entry->first)) continue;
    const std::string& name = entry->first;
    if (name.size() > 4 && lstrcmpiA(name.c_str() + name.size() - 4, ".lnk") == 0) {
      e.links[name] = ReadLink(dir + name);
    }
    if (!keep) Remove(dir + name);
  }
  return e;
}

// Runs pathmint in cwd (dir when empty) and gives what changed in dir; what appeared there is
// removed again unless keep is set.
inline Effect RunIn(const std::string& dir, const std::string& arguments, bool keep = false,
                    const std::string& cwd = "", const wintest::RunOptions& options = {}) {
  return Observe(
      dir, [&] { return RunPathmint(arguments, (cwd.empty() ? dir : cwd).c_str(), options); },
      keep);
}

// The run's exit code and boxes as check_run, and exactly these changes of the folder.
inline void check_effect_(const char* file, int line, const Effect& e, const std::string& changes,
                          DWORD code, const std::vector<std::string>& boxes) {
  check_boxes_(file, line, e.run, code, boxes);
  ok_(file, line)(e.changes == changes, "changes [%s], expected [%s]", e.changes.c_str(),
                  changes.c_str());
}
template <typename... Texts>
void check_effect_(const char* file, int line, const Effect& e, const std::string& changes,
                   DWORD code, const Texts&... texts) {
  check_effect_(file, line, e, changes, code, std::vector<std::string>{std::string(texts)...});
}
#define check_effect(...) pathmint::check_effect_(__FILE__, __LINE__, __VA_ARGS__)

// A table row: a run in a folder with its exit code and exactly what it changes there, with no
// box; the files to make first (full paths) are removed afterwards. Where the rows are run with a
// marker record, whether the run starts the marker, and the arguments it gets.
struct Case {
  std::string what, arguments;
  DWORD code;
  std::string changes;
  std::vector<std::string> prepare = {};
  bool launches = false;
  std::vector<std::string> markerArguments = {};
};

// A row at a length limit: when the path fits, exit code 0 and these changes; else exit code 1
// and no change.
inline Case AtLimit(const std::string& what, const std::string& arguments, bool fits,
                    const std::string& changes, const std::vector<std::string>& prepare = {}) {
  return Case{what, arguments, fits ? 0u : 1u, fits ? changes : "", prepare};
}

inline void DirectMarkerTo(const std::string& recordPath);
inline void check_marker_(const char* file, int line, const std::string& record, bool launched,
                          const std::string& runDir, const std::vector<std::string>& arguments);

// Runs each row in cwd (dir when empty) with these options and checks it against what changed in
// dir; with a marker record, also whether the marker ran there, and with which arguments.
inline void run_cases_(const char* file, int line, const std::string& dir,
                       const std::vector<Case>& cases, const std::string& cwd = "",
                       const wintest::RunOptions& options = {}, const std::string& record = "") {
  for (const Case& c : cases) {
    wintest::Context context("%s", c.what.c_str());
    for (const std::string& f : c.prepare) {
      ok_(file, line)(wintest::WriteFileText(f, "x"), "cannot make %s", f.c_str());
    }
    if (!record.empty()) DirectMarkerTo(record);
    check_effect_(file, line, RunIn(dir, c.arguments, false, cwd, options), c.changes, c.code);
    if (!record.empty()) {
      check_marker_(file, line, record, c.launches, cwd.empty() ? dir : cwd, c.markerArguments);
    }
    for (const std::string& f : c.prepare) Remove(f);
  }
}
#define run_cases(...) pathmint::run_cases_(__FILE__, __LINE__, __VA_ARGS__)

// A name of exactly `length` characters in all: dir, then `fill`, then the ending.
inline std::string PathOfLength(const std::string& dir, size_t length, const std::string& ending,
                                char fill = 'p') {
  return dir + std::string(length - dir.size() - ending.size(), fill) + ending;
}

inline bool SamePath(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// ---- special folders and the Recycle Bin

// The file-system path of a special folder (CSIDL value), with a trailing backslash.
inline std::string SpecialFolder(int csidl) {
  char buf[MAX_PATH];
  buf[0] = '\0';
  if (!SHGetSpecialFolderPathA(nullptr, buf, csidl, TRUE)) return std::string();
  return std::string(buf) + "\\";
}

// What the Recycle Bin holds on every drive, as the shell counts it; -1 when it cannot be asked.
struct Bin {
  long long items = -1, bytes = -1;
};

inline Bin RecycleBin() {
  SHQUERYRBINFO info;
  info.cbSize = sizeof info;
  Bin bin;
  if (SUCCEEDED(SHQueryRecycleBinA(nullptr, &info))) {
    bin.items = info.i64NumItems;
    bin.bytes = info.i64Size;
  }
  return bin;
}

// Since before was counted, the Recycle Bin took exactly one item of exactly this many bytes.
inline void check_binned_(const char* file, int line, const Bin& before, long long bytes) {
  const Bin now = RecycleBin();
  ok_(file, line)(before.items >= 0 && now.items == before.items + 1 &&
                      now.bytes == before.bytes + bytes,
                  "the Recycle Bin went from %.0f items of %.0f bytes to %.0f of %.0f, not one "
                  "item of %.0f bytes more",
                  double(before.items), double(before.bytes), double(now.items), double(now.bytes),
                  double(bytes));
}
#define check_binned(...) pathmint::check_binned_(__FILE__, __LINE__, __VA_ARGS__)

// ---- the system folder's two views

// C:\Windows\System32 as a program of this test's bitness sees it (the tests and pathmint are
// built together): a 32-bit program on 64-bit Windows works in the 32-bit view, SysWOW64, and
// reaches the 64-bit folder through Sysnative. Each folder by a name that no redirection changes
// for this bitness, with a trailing backslash.
struct SystemViews {
  std::string typed;  // C:\Windows\System32\, as users type it
  std::string lands;  // where work under that name lands
  std::string other;  // the other view, which that work leaves alone
  bool wow64 = false;
};

inline SystemViews GetSystemViews() {
  char windows[MAX_PATH] = "C:\\Windows";
  GetWindowsDirectoryA(windows, sizeof windows);
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  const std::string w = std::string(windows) + "\\";
  SystemViews v;
  v.typed = w + "System32\\";
  v.lands = wow64 ? w + "SysWOW64\\" : v.typed;
  v.other = w + (wow64 ? "Sysnative\\" : "SysWOW64\\");
  v.wow64 = wow64 != FALSE;
  return v;
}

// ---- the marker target

// A copy of the marker tool at exePath: it records its current directory and its arguments.
inline bool PlaceMarker(const std::string& exePath) {
  return CopyFileA((wintest::ExeDir() + "pathmint_tool_marker.exe").c_str(), exePath.c_str(),
                   FALSE) != 0;
}

// Points every marker started from now on (they inherit this environment) at recordPath.
inline void DirectMarkerTo(const std::string& recordPath) {
  DeleteFileA(recordPath.c_str());
  SetEnvironmentVariableA("PATHMINT_MARKER", recordPath.c_str());
}

// Waits up to timeoutMs for the marker's record: its fields (the current directory first, then
// the arguments), or false when none appeared.
inline bool WaitForMarker(const std::string& recordPath, std::vector<std::string>* fields,
                          DWORD timeoutMs = 15000) {
  const DWORD start = GetTickCount();
  std::string text;
  while (!wintest::ReadFileText(recordPath, &text)) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  fields->clear();
  for (size_t begin = 0, end; (end = text.find('\0', begin)) != std::string::npos;
       begin = end + 1) {
    fields->push_back(text.substr(begin, end - begin));
  }
  return true;
}

// The marker ran exactly when launched is set, in runDir, with exactly these arguments.
inline void check_marker_(const char* file, int line, const std::string& record, bool launched,
                          const std::string& runDir, const std::vector<std::string>& arguments) {
  std::vector<std::string> fields;
  const bool ran = WaitForMarker(record, &fields, launched ? 15000 : 1500);
  ok_(file, line)(ran == launched, "the target %s", ran ? "ran" : "did not run");
  if (!ran || !launched) return;
  std::string got;
  for (size_t i = 1; i < fields.size(); ++i) got += "[" + fields[i] + "]";
  ok_(file, line)(std::vector<std::string>(fields.begin() + 1, fields.end()) == arguments,
                  "the target got %s", got.c_str());
  ok_(file, line)(SamePath(fields[0] + "\\", runDir), "the target ran in [%s]", fields[0].c_str());
}
#define check_marker(...) pathmint::check_marker_(__FILE__, __LINE__, __VA_ARGS__)

}  // namespace pathmint

#endif
