// Bad-input campaign on pathmint's command line: lines at and past the platform's limit of 32,767
// characters, every option given twice, empty and huge values, and bytes beyond ASCII in the
// ANSI code page. Each run must end with its documented exit code and exactly the documented
// boxes, and change the scratch folder only as asked (nothing at all after an error).
#include <windows.h>
#include <shlobj.h>

#include <climits>
#include <string>
#include <vector>

#include "campaign_common.h"
#include "shell_checks.h"
#include "usage_texts.h"
#include "wintest.h"

namespace {

using campaign::Changes;
using campaign::Snapshot;
using campaign::Tree;
using texts::Defaults;
using texts::kUsageExit;
using texts::Usage;
using wintest::Quote;

std::string g_dir;  // scratch folder; every run starts in it
const char kBlocked[] = "blocker.txt\\App";  // below a file: every action on it fails

// Runs pathmint in the scratch folder and checks that the folder did not change.
texts::Outcome RunUnchanged(const char* what, const std::string& arguments) {
  Tree before = Snapshot(g_dir);
  texts::Outcome o = texts::RunPathmint(arguments, g_dir.c_str());
  std::string changes = Changes(before, Snapshot(g_dir));
  ok(changes.empty(), "%s: the folder changed: [%s]", what, changes.c_str());
  return o;
}

// The arguments of a shortcut, read through the shell object with room for long ones.
std::string LinkArguments(const std::string& file) {
  std::string out = "<not loaded>";
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return out;
  }
  IPersistFile* persist = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
    if (SUCCEEDED(persist->Load(campaign::Wide(file).c_str(), STGM_READ))) {
      std::vector<char> buffer(70000, '\0');
      link->GetArguments(buffer.data(), static_cast<int>(buffer.size()));
      out = buffer.data();
    }
    persist->Release();
  }
  link->Release();
  return out;
}

void LineLimit() {
  wintest::Section("command line at and past 32,767 characters");
  const std::string program = Quote(wintest::ExeDir() + "pathmint.exe") + " ";
  // 32,766 characters and the terminator: the longest line the platform starts.
  const size_t longest = 32766;

  // The usage text then holds the whole token: more than the 32,000 characters that Wine's
  // message box shows, so only its end is seen here (the full text is checked below with a
  // token of 30,000 characters).
  std::string head = "/L:x ";
  std::string token(longest - program.size() - head.size(), 'z');
  texts::Outcome o = RunUnchanged("longest line, stray token", head + token);
  ok(o.ran && o.exitCode == kUsageExit, "longest line, stray token: exit 0x%08lX", o.exitCode);
  ok(o.boxes.size() == 1 && o.boxes[0].caption == texts::kCaption,
     "longest line, stray token: %u boxes", unsigned(o.boxes.size()));

  head = "/L:" + std::string(kBlocked) + " /T:";
  std::string target(longest - program.size() - head.size(), 't');
  CHECK_RUN(RunUnchanged("longest line, huge target", head + target), 1);

  // One character more, and far more: the platform refuses to start the process at all.
  for (size_t length : {longest + 1, size_t(40000)}) {
    Tree before = Snapshot(g_dir);
    wintest::BoxWatcher watcher(texts::kCaption);
    std::string line = program + "/L:x " + std::string(length - program.size() - 5, 'z');
    wintest::ProcessResult r = wintest::Run(line, g_dir.c_str(), 30000);
    std::vector<wintest::Box> boxes = watcher.Stop();
    ok(!r.started && GetLastError() == ERROR_INVALID_PARAMETER,
       "line of %u characters: started %d, error %lu", unsigned(length), r.started, GetLastError());
    ok(boxes.empty() && Changes(before, Snapshot(g_dir)).empty(), "line of %u characters: effects",
       unsigned(length));
  }
}

