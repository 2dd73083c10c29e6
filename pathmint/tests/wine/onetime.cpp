// Self-removing shortcuts end to end: made by pathmint, activated, the target run once and the
// shortcut gone; the relaunch line at its length limit; and the start-up directory that pathmint
// keeps for the target, at its limit in bytes.
#include "pathmint_test.h"

using namespace pathmint;
using wintest::FileExists;

namespace {

// Opens the shortcut the way a user does, through the shell, from runDir, and waits until it is
// gone. Wine's shell gives no handle to the process it starts for a shortcut, so the effects are
// watched, and the boxes of every pathmint process: not those of other processes of the prefix,
// one of whose dialogs once failed this check with no box of pathmint's.
void check_shell_activation_(const char* file, int line, const std::string& link,
                             const std::string& runDir) {
  char previous[MAX_PATH];
  GetCurrentDirectoryA(sizeof previous, previous);
  SetCurrentDirectoryA(runDir.c_str());
  SHELLEXECUTEINFOA sei;
  ZeroMemory(&sei, sizeof sei);
  sei.cbSize = sizeof sei;
  sei.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  sei.lpFile = link.c_str();
  sei.lpDirectory = runDir.c_str();
  sei.nShow = SW_SHOWNORMAL;
  ok_(file, line)(ShellExecuteExA(&sei) != 0, "the shell did not open the shortcut");
  SetCurrentDirectoryA(previous);
  wintest::Outcome shown;
  std::vector<HWND> seen;
  wintest::RunOptions watch;
  watch.program = "pathmint.exe";
  for (const DWORD start = GetTickCount(); FileExists(link) && GetTickCount() - start < 15000;) {
    wintest::LookForWindows(0, watch, &seen, &shown);
    Sleep(50);
  }
  ok_(file, line)(!FileExists(link), "the shortcut is still there");
  ok_(file, line)(shown.boxes.empty() && shown.dialogs == 0, "%u boxes, first [%s]",
                  unsigned(shown.boxes.size()),
                  shown.boxes.empty() ? "" : shown.boxes[0].text.c_str());
}
#define check_shell_activation(...) check_shell_activation_(__FILE__, __LINE__, __VA_ARGS__)

struct Scenario {
  std::string name;
  std::string targetName;  // below the scratch folder; a marker unless it is missing.exe
  std::string arguments;
  DWORD exitCode;
  bool launches;
  std::vector<std::string> markerArguments;
  bool batch = false;  // made by pathmint started by its bare name from a batch file
};

void RunScenario(const Scenario& s, bool throughShell, const std::string& dir) {
  const std::string mode = throughShell ? "shell" : "resolved";
  wintest::Context context("%s (%s)", s.name.c_str(), mode.c_str());
  const std::string link = dir + "one time\\" + mode + "-" + s.name + ".lnk";
  const std::string target = dir + s.targetName;
  const std::string record = dir + "record.txt";
  const std::string runDir = dir + "run dir\\";
  DirectMarkerTo(record);

  // Made as a user makes it: in the folder where it is to be, named relative to it and without
  // its extension. It is activated from another folder, as the shell does, so its line must name
  // it in full.
  const std::string made = dir + "one time\\";
  std::string options = "/clean " + Quote("/T:" + target) + " " +
                        Quote("/L:" + link.substr(made.size(), link.size() - made.size() - 4));
  if (!s.arguments.empty()) options += " " + Quote("/A:" + s.arguments);
  if (s.batch) {
    wintest::RunOptions inMade;
    inMade.cwd = made.c_str();
    wintest::WriteFileText(made + "make.cmd",
                           "@set PATH=" + wintest::ExeDir() + ";%PATH%\r\n@pathmint " + options);
    check_run(wintest::Run("cmd.exe /c make.cmd", inMade), 0);
  } else {
    check_run(RunPathmint(options, made.c_str()), 0);
  }
  std::string line = "-exec /T:" + Quote(target);
  if (!s.arguments.empty()) line += " /A:" + Quote(s.arguments);
  check_link(ReadLink(link), wintest::ExeDir() + "pathmint.exe", line + " /L:" + Quote(link));

  // A copy made before the first use still starts the target, but has no shortcut to remove.
  const std::string copy = dir + "one time\\copy.lnk";
  CopyFileA(link.c_str(), copy.c_str(), FALSE);
  if (throughShell) {
    check_shell_activation(link, runDir);
  } else {
    check_run(ActivateResolved(link, runDir), s.exitCode);
    ok(!FileExists(link), "the shortcut is still there");
  }
  check_marker(record, s.launches, runDir, s.markerArguments);

  DirectMarkerTo(record);
  check_run(ActivateResolved(copy, runDir), 1);
  check_marker(record, s.launches, runDir, s.markerArguments);
  ok(FileExists(copy), "the copy was removed");
  DeleteFileA(copy.c_str());
}

void RelaunchLineLimits(const std::string& dir) {
  wintest::Section("the relaunch line at its limit");
  // -exec /T:"target" /L:"link": 17 characters besides the two values.
  const std::string link = PathOfLength(dir, 120, ".lnk", 'o');
  auto lineOf = [&](size_t length) {
    return "/clean " + Quote("/T:" + PathOfLength("C:\\", length - 17 - link.size(), "", 'y')) +
           " " + Quote("/L:" + link);
  };
  std::vector<Case> cases = {
      {"line of 260", lineOf(260), 1, ""},
      {"line of 261", lineOf(261), 1, ""},
      {"arguments that do not fit",
       "/clean " + Quote("/T:" + dir + "mark er.exe") + " /A:" + std::string(200, 'a') + " " +
           Quote("/L:" + dir + "one time\\TooLong"),
       1, ""},
      {"target of 30,000 characters", "/clean /L:Huge /T:" + std::string(30000, 'h'), 1, ""},
  };
  // The link path alone at the limit leaves no room for the line.
  for (size_t length : {259u, 260u, 261u}) {
    cases.push_back({"link path of " + std::to_string(length),
                     "/clean /T:C:\\x.exe " + Quote("/L:" + PathOfLength(dir, length, ".lnk", 'c')),
                     1, ""});
  }
  run_cases(dir, cases);

  // The line that fits is written whole.
  const std::string name = link.substr(dir.size());
  Effect e = RunIn(dir, lineOf(259));
  check_effect(e, "+" + name, 0);
  check_link(e.links[name], wintest::ExeDir() + "pathmint.exe",
             "-exec /T:\"" + PathOfLength("C:\\", 259 - 17 - link.size(), "", 'y') + "\" /L:\"" +
                 link + "\"");
  // An empty argument list gives the line of two fields.
  e = RunIn(dir, "/clean /A: /T:C:\\x.exe /L:EmptyArgs");
  check_effect(e, "+EmptyArgs.lnk", 0);
  check_link(e.links["EmptyArgs.lnk"], wintest::ExeDir() + "pathmint.exe",
             "-exec /T:\"C:\\x.exe\" /L:\"" + dir + "EmptyArgs.lnk\"");
}

// A folder made below dir (single bytes) whose name is `bytes` long in code page 932: 表 (two
// bytes) in folders of 40 characters, and 'd' where the count is odd.
std::string TwoByteFolder(const std::string& dir, size_t bytes) {
  std::string path = dir;
  for (size_t run = 0; path.size() < bytes;) {
    const size_t left = bytes - path.size();
    if (run == 40 && left > 2) {
      CreateDirectoryW(wintest::Wide(path).c_str(), nullptr);
      path += '\\';
      run = 0;
    } else if (left % 2) {
      path += 'd';
    } else {
      path += "\x95\x5C";
      ++run;
    }
  }
  ok(CreateDirectoryW(wintest::Wide(path).c_str(), nullptr), "cannot make the folder of %u bytes",
     unsigned(bytes));
  return path;
}

void LongStartDirectory(const std::string& dir) {
  wintest::Section("a start-up directory at its limit in bytes");
  // It is kept with a backslash in 260 bytes. A directory of two-byte characters passes that
  // far below the platform's limit in characters, so a process does start there (with single
  // bytes none can). 258 bytes are kept: exec starts its target there.
  const std::string record = dir + "record.txt";
  const std::string kept = TwoByteFolder(dir, 258);
  ok(wintest::WriteFileText(dir + "run.lnk", ""), "cannot make run.lnk");
  DirectMarkerTo(record);
  check_run(RunPathmint("-exec " + Quote("/T:" + dir + "mark er.exe") + " " +
                            Quote("/L:" + dir + "run.lnk"),
                        kept.c_str()),
            0);
  check_marker(record, true, kept + "\\", {});
  for (size_t bytes : {259u, 300u}) {
    wintest::Context context("%u bytes", unsigned(bytes));
    check_run(RunPathmint("/L:x /T:y", TwoByteFolder(dir, bytes).c_str()), kUsageExit,
              "The current directory is too long for Pathmint.\n"
              "Start it from a directory with a shorter path.");
  }
}

// A target typed below System32 that only the 64-bit system folder holds: the one-time shortcut
// starts what an ordinary one started by the 64-bit shell starts.
void NativeSystemTarget(const std::string& dir) {
  wintest::Section("a target only the 64-bit system folder holds");
  const SystemViews v = GetSystemViews();
  if (!v.wow64) {
    skip("not a 32-bit program on 64-bit Windows: no system folder is redirected");
    return;
  }
  const std::string name = "pathmint-native-marker.exe";
  const std::string link = dir + "one time\\Native.lnk";
  const std::string record = dir + "record.txt";
  const std::string runDir = dir + "run dir\\";
  ok(PlaceMarker(v.other + name), "cannot place the marker through Sysnative");
  DirectMarkerTo(record);
  check_run(RunPathmint("/clean /T:C:\\windows\\system32\\" + name + " " + Quote("/L:" + link)), 0);
  check_run(ActivateResolved(link, runDir), 0);
  check_marker(record, true, runDir, {});
  ok(!FileExists(link), "the shortcut is still there");
  Remove(v.other + name);
}

}  // namespace

