// The exec action with real command lines: the target launched in the start-up directory, then
// the shortcut deleted for good. Every run is debugged, so that a crash shows as one.
#include "pathmint_test.h"

using namespace pathmint;

int main() {
  const std::string dir = wintest::ScratchDir("exec");
  const std::string runDir = wintest::ScratchDir("exec start here");
  const std::string record = runDir + "record.txt";
  ok(PlaceMarker(dir + "marker.exe") && PlaceMarker(dir + "victim.exe"), "marker not copied");
  const std::string T = Quote("/T:" + dir + "marker.exe");
  auto L = [&](const std::string& name) { return " " + Quote("/L:" + dir + name); };
  // The longest name that fits with ".lnk" (259 characters in all), and one more.
  const std::string longest = PathOfLength(dir, 255, "", 'x').substr(dir.size());
  const std::string tooLong = longest + "x";
  const std::string huge(30000, 'h');

  // Each row's files to make first are named below the scratch folder.
  std::vector<Case> rows = {
      {"extension appended",
       "-exec " + T + " \"/A:a b\"" + L("App"),
       0,
       "-App.lnk",
       {"App.lnk", "App"},
       true,
       {"a", "b"}},
      {"extension kept",
       "-exec " + T + L("Up.LNK"),
       0,
       "-Up.LNK",
       {"Up.LNK", "Up.LNK.lnk"},
       true,
       {}},
      // With -folder no target is needed, and nothing is launched.
      {"no target",
       "-exec -folder" + L("NoTarget"),
       0,
       "-NoTarget.lnk",
       {"NoTarget.lnk"},
       false,
       {}},
      {"cannot start",
       "-exec " + Quote("/T:" + dir + "missing.exe") + L("Fail"),
       1,
       "-Fail.lnk",
       {"Fail.lnk"},
       false,
       {}},
      {"shortcut missing", "-exec " + T + " /A:again" + L("Gone"), 1, "", {}, true, {"again"}},
      {"exec wins over delfile",
       "-exec -delfile " + Quote("/T:" + dir + "victim.exe") + L("Both"),
       0,
       "-Both.lnk",
       {"Both.lnk"},
       true,
       {}},
      {"no link file", "-exec -delfile " + T, 1, "", {}, true, {}},
      {"longest name",
       "-exec " + T + L(longest),
       0,
       "-" + longest + ".lnk",
       {longest + ".lnk", longest},
       true,
       {}},
      {"name too long", "-exec " + T + L(tooLong), 1, "", {tooLong + ".lnk", tooLong}, true, {}},
      // Arguments of any length reach the target whole.
      {"arguments of 30,000 characters",
       "-exec " + T + " /A:" + huge + L("Exec"),
       0,
       "-Exec.lnk",
       {"Exec.lnk"},
       true,
       {huge}},
  };
  // A path given with its extension is used as it is: 259 characters fit.
  for (size_t length : {259u, 260u, 261u}) {
    std::string path = PathOfLength(dir, length, ".lnk", 'e');
    rows.push_back({"with extension, " + std::to_string(length),
                    "-exec -folder " + Quote("/L:" + path),
                    length <= 259 ? 0u : 1u,
                    length <= 259 ? "-" + path.substr(dir.size()) : "",
                    {path.substr(dir.size())},
                    false,
                    {}});
  }
  // A target no path can be is not handed to the platform's launcher (which crashes on one of
  // 1,000 characters): the launch fails, and the shortcut is still removed.
  for (size_t length : {size_t(260), size_t(1000), huge.size()}) {
    rows.push_back({"target of " + std::to_string(length),
                    "/exec /T:" + std::string(length, 'h') + L("Exec"),
                    1,
                    "-Exec.lnk",
                    {"Exec.lnk"},
                    false,
                    {}});
  }

  for (Case& c : rows) {
    for (std::string& f : c.prepare) f = dir + f;
  }
  wintest::RunOptions debugged;
  debugged.debug = true;
  run_cases(dir, rows, runDir, debugged, record);

  // A shortcut that cannot be removed, read-only or held open without delete sharing, starts
  // nothing and stays; released, it runs once and is gone.
  const std::string kept = dir + "Kept.lnk";
  for (bool readOnly : {true, false}) {
    wintest::Context context(readOnly ? "read-only" : "held without delete sharing");
    ok(wintest::WriteFileText(kept, "x"), "cannot make the shortcut");
    HANDLE held = INVALID_HANDLE_VALUE;
    if (readOnly) {
      SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_READONLY);
    } else {
      held = CreateFileA(kept.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    }
    run_cases(dir, {{"kept", "-exec " + T + L("Kept"), 1, ""}}, runDir, debugged, record);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_NORMAL);
    run_cases(dir, {{"released", "-exec " + T + L("Kept"), 0, "-Kept.lnk", {}, true, {}}}, runDir,
              debugged, record);
  }
  return wintest::Summary();
}