void EveryOptionTwice() {
  wintest::Section("every option given twice");
  struct Case {
    const char* first;
    const char* second;
    void (*set)(Defaults&);
  };
  const Case cases[] = {
      {"/debug", "/debug", [](Defaults&) {}},
      {"/folder", "-folder", [](Defaults& d) { d.folder = "on"; }},
      {"/desktop", "/desktop", [](Defaults& d) { d.desktop = "on"; }},
      {"-favorites", "/favorites", [](Defaults& d) { d.favorites = "on"; }},
      {"/programs", "/programs", [](Defaults& d) { d.programs = "on"; }},
      {"/start", "/start", [](Defaults& d) { d.start = "on"; }},
      {"/startup", "/startup", [](Defaults& d) { d.startup = "on"; }},
      {"/common", "/common", [](Defaults& d) { d.common = "on"; }},
      {"/T:a", "/T:b", [](Defaults& d) { d.target = "a"; }},
      {"-A:a", "/A:b", [](Defaults& d) { d.arguments = "a"; }},
      {"/L:a", "-L:b", [](Defaults& d) { d.link = "a"; }},
      {"/I:a", "/I:b", [](Defaults& d) { d.icon = "a"; }},
      {"/N:1", "/N:2", [](Defaults& d) { d.index = "1"; }},
      {"/fileformat", "/fileformat", [](Defaults&) {}},
      {"/clean", "/clean", [](Defaults& d) { d.clean = "on"; }},
      {"/exec", "/exec", [](Defaults&) {}},
      {"/delfile", "/delfile", [](Defaults&) {}},
      {"/F:a.ini", "/F:b.ini", [](Defaults& d) { d.file = "a.ini"; }},
      // The value as the next token: the second "/T" is the unknown option.
      {"/T a", "/T", [](Defaults& d) { d.target = "a"; }},
  };
  for (const Case& c : cases) {
    Defaults d;
    c.set(d);
    std::string line = std::string(c.first) + " " + c.second;
    CHECK_RUN(RunUnchanged(line.c_str(), line + " /L:x /T:y"), kUsageExit,
              Usage(std::string("Unknown option \"") + c.second + "\"", d));
  }
}

void EmptyValues() {
  wintest::Section("empty values");
  CHECK_RUN(RunUnchanged("empty token", "\"\""), kUsageExit, Usage("Unexepected argument \"\""));
  Defaults d;
  d.link = "";
  d.target = "x";
  CHECK_RUN(RunUnchanged("empty link", "/L: /T:x"), kUsageExit, Usage(texts::kMissingL, d));
  d = Defaults();
  d.link = kBlocked;
  d.target = "";
  CHECK_RUN(RunUnchanged("empty target token", "/L:" + std::string(kBlocked) + " /T \"\""),
            kUsageExit, Usage(texts::kMissingT, d));

  // Empty optional values count as absent: a plain shortcut without arguments or icon.
  Tree before = Snapshot(g_dir);
  texts::Outcome o = texts::RunPathmint("/A: /I: /N: /F: /L:Empty /T:C:\\x.exe", g_dir.c_str());
  CHECK_RUN(o, 0);
  ok(Changes(before, Snapshot(g_dir)) == "+Empty.lnk", "empty values: [%s]",
     Changes(before, Snapshot(g_dir)).c_str());
  shellcheck::LinkContents contents = shellcheck::ReadLink(g_dir + "Empty.lnk");
  ok(contents.loaded && contents.path == "C:\\x.exe" && contents.arguments.empty() &&
         contents.iconPath.empty() && contents.iconIndex == 0,
     "empty values: path [%s] arguments [%s] icon [%s],%d", contents.path.c_str(),
     contents.arguments.c_str(), contents.iconPath.c_str(), contents.iconIndex);
  DeleteFileA((g_dir + "Empty.lnk").c_str());

  // An empty argument list gives the two-field relaunch line.
  o = texts::RunPathmint("/clean /A: /T:C:\\x.exe /L:EmptyArgs", g_dir.c_str());
  CHECK_RUN(o, 0);
  ok(LinkArguments(g_dir + "EmptyArgs.lnk") == "-exec /T:\"C:\\x.exe\" /L:\"EmptyArgs.lnk\"",
     "relaunch line [%s]", LinkArguments(g_dir + "EmptyArgs.lnk").c_str());
  DeleteFileA((g_dir + "EmptyArgs.lnk").c_str());
}