int main(int argc, char** argv) {
  // --ja: under code page 932 (the Japanese locale), whose characters 表 and ソ end in the byte of
  // a backslash.
  const bool japanese = argc > 1 && lstrcmpA(argv[1], "--ja") == 0;
  const std::string dir = wintest::ScratchDir(japanese ? "one time ja" : "one time");
  CreateDirectoryA((dir + "one time").c_str(), nullptr);
  CreateDirectoryA((dir + "run dir").c_str(), nullptr);
  ok(PlaceMarker(dir + "mark er.exe") && (japanese || PlaceMarker(dir + "M\xE4rker \xE9.exe")),
     "marker not copied");

  std::vector<Scenario> scenarios = {
      {"arguments",
       "mark er.exe",
       "\"two words\" C:\\Temp\\ \\\"q\\\" end\\",
       0,
       true,
       {"two words", "C:\\Temp\\", "\"q\"", "end\\"}},
      {"no-arguments", "mark er.exe", "", 0, true, {}},
      {"quotes-only", "mark er.exe", "\"", 0, true, {""}},
      {"cannot-start", "missing.exe", "x", 1, false, {}},
      // Names and arguments beyond ASCII in the ANSI code page round-trip byte for byte.
      {"Einmal \xFC\xE9",
       "M\xE4rker \xE9.exe",
       "\xE9\xE8 \"q\xFC\"",
       0,
       true,
       {"\xE9\xE8", "q\xFC"}},
  };
  if (japanese) {
    ok(GetACP() == 932, "code page %u, not 932", GetACP());
    // Arguments ソ 予定表, and 表 given to pathmint started by its bare name from a batch file.
    scenarios = {
        {"\x97\x5C\x92\xE8\x95\x5C", "mark er.exe", "\x83\x5C \x97\x5C\x92\xE8\x95\x5C", 0, true,
         {"\x83\x5C", "\x97\x5C\x92\xE8\x95\x5C"}},
        {"bare \x95\x5C", "mark er.exe", "\x95\x5C", 0, true, {"\x95\x5C"}, true},
    };
  }
  for (bool throughShell : {false, true}) {
    wintest::Section(throughShell ? "activated through the shell" : "activated as resolved");
    for (const Scenario& s : scenarios) RunScenario(s, throughShell, dir);
  }
  RelaunchLineLimits(dir);
  if (japanese) {
    LongStartDirectory(dir);
  } else {
    NativeSystemTarget(dir);
  }
  return wintest::Summary();
}
