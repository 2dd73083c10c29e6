// pathmint's start-up under Wine: the real command-line splitting, the usage and consistency
// errors with their exact box texts and the 32-bit exit code, the settings dump.
#include <windows.h>

#include <string>

#include "usage_texts.h"
#include "wintest.h"

namespace {

using texts::Defaults;
using texts::Dump;
using texts::kUsageExit;
using texts::RunPathmint;
using texts::Usage;

void UsageErrors() {
  wintest::Section("usage errors");
  CHECK_RUN(RunPathmint(""), kUsageExit, Usage(texts::kMissingL));
  CHECK_RUN(RunPathmint("/Debug"), kUsageExit, Usage("Unknown option \"/Debug\""));
  CHECK_RUN(RunPathmint("readme.txt /desktop"), kUsageExit,
            Usage("Unexepected argument \"readme.txt\""));
  // No wildcard expansion of arguments by the runtime.
  CHECK_RUN(RunPathmint("*.*"), kUsageExit, Usage("Unexepected argument \"*.*\""));
  CHECK_RUN(RunPathmint("/folder:1"), kUsageExit, Usage("Unknown option \"/folder:1\""));
  CHECK_RUN(RunPathmint("/"), kUsageExit, Usage("Unknown option \"/\""));
  CHECK_RUN(RunPathmint("/t:x"), kUsageExit, Usage("Unknown option \"/t:x\""));
  CHECK_RUN(RunPathmint("%s%s%s%n"), kUsageExit, Usage("Unexepected argument \"%s%s%s%n\""));

  // Values taken before the error appear in the usage text.
  Defaults d;
  d.target = "x";
  d.index = "5";
  d.desktop = "on";
  CHECK_RUN(RunPathmint("-T:x /N 5 -desktop /T:y"), kUsageExit,
            Usage("Unknown option \"/T:y\"", d));
  // A flag never takes the next token; a value option always does.
  Defaults flagNext;
  flagNext.clean = "on";
  CHECK_RUN(RunPathmint("/clean abc"), kUsageExit, Usage("Unexepected argument \"abc\"", flagNext));
}

void ConsistencyErrors() {
  wintest::Section("consistency errors");
  CHECK_RUN(RunPathmint("/desktop /startup /L:App /T:C:\\x.exe"), kUsageExit,
            texts::kFolderCount);
  CHECK_RUN(RunPathmint("/favorites /programs /start"), kUsageExit, texts::kFolderCount);
  Defaults d;
  d.link = "App";
  CHECK_RUN(RunPathmint("/L:App"), kUsageExit, Usage(texts::kMissingT, d));
  d.target = "";
  CHECK_RUN(RunPathmint("/L:App /T:"), kUsageExit, Usage(texts::kMissingT, d));
  Defaults folder;
  folder.folder = "on";
  folder.clean = "on";
  folder.link = "Dir";
  CHECK_RUN(RunPathmint("/folder /clean /L:Dir"), kUsageExit,
            Usage(texts::kSelfDestructive, folder));
  // A deletion needs its target even with the folder flag.
  Defaults del;
  del.folder = "on";
  CHECK_RUN(RunPathmint("/delfile /folder"), kUsageExit, Usage(texts::kMissingT, del));
  // The checks do not look at exec: its shortcut path is required like any other.
  Defaults exec;
  exec.target = "C:\\x.exe";
  CHECK_RUN(RunPathmint("/exec /T:C:\\x.exe"), kUsageExit, Usage(texts::kMissingL, exec));
}

void DumpAndSplitting() {
  wintest::Section("settings dump and argument splitting");
  Dump d;
  d.link = "a";
  Defaults u;
  u.link = "a";
  CHECK_RUN(RunPathmint("/debug /L:a"), kUsageExit, texts::DumpText(d), Usage(texts::kMissingT, u));

  // Quotes and backslashes are resolved by the runtime's splitting: "\"" is a literal quote, and
  // two backslashes before a closing quote give one.
  Dump q;
  q.target = "C:\\Program Files\\My App\\app.exe";
  q.arguments = "say \"hi\" now";
  q.icon = "C:\\icons\\";
  q.link = "";
  q.index = -1;
  q.cmdFile = true;
  Defaults qu;
  qu.target = q.target;
  qu.arguments = q.arguments;
  qu.icon = q.icon;
  qu.link = "";
  qu.index = "-1";
  qu.file = "no such file.ini";
  CHECK_RUN(RunPathmint("/debug \"/T:C:\\Program Files\\My App\\app.exe\" "
                        "\"/A:say \\\"hi\\\" now\" \"/I:C:\\icons\\\\\" /N:-1 "
                        "/F \"no such file.ini\" /L:"),
            kUsageExit, texts::DumpText(q), Usage(texts::kMissingL, qu));

  // One-letter options match on their letter alone; numbers convert as atoi does.
  Dump m;
  m.target = "rget";
  m.index = 12;
  m.desktop = true;
  Defaults mu;
  mu.target = "rget";
  mu.index = "12";
  mu.desktop = "on";
  // A value option as the last token: the text stays unset.
  CHECK_RUN(RunPathmint("/debug /Target /N:12abc /desktop /L"), kUsageExit, texts::DumpText(m),
            Usage(texts::kMissingL, mu));
  // A value option takes the next token even when it looks like an option.
  Dump n;
  n.link = "/desktop";
  n.target = "";
  CHECK_RUN(RunPathmint("/debug /N:x /L /desktop /T:"), kUsageExit, texts::DumpText(n),
            Usage(texts::kMissingT, [] {
              Defaults v;
              v.link = "/desktop";
              v.target = "";
              return v;
            }()));
}

void ValidRuns() {
  wintest::Section("valid settings reach the action");
  std::string dir = wintest::ScratchDir("pathmint_startup");
  wintest::WriteFileText(dir + "file.txt", "not a folder");

  // A shortcut below a file cannot be written: the action fails, exit code 1, no box.
  CHECK_RUN(RunPathmint("/L:" + wintest::Quote(dir + "file.txt\\App") + " /T:C:\\x.exe"), 1);
  // The same with a folder.
  CHECK_RUN(RunPathmint("/folder /L:" + wintest::Quote(dir + "file.txt\\Sub")), 1);

  // A folder in the scratch directory: exit code 0 exactly when it was made.
  texts::Outcome made = RunPathmint("/folder " + wintest::Quote("/L:" + dir + "New Folder"));
  ok(made.ran && made.boxes.empty(), "folder run showed %u boxes", unsigned(made.boxes.size()));
  ok(made.exitCode <= 1, "folder run ended with 0x%08lX", made.exitCode);
  ok((made.exitCode == 0) == wintest::FileExists(dir + "New Folder"),
     "exit code %lu does not match what was made", made.exitCode);

  // The dump with every switch on, then a deletion that passes the checks without a link path.
  Dump all;
  all.start = all.common = all.clean = all.exec = all.cmdFile = false;
  all.startup = true;
  all.common = true;
  all.target = dir + "missing.txt";
  texts::Outcome del =
      RunPathmint("/debug /delfile /startup /common " + wintest::Quote("/T:" + all.target));
  ok(del.ran && del.exitCode <= 1, "delete run ended with 0x%08lX", del.exitCode);
  ok(del.boxes.size() == 1 && del.boxes[0].text == texts::DumpText(all), "delete run dump: %s",
     del.boxes.empty() ? "none" : texts::Visible(del.boxes[0].text).c_str());

  // A long target: the dump is cut, nothing breaks.
  std::string longTarget(3000, 'x');
  texts::Outcome cut = RunPathmint("/debug /L:" + wintest::Quote(dir + "file.txt\\App") +
                                   " /T:" + longTarget);
  ok(cut.ran && cut.exitCode == 1, "long target run ended with 0x%08lX", cut.exitCode);
  ok(cut.boxes.size() == 1 && cut.boxes[0].text.size() == 2047, "long dump of %u bytes",
     cut.boxes.empty() ? 0u : unsigned(cut.boxes[0].text.size()));
}

}  // namespace

int main() {
  UsageErrors();
  ConsistencyErrors();
  DumpAndSplitting();
  ValidRuns();
  return wintest::Summary();
}
