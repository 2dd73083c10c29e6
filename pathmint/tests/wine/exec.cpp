// The exec action with real command lines: launch the target in the start-up directory, then
// delete the shortcut for good.
#include "shell_checks.h"

using shellcheck::RunPathmint;
using wintest::FileExists;
using wintest::Quote;

namespace {

struct Case {
  const char* name;
  std::string options;
  DWORD exitCode;
  bool launches;
  std::vector<std::string> markerArguments;
  std::vector<std::string> removed;  // files that must be gone afterwards
  std::vector<std::string> kept;     // files that must still be there (made when missing)
};

std::string Lower(std::string s) {
  CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

void Touch(const std::string& path) {
  wintest::WriteFileText(path, "not really a shortcut");
}

}  // namespace

int main() {
  wintest::BoxWatcher boxes(nullptr);
  const std::string dir = wintest::ScratchDir("exec");
  const std::string runDir = dir + "start here\\";
  CreateDirectoryA(runDir.c_str(), nullptr);
  const std::string marker = dir + "marker.exe";
  const std::string victim = dir + "victim.exe";
  ok(shellcheck::PlaceMarker(marker) && shellcheck::PlaceMarker(victim), "marker not copied");
  const std::string T = Quote("/T:" + marker);
  auto L = [&](const std::string& name) { return Quote("/L:" + dir + name); };

  // 255 characters before the extension: the longest name that fits with ".lnk".
  const std::string longest = std::string(255 - dir.size(), 'x');
  const std::string tooLong = longest + "x";

  const Case cases[] = {
      {"extension appended", "-exec " + T + " \"/A:a b\" " + L("App"), 0, true, {"a", "b"},
       {"App.lnk"}, {"App"}},
      {"extension kept", "-exec " + T + " " + L("Up.LNK"), 0, true, {}, {"Up.LNK"},
       {"Up.LNK.lnk"}},
      {"no target", "-exec -folder " + L("NoTarget"), 0, false, {}, {"NoTarget.lnk"}, {}},
      {"cannot start", "-exec " + Quote("/T:" + dir + "missing.exe") + " " + L("Fail"), 1, false,
       {}, {"Fail.lnk"}, {}},
      {"shortcut missing", "-exec " + T + " /A:again " + L("Gone"), 1, true, {"again"}, {}, {}},
      {"exec wins over delfile", "-exec -delfile " + Quote("/T:" + victim) + " " + L("Both"), 0,
       true, {}, {"Both.lnk"}, {"victim.exe"}},
      {"no link file", "-exec -delfile " + T, 1, true, {}, {}, {}},
      {"longest name", "-exec " + T + " " + L(longest), 0, true, {}, {longest + ".lnk"}, {}},
      {"name too long", "-exec " + T + " " + L(tooLong), 1, true, {}, {}, {}},
  };

  for (const Case& c : cases) {
    wintest::Section(c.name);
    for (const std::string& f : c.removed) Touch(dir + f);
    for (const std::string& f : c.kept) {
      if (!FileExists(dir + f)) Touch(dir + f);
    }
    const std::string record = dir + "record.txt";
    shellcheck::DirectMarkerTo(record);

    DWORD code = RunPathmint(c.options, runDir.c_str());
    ok(code == c.exitCode, "exit %ld, expected %ld", static_cast<long>(code),
       static_cast<long>(c.exitCode));
    for (const std::string& f : c.removed) ok(!FileExists(dir + f), "%s not deleted", f.c_str());
    for (const std::string& f : c.kept) ok(FileExists(dir + f), "%s deleted", f.c_str());

    std::vector<std::string> fields;
    bool ran = shellcheck::WaitForMarker(record, &fields, c.launches ? 15000 : 1500);
    ok(ran == c.launches, "target %s", ran ? "ran" : "did not run");
    if (ran && c.launches) {
      std::vector<std::string> arguments(fields.begin() + 1, fields.end());
      ok(arguments == c.markerArguments, "target got %s", shellcheck::Join(arguments).c_str());
      // The target starts in the directory pathmint started in.
      ok(Lower(fields[0] + "\\") == Lower(runDir), "target ran in [%s]", fields[0].c_str());
    }
    for (const std::string& f : c.kept) DeleteFileA((dir + f).c_str());
  }

  std::vector<wintest::Box> seen = boxes.Stop();
  wintest::Section("no message boxes");
  ok(seen.empty(), "%u boxes, first: [%s] %s", static_cast<unsigned>(seen.size()),
     seen.empty() ? "" : seen[0].caption.c_str(), seen.empty() ? "" : seen[0].text.c_str());
  return wintest::Summary();
}
