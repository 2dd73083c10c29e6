// Self-removing shortcuts end to end: created by pathmint, activated, the target run once and
// the shortcut gone.
#include "shell_checks.h"

using shellcheck::LinkContents;
using shellcheck::ReadLink;
using shellcheck::RunPathmint;
using wintest::FileExists;
using wintest::Quote;

namespace {

std::string Lower(std::string s) {
  CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

std::string WithoutTrailingBackslash(std::string s) {
  while (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

bool WaitUntilGone(const std::string& path, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (FileExists(path)) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
  return true;
}

// Opens the shortcut the way a user does, through the shell, from dir (the shell may start the
// shortcut's program in the given folder or in its caller's). Wine's shell gives no handle to
// the process it starts for a shortcut, so the caller watches the effects.
bool ActivateThroughShell(const std::string& link, const std::string& dir) {
  char previous[MAX_PATH];
  GetCurrentDirectoryA(sizeof previous, previous);
  SetCurrentDirectoryA(dir.c_str());
  SHELLEXECUTEINFOA sei;
  ZeroMemory(&sei, sizeof sei);
  sei.cbSize = sizeof sei;
  sei.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  sei.lpFile = link.c_str();
  sei.lpDirectory = dir.c_str();
  sei.nShow = SW_SHOWNORMAL;
  const bool opened = ShellExecuteExA(&sei) != 0;
  SetCurrentDirectoryA(previous);
  return opened;
}

// Starts what the shortcut holds, as the shell does (its path, quoted, then its arguments), in
// dir, and gives the exit code of that run.
DWORD ActivateResolved(const std::string& link, const std::string& dir) {
  LinkContents contents = ReadLink(link);
  if (!contents.loaded) return 0xDEADBEEF;
  wintest::ProcessResult r =
      wintest::Run(Quote(contents.path) + " " + contents.arguments, dir.c_str(), 30000);
  return (r.started && !r.timedOut) ? r.exitCode : 0xDEADBEEF;
}

struct Scenario {
  const char* name;
  const char* targetName;  // below the scratch folder; "mark er.exe" is the marker
  const char* arguments;
  DWORD exitCode;
  bool launches;
  std::vector<std::string> markerArguments;
};

void RunScenario(const Scenario& s, bool throughShell, const std::string& dir) {
  const std::string mode = throughShell ? "shell" : "resolved";
  const std::string label = std::string(s.name) + " (" + mode + ")";
  const std::string linkDir = dir + "one time\\";
  const std::string link = linkDir + s.name + "-" + mode + ".lnk";
  const std::string target = dir + s.targetName;
  const std::string record = dir + "record-" + s.name + "-" + mode + ".txt";
  const std::string runDir = dir + "run dir\\";
  shellcheck::DirectMarkerTo(record);

  // Creation: the link name is given without its extension.
  std::string options = "/clean " + Quote("/T:" + target) + " " +
                        Quote("/L:" + link.substr(0, link.size() - 4));
  if (*s.arguments) options += " " + Quote(std::string("/A:") + s.arguments);
  DWORD code = RunPathmint(options);
  ok(code == 0, "%s: creation exit %ld", label.c_str(), static_cast<long>(code));

  LinkContents contents = ReadLink(link);
  std::string line = "-exec /T:" + Quote(target);
  if (*s.arguments) line += " /A:" + Quote(s.arguments);
  line += " /L:" + Quote(link);
  ok(contents.loaded && Lower(contents.path) == Lower(wintest::ExeDir() + "pathmint.exe"),
     "%s: path [%s]", label.c_str(), contents.path.c_str());
  ok(contents.arguments == line, "%s: arguments\n  [%s]\n  expected [%s]", label.c_str(),
     contents.arguments.c_str(), line.c_str());
  ok(contents.iconPath.empty() && contents.iconIndex == 0, "%s: icon [%s],%d", label.c_str(),
     contents.iconPath.c_str(), contents.iconIndex);

  // A copy made before the first use still starts the target, but has no shortcut to remove.
  const std::string copy = linkDir + s.name + "-" + mode + "-copy.lnk";
  CopyFileA(link.c_str(), copy.c_str(), FALSE);

  if (throughShell) {
    ok(ActivateThroughShell(link, runDir), "%s: the shell did not open the shortcut",
       label.c_str());
    ok(WaitUntilGone(link, 15000), "%s: the shortcut is still there", label.c_str());
  } else {
    code = ActivateResolved(link, runDir);
    ok(code == s.exitCode, "%s: exec exit %ld", label.c_str(), static_cast<long>(code));
    ok(!FileExists(link), "%s: the shortcut is still there", label.c_str());
  }

  std::vector<std::string> fields;
  bool ran = shellcheck::WaitForMarker(record, &fields, s.launches ? 15000 : 1500);
  ok(ran == s.launches, "%s: target %s", label.c_str(), ran ? "ran" : "did not run");
  if (ran && s.launches) {
    std::vector<std::string> arguments(fields.begin() + 1, fields.end());
    ok(arguments == s.markerArguments, "%s: target got %s", label.c_str(),
       shellcheck::Join(arguments).c_str());
    ok(Lower(fields[0]) == Lower(WithoutTrailingBackslash(runDir)),
       "%s: target ran in [%s]", label.c_str(), fields[0].c_str());
  }

  // Second activation, of the copy.
  shellcheck::DirectMarkerTo(record);
  code = ActivateResolved(copy, runDir);
  ok(code == 1, "%s: second activation exit %ld", label.c_str(), static_cast<long>(code));
  ran = shellcheck::WaitForMarker(record, &fields, s.launches ? 15000 : 1500);
  ok(ran == s.launches, "%s: second activation: target %s", label.c_str(),
     ran ? "ran" : "did not run");
  ok(FileExists(copy), "%s: the copy was removed", label.c_str());
  DeleteFileA(copy.c_str());
}

void LineTooLong(const std::string& dir) {
  wintest::Section("relaunch line that does not fit");
  std::string link = dir + "one time\\TooLong";
  std::string arguments(200, 'a');
  DWORD code = RunPathmint("/clean " + Quote("/T:" + dir + "mark er.exe") + " /A:" + arguments +
                           " " + Quote("/L:" + link));
  ok(code == 1, "exit %ld", static_cast<long>(code));
  ok(!FileExists(link + ".lnk"), "a shortcut was written");
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  wintest::BoxWatcher boxes(nullptr);
  std::string dir = wintest::ScratchDir("one time");
  CreateDirectoryA((dir + "one time").c_str(), nullptr);
  CreateDirectoryA((dir + "run dir").c_str(), nullptr);
  ok(shellcheck::PlaceMarker(dir + "mark er.exe"), "marker not copied");

  const Scenario scenarios[] = {
      {"arguments", "mark er.exe", "\"two words\" C:\\Temp\\ \\\"q\\\" end\\", 0, true,
       {"two words", "C:\\Temp\\", "\"q\"", "end\\"}},
      {"no-arguments", "mark er.exe", "", 0, true, {}},
      {"quotes-only", "mark er.exe", "\"", 0, true, {""}},
      {"cannot-start", "missing.exe", "x", 1, false, {}},
  };
  for (bool throughShell : {false, true}) {
    for (const Scenario& s : scenarios) {
      wintest::Section(s.name);
      RunScenario(s, throughShell, dir);
    }
  }
  LineTooLong(dir);

  std::vector<wintest::Box> seen = boxes.Stop();
  wintest::Section("no message boxes");
  ok(seen.empty(), "%u boxes, first: [%s] %s", static_cast<unsigned>(seen.size()),
     seen.empty() ? "" : seen[0].caption.c_str(), seen.empty() ? "" : seen[0].text.c_str());
  CoUninitialize();
  return wintest::Summary();
}
