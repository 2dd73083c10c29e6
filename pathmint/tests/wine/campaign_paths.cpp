// Bad-input campaign: paths of exactly 259, 260 and 261 characters (and the lengths where each
// action's own limit lies) through every action: shortcut, folder, self-removing shortcut, exec
// and delfile, with and without a special folder in front. Each run must end with its documented
// exit code, show no box, and change the folder exactly as expected: the one file or folder it
// was asked for, or nothing at all (no partial file).
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "campaign_common.h"
#include "shell_checks.h"
#include "usage_texts.h"
#include "wintest.h"

namespace {

using campaign::Changes;
using campaign::PathOfLength;
using campaign::Snapshot;
using campaign::Tree;
using wintest::Quote;

const char kTarget[] = "C:\\Tools\\app.exe";

struct Case {
  std::string what;
  std::string options;
  DWORD code;
  std::string changes;                // expected Changes() of the folder, relative to it
  std::vector<std::string> prepare;   // files made before the run (full paths)
};

std::string Relative(const std::string& dir, const std::string& path) {
  return path.substr(dir.size());
}

// Runs every case in dir (a folder the cases write into) and checks code, boxes and changes.
void RunCases(const std::string& dir, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    for (const std::string& f : c.prepare) {
      ok(campaign::MakeFile(f), "%s: cannot prepare %u-character file", c.what.c_str(),
         unsigned(f.size()));
    }
    Tree before = Snapshot(dir);
    texts::Outcome o = texts::RunPathmint(c.options, dir.c_str());
    Tree after = Snapshot(dir);
    ok(o.ran && o.exitCode == c.code, "%s: exit code 0x%08lX, expected 0x%08lX", c.what.c_str(),
       o.exitCode, c.code);
    ok(o.boxes.empty(), "%s: %u boxes, first [%s]", c.what.c_str(), unsigned(o.boxes.size()),
       o.boxes.empty() ? "" : texts::Visible(o.boxes[0].text).c_str());
    std::string changes = Changes(before, after);
    ok(changes == c.changes, "%s: changes [%s], expected [%s]", c.what.c_str(), changes.c_str(),
       c.changes.c_str());
    // Leave the folder as it was, for the next case.
    for (const auto& entry : after) {
      if (!before.count(entry.first)) campaign::Remove(dir + entry.first);
    }
    for (const std::string& f : c.prepare) campaign::Remove(f);
  }
}

void Shortcuts(const std::string& dir) {
  wintest::Section("shortcut: link path lengths");
  std::vector<Case> cases;
  // With the extension given, the path is used as it is: 259 characters fit the buffer.
  for (size_t length : {258u, 259u, 260u, 261u}) {
    std::string path = PathOfLength(dir, length, ".lnk");
    bool fits = length <= 259;
    cases.push_back({"with extension, " + std::to_string(length), Quote("/L:" + path) + " /T:" + kTarget,
                     fits ? 0u : 1u, fits ? "+" + Relative(dir, path) : "", {}});
  }
  // Without it, ".lnk" must fit as well: 255 characters are the most.
  for (size_t length : {255u, 256u, 259u, 260u, 261u}) {
    std::string path = PathOfLength(dir, length, "");
    bool fits = length + 4 <= 259;
    cases.push_back({"without extension, " + std::to_string(length),
                     Quote("/L:" + path) + " /T:" + kTarget, fits ? 0u : 1u,
                     fits ? "+" + Relative(dir, path) + ".lnk" : "", {}});
  }
  RunCases(dir, cases);

  wintest::Section("shortcut: target and icon paths of 259 to 261 characters");
  // A shortcut's target holds at most 259 characters: the shell object keeps a longer one as
  // garbage (and still reports success), so such a target is refused and nothing is written.
  // The icon location is handed over unchanged and kept whole.
  for (size_t length : {259u, 260u, 261u}) {
    std::string target = PathOfLength("C:\\Long\\", length, ".exe", 't');
    std::string link = dir + "long-target-" + std::to_string(length) + ".lnk";
    Tree before = Snapshot(dir);
    texts::Outcome o = texts::RunPathmint(Quote("/L:" + link) + " " + Quote("/T:" + target));
    const bool fits = length <= 259;
    ok(o.ran && o.exitCode == (fits ? 0u : 1u) && o.boxes.empty(),
       "target %u: exit 0x%08lX, %u boxes", unsigned(length), o.exitCode, unsigned(o.boxes.size()));
    if (fits) {
      shellcheck::LinkContents contents = shellcheck::ReadLink(link);
      ok(contents.loaded && contents.path == target, "target %u: path of %u characters [%.40s]",
         unsigned(length), unsigned(contents.path.size()), contents.path.c_str());
    } else {
      ok(Changes(before, Snapshot(dir)).empty(), "target %u: a shortcut was written: [%s]",
         unsigned(length), Changes(before, Snapshot(dir)).c_str());
    }
    DeleteFileA(link.c_str());

    std::string icon = PathOfLength("C:\\Icons\\", length, ".ico", 'i');
    o = texts::RunPathmint(Quote("/L:" + link) + " /T:" + kTarget + " " + Quote("/I:" + icon) +
                           " /N:4");
    shellcheck::LinkContents contents = shellcheck::ReadLink(link);
    ok(o.exitCode == 0 && contents.loaded && contents.iconPath == icon && contents.iconIndex == 4,
       "icon %u: exit 0x%08lX, icon of %u characters, index %d", unsigned(length), o.exitCode,
       unsigned(contents.iconPath.size()), contents.iconIndex);
    DeleteFileA(link.c_str());
  }
}

