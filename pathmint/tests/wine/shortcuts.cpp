// pathmint writes shortcuts and folders: read back through the shell's ShellLink object.
#include "shell_checks.h"

using shellcheck::LinkContents;
using shellcheck::ReadLink;
using shellcheck::RunPathmint;
using wintest::FileExists;
using wintest::Quote;

namespace {

const char kTarget[] = "C:\\Tools\\app.exe";

// The exact name a directory holds for a file (its letter case), or "" when there is none.
std::string StoredName(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(path.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  FindClose(h);
  return fd.cFileName;
}

int CountEntries(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do {
    if (strcmp(fd.cFileName, ".") != 0 && strcmp(fd.cFileName, "..") != 0) ++n;
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return n;
}

void ContentsAndNames(const std::string& dir) {
  wintest::Section("contents and names");
  struct Case {
    const char* name;      // link file option value, below dir
    const char* options;   // further options
    const char* written;   // file name expected in dir
    const char* arguments;
    const char* iconPath;
    int iconIndex;
  };
  const Case cases[] = {
      {"Report", "", "Report.lnk", "", "", 0},
      {"Args", "\"/A:x y\"", "Args.lnk", "x y", "", 0},
      {"IconZero", "/I:C:\\icons\\set.ico", "IconZero.lnk", "", "C:\\icons\\set.ico", 0},
      {"IconFromTarget", "/N:3", "IconFromTarget.lnk", "", kTarget, 3},
      {"IconBoth", "/I:C:\\icons\\set.ico /N:2 \"/A:-q \\\"a b\\\"\"", "IconBoth.lnk",
       "-q \"a b\"", "C:\\icons\\set.ico", 2},
      {"Upper.LNK", "", "Upper.LNK", "", "", 0},
      {"Mixed.LnK", "", "Mixed.LnK", "", "", 0},
      {"Report.txt", "", "Report.txt.lnk", "", "", 0},
      {"Dotted.", "", "Dotted..lnk", "", "", 0},
  };
  for (const Case& c : cases) {
    DWORD code = RunPathmint(Quote("/L:" + dir + c.name) + " /T:" + kTarget + " " + c.options);
    ok(code == 0, "%s: exit code %ld", c.name, static_cast<long>(code));
    std::string file = dir + c.written;
    ok(StoredName(file) == c.written, "%s: stored as [%s], expected [%s]", c.name,
       StoredName(file).c_str(), c.written);
    LinkContents link = ReadLink(file);
    ok(link.loaded, "%s: shortcut does not load", c.name);
    ok(link.path == kTarget, "%s: path [%s]", c.name, link.path.c_str());
    ok(link.arguments == c.arguments, "%s: arguments [%s]", c.name, link.arguments.c_str());
    ok(link.iconPath == c.iconPath && link.iconIndex == c.iconIndex, "%s: icon [%s],%d", c.name,
       link.iconPath.c_str(), link.iconIndex);
  }
  ok(!FileExists(dir + "Upper.LNK.lnk") && !FileExists(dir + "Mixed.LnK.lnk"),
     "an existing extension was extended");

  // Without a special folder the name is relative to the current directory.
  std::string sub = dir + "cwd\\";
  CreateDirectoryA(sub.c_str(), nullptr);
  DWORD code = RunPathmint("/L:Relative /T:" + std::string(kTarget), sub.c_str());
  ok(code == 0 && FileExists(sub + "Relative.lnk"), "relative name: exit %ld",
     static_cast<long>(code));
}

void Bounds(const std::string& dir) {
  wintest::Section("path bounds");
  std::string sub = dir + "bounds\\";
  CreateDirectoryA(sub.c_str(), nullptr);
  // 255 characters before the extension make the longest path that fits (259 with ".lnk").
  std::string name(255 - sub.size(), 'n');
  DWORD code = RunPathmint(Quote("/L:" + sub + name) + " /T:" + kTarget);
  ok(code == 0 && FileExists(sub + name + ".lnk"), "path of 259: exit %ld", static_cast<long>(code));
  DeleteFileA((sub + name + ".lnk").c_str());
  name += 'n';
  code = RunPathmint(Quote("/L:" + sub + name) + " /T:" + kTarget);
  ok(code == 1, "path of 260: exit %ld", static_cast<long>(code));
  ok(CountEntries(sub) == 0, "a path that does not fit left %d files", CountEntries(sub));
}

void Folders(const std::string& dir) {
  wintest::Section("folders");
  DWORD code = RunPathmint(Quote("/L:" + dir + "Made") + " /folder /T:x.exe /I:y.ico /N:1");
  DWORD attributes = GetFileAttributesA((dir + "Made").c_str());
  ok(code == 0 && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
     "folder: exit %ld", static_cast<long>(code));
  ok(!FileExists(dir + "Made.lnk"), "a folder got the link extension");
  code = RunPathmint(Quote("/L:" + dir + "Made") + " /folder");
  ok(code == 1, "existing folder: exit %ld", static_cast<long>(code));
  // Only the last component is created.
  code = RunPathmint(Quote("/L:" + dir + "Outer\\Inner") + " /folder");
  ok(code == 1 && !FileExists(dir + "Outer"), "missing parent: exit %ld", static_cast<long>(code));
}

struct SpecialCase {
  const char* flag;
  bool common;
  int csidl;
};

void SpecialFolders() {
  wintest::Section("special folders");
  const SpecialCase cases[] = {
      {"desktop", false, CSIDL_DESKTOPDIRECTORY},  {"desktop", true, CSIDL_COMMON_DESKTOPDIRECTORY},
      {"favorites", false, CSIDL_FAVORITES},       {"favorites", true, CSIDL_FAVORITES},
      {"programs", false, CSIDL_PROGRAMS},         {"programs", true, CSIDL_COMMON_PROGRAMS},
      {"start", false, CSIDL_STARTMENU},           {"start", true, CSIDL_COMMON_STARTMENU},
      {"startup", false, CSIDL_STARTUP},           {"startup", true, CSIDL_COMMON_STARTUP},
  };
  for (const SpecialCase& c : cases) {
    std::string folder = shellcheck::SpecialFolder(c.csidl);
    if (!ok(!folder.empty(), "%s%s: folder %d unknown", c.flag, c.common ? " common" : "", c.csidl)) {
      continue;
    }
    std::string name = std::string("pathmint-test-") + c.flag + (c.common ? "-common" : "");
    std::string file = folder + "\\" + name + ".lnk";
    DeleteFileA(file.c_str());
    std::string args = "/" + std::string(c.flag) + (c.common ? " /common" : "") + " /L:" + name +
                       " /T:" + kTarget;
    DWORD code = RunPathmint(args);
    ok(code == 0, "%s: exit %ld", args.c_str(), static_cast<long>(code));
    LinkContents link = ReadLink(file);
    ok(link.loaded && link.path == kTarget, "%s: nothing at %s", args.c_str(), file.c_str());
    DeleteFileA(file.c_str());
  }
  // The common variants are different folders from the per-user ones (except Favorites).
  ok(shellcheck::SpecialFolder(CSIDL_DESKTOPDIRECTORY) !=
         shellcheck::SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY),
     "per-user and common desktop are the same folder");
}

void Subdirectories() {
  wintest::Section("subdirectory below Programs");
  std::string programs = shellcheck::SpecialFolder(CSIDL_PROGRAMS);
  std::string tools = programs + "\\PathmintTestTools";
  DeleteFileA((tools + "\\App.lnk").c_str());
  RemoveDirectoryA(tools.c_str());

  std::string link = std::string(" /L:PathmintTestTools\\App /T:") + kTarget;
  DWORD code = RunPathmint("/programs" + link);
  ok(code == 1, "without its directory: exit %ld", static_cast<long>(code));
  ok(!FileExists(tools), "the shortcut run created the directory");

  code = RunPathmint("/folder /programs /L:PathmintTestTools");
  ok(code == 0 && FileExists(tools) && !FileExists(tools + ".lnk"), "folder run: exit %ld",
     static_cast<long>(code));

  code = RunPathmint("/programs" + link);
  ok(code == 0 && ReadLink(tools + "\\App.lnk").path == kTarget, "with its directory: exit %ld",
     static_cast<long>(code));

  DeleteFileA((tools + "\\App.lnk").c_str());
  RemoveDirectoryA(tools.c_str());
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  wintest::BoxWatcher boxes(nullptr);
  std::string dir = wintest::ScratchDir("shortcuts");
  ContentsAndNames(dir);
  Bounds(dir);
  Folders(dir);
  SpecialFolders();
  Subdirectories();
  std::vector<wintest::Box> seen = boxes.Stop();
  wintest::Section("no message boxes");
  ok(seen.empty(), "%u boxes, first: [%s] %s", static_cast<unsigned>(seen.size()),
     seen.empty() ? "" : seen[0].caption.c_str(), seen.empty() ? "" : seen[0].text.c_str());
  CoUninitialize();
  return wintest::Summary();
}
