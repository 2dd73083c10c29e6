// pathmint's INI argument file under Wine, read through the platform's profile reader: each key,
// values that replace the command line's, the format box, and hostile files.
#include <windows.h>

#include <string>

#include "shell_checks.h"
#include "usage_texts.h"
#include "wintest.h"

namespace {

using texts::Defaults;
using texts::Dump;
using texts::kUsageExit;
using texts::RunPathmint;
using texts::Usage;

std::string g_dir;  // scratch folder; every run starts in it
const char kBlocked[] = "blocker.txt\\App";  // a link path below a file: the action always fails

std::string Section(const std::string& body) {
  return "[LINK CONFIG]\r\n" + body;
}

// Writes name in the scratch folder and returns its full path.
std::string WriteArgs(const char* name, const std::string& content) {
  std::string path = g_dir + name;
  ok(wintest::WriteFileText(path, content), "cannot write %s", path.c_str());
  return path;
}

texts::Outcome Run(const std::string& arguments) {
  return RunPathmint(arguments, g_dir.c_str());
}

// The dump box of a run that starts with /debug, or "" when there was none.
std::string DumpOf(const texts::Outcome& o) {
  return o.boxes.empty() ? std::string() : o.boxes[0].text;
}

void EachKeyAlone() {
  wintest::Section("each key alone");
  // The command line makes the settings complete, so the run goes on to an action that fails.
  struct Case {
    const char* line;
    void (*set)(Dump&);
  };
  const Case cases[] = {
      {"Target=C:\\Tools\\app.exe", [](Dump& d) { d.target = "C:\\Tools\\app.exe"; }},
      {"Arguments=-x -y", [](Dump& d) { d.arguments = "-x -y"; }},
      {"LinkPath=nodir\\Start Here", [](Dump& d) { d.link = "nodir\\Start Here"; }},
      {"IconPath=C:\\icons.dll", [](Dump& d) { d.icon = "C:\\icons.dll"; }},
      {"IconIndex=7", [](Dump& d) { d.index = 7; }},
      {"Folder=1", [](Dump& d) { d.folder = true; }},
      {"Desktop=1", [](Dump& d) { d.desktop = true; }},
      {"Favorites=1", [](Dump& d) { d.favorites = true; }},
      {"Programs=1", [](Dump& d) { d.programs = true; }},
      {"Start=1", [](Dump& d) { d.start = true; }},
      {"Startup=1", [](Dump& d) { d.startup = true; }},
      {"Common=1", [](Dump& d) { d.common = true; }},
      {"Clean=1", [](Dump& d) { d.clean = true; }},
      // Neither the format text's spelling nor keys the file has no place for take effect.
      {"Farvorites=1", [](Dump&) {}},
      {"Debug=0", [](Dump&) {}},
      {"Exec=1", [](Dump&) {}},
      {"Version=1.0", [](Dump&) {}},
  };
  for (const Case& c : cases) {
    std::string file = WriteArgs("one.ini", Section(std::string(c.line) + "\r\n"));
    Dump want;
    want.cmdFile = true;
    want.link = kBlocked;
    want.target = "C:\\cmd.exe";
    c.set(want);
    texts::Outcome o =
        Run("/debug /L:" + std::string(kBlocked) + " /T:C:\\cmd.exe /F " + wintest::Quote(file));
    ok(o.ran && o.exitCode == 1, "%s: exit code 0x%08lX", c.line, o.exitCode);
    ok(o.boxes.size() == 1, "%s: %u boxes", c.line, unsigned(o.boxes.size()));
    ok(DumpOf(o) == texts::DumpText(want), "%s: dump [%s]", c.line,
       texts::Visible(DumpOf(o)).c_str());
  }
}

void FileOverridesCommandLine() {
  wintest::Section("file values replace command-line values");
  // Desktop=0 turns the command line's flag off; an empty Target keeps the command line's.
  std::string file = WriteArgs("over.ini", Section("Desktop=0\r\nTarget=\r\nIconIndex=-5\r\n"));
  Dump d;
  d.cmdFile = true;
  d.target = "C:\\cmd.exe";
  d.link = kBlocked;
  d.index = 3;
  CHECK_RUN(Run("/debug /desktop /T:C:\\cmd.exe /N:3 /L:" + std::string(kBlocked) + " /F:" +
                wintest::Quote(file)),
            1, texts::DumpText(d));

  // A target from the file satisfies the "-T" check.
  file = WriteArgs("target.ini", Section("Target=C:\\from file.exe\r\n"));
  d = Dump();
  d.cmdFile = true;
  d.target = "C:\\from file.exe";
  d.link = kBlocked;
  CHECK_RUN(Run("/debug /L:" + std::string(kBlocked) + " /F " + wintest::Quote(file)), 1,
            texts::DumpText(d));

  // Desktop=2 counts as on: together with the command line's startup it is one folder too many.
  file = WriteArgs("two.ini", Section("Desktop=2\r\nLinkPath=x\r\nTarget=y\r\n"));
  CHECK_RUN(Run("/startup /F " + wintest::Quote(file)), kUsageExit, texts::kFolderCount);

  // Four text keys give four different fields; the file's values win over the command line's.
  file = WriteArgs("four.ini", Section("Target=C:\\t.exe\r\nArguments=-a\r\nLinkPath=" +
                                       std::string(kBlocked) + "\r\nIconPath=C:\\i.dll\r\n"));
  d = Dump();
  d.cmdFile = true;
  d.target = "C:\\t.exe";
  d.arguments = "-a";
  d.link = kBlocked;
  d.icon = "C:\\i.dll";
  CHECK_RUN(Run("/debug /A:cmd-args /I:cmd-icon /F " + wintest::Quote(file)), 1,
            texts::DumpText(d));
}

void FilesThatContributeNothing() {
  wintest::Section("files that contribute nothing");
  Dump none;
  none.cmdFile = true;
  none.link = kBlocked;
  none.target = "C:\\cmd.exe";
  Defaults u;
  struct Case {
    const char* what;
    std::string file;
  };
  const Case cases[] = {
      {"section named as in the format text",
       WriteArgs("dot.ini", "[LINK.CONFIG]\r\nTarget=C:\\x.exe\r\nLinkPath=App\r\nDesktop=1\r\n")},
      {"no section", WriteArgs("nosection.ini", "Target=C:\\x.exe\r\nLinkPath=App\r\n")},
      {"other section", WriteArgs("other.ini", "[LINK]\r\nTarget=C:\\x.exe\r\n")},
      {"directory", g_dir},
      {"missing file", g_dir + "missing.ini"},
      {"empty file", WriteArgs("empty.ini", "")},
  };
  for (const Case& c : cases) {
    texts::Outcome o = Run("/debug /L:" + std::string(kBlocked) + " /T:C:\\cmd.exe /F " +
                           wintest::Quote(c.file));
    ok(o.ran && o.exitCode == 1, "%s: exit code 0x%08lX", c.what, o.exitCode);
    ok(o.boxes.size() == 1 && DumpOf(o) == texts::DumpText(none), "%s: %u boxes, first [%s]",
       c.what, unsigned(o.boxes.size()), texts::Visible(DumpOf(o)).c_str());
  }
  // An empty name is no file at all.
  Dump emptyName;
  emptyName.cmdFile = true;
  u.file = "";
  CHECK_RUN(Run("/debug /F:"), kUsageExit, texts::DumpText(emptyName), Usage(texts::kMissingL, u));

  // A bare file name passes the existence test in the current directory but goes to the profile
  // reader unchanged, and the reader looks for bare names in the Windows directory.
  WriteArgs("bare.ini", Section("Target=C:\\x.exe\r\n"));
  u.file = "bare.ini";
  CHECK_RUN(Run("/debug /F bare.ini"), kUsageExit, texts::DumpText(emptyName),
            Usage(texts::kMissingL, u));
  // With a directory part the same file is read.
  Dump relative;
  relative.cmdFile = true;
  relative.target = "C:\\x.exe";
  u.file = ".\\bare.ini";
  u.target = "C:\\x.exe";
  CHECK_RUN(Run("/debug /F .\\bare.ini"), kUsageExit, texts::DumpText(relative),
            Usage(texts::kMissingL, u));
}

void LongValues() {
  wintest::Section("long values are cut to 254 characters");
  const std::string y300(300, 'y');
  std::string link = g_dir + "long";
  std::string file = WriteArgs("long.ini", Section("Arguments=" + y300 + "\r\nLinkPath=" + link +
                                                   "\r\nTarget=C:\\windows\\notepad.exe\r\n"));
  Dump d;
  d.cmdFile = true;
  d.arguments = std::string(254, 'y');
  d.link = link;
  d.target = "C:\\windows\\notepad.exe";
  CHECK_RUN(Run("/debug /F " + wintest::Quote(file)), 0, texts::DumpText(d));
  shellcheck::LinkContents contents = shellcheck::ReadLink(link + ".lnk");
  ok(contents.loaded, "no shortcut written at %s.lnk", link.c_str());
  ok(contents.arguments == std::string(254, 'y'), "shortcut arguments of %u characters",
     unsigned(contents.arguments.size()));

  // 254 characters arrive whole.
  file = WriteArgs("exact.ini", Section("Arguments=" + std::string(254, 'z') + "\r\n"));
  d = Dump();
  d.cmdFile = true;
  d.arguments = std::string(254, 'z');
  texts::Outcome o = Run("/debug /F " + wintest::Quote(file));
  ok(DumpOf(o) == texts::DumpText(d), "254 characters: dump [%s]", DumpOf(o).c_str());
}

void FormatBox() {
  wintest::Section("format box");
  CHECK_RUN(Run("/fileformat"), kUsageExit, texts::FormatText(), Usage(texts::kMissingL));
  // Shown before the file is read and before the dump, whether or not the file exists.
  Dump d;
  d.fileformat = true;
  d.cmdFile = true;
  Defaults u;
  u.file = "missing.ini";
  CHECK_RUN(Run("/fileformat /debug /F missing.ini"), kUsageExit, texts::FormatText(),
            texts::DumpText(d), Usage(texts::kMissingL, u));
  // Then the file's values take effect and the run goes on to the action.
  std::string file = WriteArgs("fmt.ini", Section("Target=C:\\x.exe\r\nLinkPath=" +
                                                  std::string(kBlocked) + "\r\n"));
  CHECK_RUN(Run("/F " + wintest::Quote(file) + " -fileformat"), 1, texts::FormatText());
}

void HostileFiles() {
  wintest::Section("hostile files");
  std::string binary = "[LINK CONFIG]\r\nTarget=";
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919 + 13) & 0xFF);
  std::string longLine = Section("Target=" + std::string(200000, 'q') + "\r\nLinkPath=" +
                                 std::string(70000, 'l') + "\r\n" + std::string(100000, '[') +
                                 "\r\n");
  std::string duplicates = Section("Target=first\r\nTarget=second\r\n") + Section("Target=third\r\n");
  std::string manyKeys;
  for (int i = 0; i < 2000; ++i) manyKeys += "[LINK CONFIG]\r\nDesktop=" + std::to_string(i) + "\r\n";
  std::string odd = Section("IconIndex=99999999999999999999\r\nFolder=-1\r\nClean=abc\r\n"
                            "=value\r\nTarget\r\nLinkPath==x\r\n\"Target\"=\"quoted\"\r\n");
  struct Case {
    const char* what;
    std::string content;
  } cases[] = {
      {"binary bytes", binary},
      {"very long lines", longLine},
      {"duplicate keys and sections", duplicates},
      {"many sections", manyKeys},
      {"odd numbers and keys", odd},
      {"nothing but a header", "[LINK CONFIG"},
  };
  for (const Case& c : cases) {
    std::string file = WriteArgs("hostile.ini", c.content);
    for (const char* extra : {" /debug", " /L:blocker.txt\\App /T:C:\\x.exe"}) {
      texts::Outcome o = Run("/F " + wintest::Quote(file) + extra);
      ok(o.ran, "%s%s: did not end", c.what, extra);
      ok(o.exitCode == 0 || o.exitCode == 1 || o.exitCode == kUsageExit,
         "%s%s: exit code 0x%08lX", c.what, extra, o.exitCode);
      ok(o.boxes.size() <= 2, "%s%s: %u boxes", c.what, extra, unsigned(o.boxes.size()));
    }
  }
  // Duplicates: one of the values, and never a mixture.
  std::string file = WriteArgs("dup.ini", duplicates);
  texts::Outcome o = Run("/debug /F " + wintest::Quote(file));
  Dump first;
  first.cmdFile = true;
  first.target = "first";
  ok(DumpOf(o) == texts::DumpText(first), "duplicates: dump [%s]", texts::Visible(DumpOf(o)).c_str());

  // A file that another process holds open without sharing: it exists but cannot be read.
  file = WriteArgs("locked.ini", Section("Target=C:\\x.exe\r\n"));
  HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ok(lock != INVALID_HANDLE_VALUE, "cannot lock %s", file.c_str());
  Dump locked;
  locked.cmdFile = true;
  o = Run("/debug /F " + wintest::Quote(file));
  ok(o.ran && o.exitCode == kUsageExit, "locked file: exit code 0x%08lX", o.exitCode);
  ok(DumpOf(o) == texts::DumpText(locked), "locked file: dump [%s]",
     texts::Visible(DumpOf(o)).c_str());
  if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
}

}  // namespace

int main() {
  g_dir = wintest::ScratchDir("pathmint_argfile");
  wintest::WriteFileText(g_dir + "blocker.txt", "a file, so nothing can be made below it");
  EachKeyAlone();
  FileOverridesCommandLine();
  FilesThatContributeNothing();
  LongValues();
  FormatBox();
  HostileFiles();
  return wintest::Summary();
}