void Folders(const std::string& dir) {
  wintest::Section("folder: path lengths");
  std::vector<Case> cases;
  for (size_t length : {259u, 260u, 261u}) {
    std::string path = PathOfLength(dir, length, "", 'f');
    bool fits = length <= 259;
    cases.push_back({"folder " + std::to_string(length), "/folder " + Quote("/L:" + path),
                     fits ? 0u : 1u, fits ? "+" + Relative(dir, path) : "", {}});
  }
  RunCases(dir, cases);
}

void OneTime(const std::string& dir) {
  wintest::Section("self-removing shortcut: relaunch line of 259 to 261 characters");
  // -exec /T:"target" /L:"link": 17 characters besides the two values.
  const std::string link = PathOfLength(dir, 120, ".lnk", 'o');
  std::vector<Case> cases;
  for (size_t length : {259u, 260u, 261u}) {
    std::string target = PathOfLength("C:\\", length - 17 - link.size(), "", 'y');
    bool fits = length <= 259;
    cases.push_back({"line " + std::to_string(length),
                     "/clean " + Quote("/T:" + target) + " " + Quote("/L:" + link), fits ? 0u : 1u,
                     fits ? "+" + Relative(dir, link) : "", {}});
  }
  // The link path alone at the limit leaves no room for the line.
  for (size_t length : {259u, 260u, 261u}) {
    std::string path = PathOfLength(dir, length, ".lnk", 'c');
    cases.push_back({"link path " + std::to_string(length),
                     "/clean /T:C:\\x.exe " + Quote("/L:" + path), 1u, "", {}});
  }
  RunCases(dir, cases);

  // The line that fits is written whole.
  std::string target = PathOfLength("C:\\", 259 - 17 - link.size(), "", 'y');
  texts::Outcome o = texts::RunPathmint("/clean " + Quote("/T:" + target) + " " + Quote("/L:" + link));
  shellcheck::LinkContents contents = shellcheck::ReadLink(link);
  std::string line = "-exec /T:\"" + target + "\" /L:\"" + link + "\"";
  ok(o.exitCode == 0 && contents.loaded && contents.arguments == line && line.size() == 259,
     "259-character line: exit 0x%08lX, arguments of %u characters", o.exitCode,
     unsigned(contents.arguments.size()));
  DeleteFileA(link.c_str());
}