void HugeValues() {
  wintest::Section("huge values");
  const std::string huge(30000, 'h');
  const std::string blocked = " /L:" + std::string(kBlocked);

  // Nothing can come of a 30,000-character link path, target or argument file name.
  CHECK_RUN(RunUnchanged("huge link", "/T:C:\\x.exe /L:" + huge), 1);
  CHECK_RUN(RunUnchanged("huge link folder", "/folder /L:" + huge), 1);
  CHECK_RUN(RunUnchanged("huge target, clean", "/clean /L:Huge /T:" + huge), 1);
  CHECK_RUN(RunUnchanged("huge target, delfile", "/delfile /T:" + huge), 1);
  CHECK_RUN(RunUnchanged("huge argument file", "/F:" + huge + blocked + " /T:x"), 1);
  CHECK_RUN(RunUnchanged("huge unknown option", "/" + huge), kUsageExit,
            Usage("Unknown option \"/" + huge + "\""));

  // exec: a target no path can be is not launched (the platform's launcher crashes on one of
  // 1,000 characters); the run fails and the shortcut is still removed.
  for (size_t length : {size_t(260), size_t(1000), huge.size()}) {
    ok(wintest::WriteFileText(g_dir + "Exec.lnk", "x"), "cannot write Exec.lnk");
    Tree before = Snapshot(g_dir);
    campaign::DebuggedRun r = campaign::RunDebugged(
        Quote(wintest::ExeDir() + "pathmint.exe") + " /exec /L:Exec /T:" + std::string(length, 'h'),
        g_dir.c_str(), 15000);
    ok(r.started && !r.crashed && !r.timedOut && r.exitCode == 1,
       "exec, target of %u: exit 0x%08lX%s", unsigned(length), r.exitCode,
       r.crashed ? " (crashed)" : r.timedOut ? " (did not end)" : "");
    ok(Changes(before, Snapshot(g_dir)) == "-Exec.lnk", "exec, target of %u: [%s]",
       unsigned(length), Changes(before, Snapshot(g_dir)).c_str());
    DeleteFileA((g_dir + "Exec.lnk").c_str());
  }
  // Huge arguments reach the launched program whole.
  const std::string marker = g_dir + "marker.exe";
  const std::string record = g_dir + "record.txt";
  ok(shellcheck::PlaceMarker(marker), "marker not copied");
  shellcheck::DirectMarkerTo(record);
  ok(wintest::WriteFileText(g_dir + "Exec.lnk", "x"), "cannot write Exec.lnk");
  CHECK_RUN(texts::RunPathmint("/exec /L:Exec /T:marker.exe /A:" + huge, g_dir.c_str()), 0);
  std::vector<std::string> fields;
  ok(shellcheck::WaitForMarker(record, &fields) && fields.size() == 2 && fields[1] == huge,
     "huge arguments: the target got %u fields", unsigned(fields.size()));
  ok(!wintest::FileExists(g_dir + "Exec.lnk"), "huge arguments: the shortcut is still there");
  DeleteFileA(record.c_str());
  DeleteFileA(marker.c_str());
  Tree before;

  // Numbers saturate; the dump shows the value held.
  for (const char* sign : {"", "-"}) {
    texts::Dump dump;
    dump.link = kBlocked;
    dump.target = "x";
    dump.index = *sign ? INT_MIN : INT_MAX;
    CHECK_RUN(RunUnchanged("huge number", std::string("/debug /N:") + sign +
                                              std::string(20000, '9') + blocked + " /T:x"),
              1, texts::DumpText(dump));
  }
  // A dump longer than the box's 2,047 characters is cut there.
  texts::Dump longDump;
  longDump.link = kBlocked;
  longDump.target = huge;
  CHECK_RUN(RunUnchanged("huge dump", "/debug" + blocked + " /T:" + huge), 1,
            texts::DumpText(longDump).substr(0, 2047));

  // Arguments are handed to the shell object whole.
  before = Snapshot(g_dir);
  CHECK_RUN(texts::RunPathmint("/L:HugeArgs /T:C:\\x.exe /A:" + huge, g_dir.c_str()), 0);
  ok(Changes(before, Snapshot(g_dir)) == "+HugeArgs.lnk", "huge arguments: [%s]",
     Changes(before, Snapshot(g_dir)).c_str());
  ok(LinkArguments(g_dir + "HugeArgs.lnk") == huge, "huge arguments: %u characters kept",
     unsigned(LinkArguments(g_dir + "HugeArgs.lnk").size()));
  DeleteFileA((g_dir + "HugeArgs.lnk").c_str());
}

void BeyondAscii() {
  wintest::Section("bytes beyond ASCII in the ANSI code page");
  if (!ok(GetACP() == 1252, "ANSI code page %u, the cases are written for 1252", GetACP())) return;
  // Letters, the euro sign, and the five bytes that code page 1252 leaves undefined.
  const std::string link = "Caf\xE9 \xC0\xFF\x80\x9F \x81\x8D\x8F\x90\x9D";
  const std::string target = "C:\\\xC9t\xE9\\app\xAE.exe";
  const std::string arguments = "\xAB\xBB \xA7 \xE4\xF6\xFC";
  Tree before = Snapshot(g_dir);
  CHECK_RUN(texts::RunPathmint(Quote("/L:" + link) + " " + Quote("/T:" + target) + " " +
                                   Quote("/A:" + arguments),
                               g_dir.c_str()),
            0);
  ok(Changes(before, Snapshot(g_dir)) == "+" + link + ".lnk", "shortcut: [%s]",
     Changes(before, Snapshot(g_dir)).c_str());
  shellcheck::LinkContents contents = shellcheck::ReadLink(g_dir + link + ".lnk");
  ok(contents.loaded && contents.path == target && contents.arguments == arguments,
     "shortcut holds [%s] [%s]", contents.path.c_str(), contents.arguments.c_str());
  DeleteFileA((g_dir + link + ".lnk").c_str());

  CHECK_RUN(RunUnchanged("unknown option", "/\xE9t\xE9"), kUsageExit,
            Usage("Unknown option \"/\xE9t\xE9\""));

  const std::string folder = "Ordner \xDC\xDF";
  before = Snapshot(g_dir);
  CHECK_RUN(texts::RunPathmint("/folder " + Quote("/L:" + folder), g_dir.c_str()), 0);
  ok(Changes(before, Snapshot(g_dir)) == "+" + folder, "folder: [%s]",
     Changes(before, Snapshot(g_dir)).c_str());
  RemoveDirectoryA((g_dir + folder).c_str());

  // A self-removing shortcut to a target with such a name, activated as the shell would.
  const std::string marker = g_dir + "M\xE4rker \xE9.exe";
  const std::string record = g_dir + "record.txt";
  ok(shellcheck::PlaceMarker(marker), "marker not copied");
  const std::string once = "Einmal \xFC\xE9";
  CHECK_RUN(texts::RunPathmint("/clean " + Quote("/T:" + marker) + " " +
                                   Quote("/A:\xE9\xE8 \"q\xFC\"") + " " + Quote("/L:" + once),
                               g_dir.c_str()),
            0);
  contents = shellcheck::ReadLink(g_dir + once + ".lnk");
  shellcheck::DirectMarkerTo(record);
  wintest::ProcessResult r =
      wintest::Run(Quote(contents.path) + " " + contents.arguments, g_dir.c_str(), 30000);
  ok(r.started && r.exitCode == 0, "activation: exit %lu", r.exitCode);
  std::vector<std::string> fields;
  ok(shellcheck::WaitForMarker(record, &fields) && fields.size() == 3 && fields[1] == "\xE9\xE8" &&
         fields[2] == "q\xFC",
     "target got %s", shellcheck::Join(fields).c_str());
  ok(!wintest::FileExists(g_dir + once + ".lnk"), "the shortcut is still there");
  DeleteFileA(record.c_str());
  DeleteFileA(marker.c_str());
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  g_dir = wintest::ScratchDir("campaign_command_line");
  wintest::WriteFileText(g_dir + "blocker.txt", "a file, so nothing can be made below it");
  LineLimit();
  EveryOptionTwice();
  EmptyValues();
  HugeValues();
  BeyondAscii();
  CoUninitialize();
  return wintest::Summary();
}