void Exec(const std::string& dir) {
  wintest::Section("exec: link path lengths");
  // With -folder no target is needed, so nothing is launched: only the deletion is seen.
  std::vector<Case> cases;
  for (size_t length : {259u, 260u, 261u}) {
    std::string path = PathOfLength(dir, length, ".lnk", 'e');
    bool fits = length <= 259;
    cases.push_back({"with extension, " + std::to_string(length),
                     "-exec -folder " + Quote("/L:" + path), fits ? 0u : 1u,
                     fits ? "-" + Relative(dir, path) : "", {path}});
  }
  for (size_t length : {255u, 256u}) {
    std::string path = PathOfLength(dir, length, "", 'n');
    bool fits = length + 4 <= 259;
    cases.push_back({"without extension, " + std::to_string(length),
                     "-exec -folder " + Quote("/L:" + path), fits ? 0u : 1u,
                     fits ? "-" + Relative(dir, path) + ".lnk" : "", {path + ".lnk", path}});
  }
  RunCases(dir, cases);
}

// The trash of the private environment, seen through drive Z:.
std::string TrashFiles() {
  char unixPath[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("XDG_DATA_HOME", unixPath, sizeof unixPath);
  if (n == 0 || n >= sizeof unixPath) return std::string();
  std::string path = std::string("Z:") + unixPath + "/Trash/";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

void DeleteFiles(const std::string& dir) {
  wintest::Section("delfile: path lengths");
  std::vector<Case> cases;
  std::vector<std::string> trashed;
  for (size_t length : {258u, 259u, 260u, 261u}) {
    std::string path = PathOfLength(dir, length, ".txt", 'd');
    // The path and a second terminating zero share the 260 bytes.
    bool fits = length <= 258;
    if (fits) trashed.push_back(Relative(dir, path));
    cases.push_back({"delete " + std::to_string(length), "-delfile " + Quote("/T:" + path),
                     fits ? 0u : 1u, fits ? "-" + Relative(dir, path) : "", {path}});
  }
  RunCases(dir, cases);
  const std::string trash = TrashFiles();
  for (const std::string& name : trashed) {
    ok(campaign::Exists(trash + "files\\" + name), "%u-character name not in the trash",
       unsigned(name.size()));
    campaign::Remove(trash + "files\\" + name);
    campaign::Remove(trash + "info\\" + name + ".trashinfo");
  }
}

void SpecialFolder() {
  wintest::Section("special folder in front: the joined path at the limit");
  const std::string desktop = shellcheck::SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\";
  if (!ok(desktop.size() > 1, "no desktop folder")) return;
  std::vector<Case> cases;
  for (size_t length : {259u, 260u, 261u}) {
    // desktop, the name, ".lnk": the name as given after /desktop.
    std::string name = PathOfLength(desktop, length, "", 'k').substr(desktop.size() + 4);
    bool fits = length <= 259;
    cases.push_back({"desktop shortcut " + std::to_string(length),
                     "/desktop " + Quote("/L:" + name) + " /T:" + kTarget, fits ? 0u : 1u,
                     fits ? "+" + name + ".lnk" : "", {}});
  }
  for (size_t length : {258u, 259u}) {
    std::string path = PathOfLength(desktop, length, ".txt", 'r');
    bool fits = length <= 258;
    cases.push_back({"desktop delete " + std::to_string(length),
                     "/desktop /delfile " + Quote("/T:" + Relative(desktop, path)), fits ? 0u : 1u,
                     fits ? "-" + Relative(desktop, path) : "", {path}});
  }
  RunCases(desktop, cases);
  const std::string trash = TrashFiles();
  std::string name = PathOfLength(desktop, 258, ".txt", 'r').substr(desktop.size());
  campaign::Remove(trash + "files\\" + name);
  campaign::Remove(trash + "info\\" + name + ".trashinfo");
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  const std::string dir = wintest::ScratchDir("campaign_paths");
  Shortcuts(dir);
  Folders(dir);
  OneTime(dir);
  Exec(dir);
  DeleteFiles(dir);
  SpecialFolder();
  CoUninitialize();
  return wintest::Summary();
}
