// pathmint's INI argument file under Wine, read through the platform's profile reader: every key,
// names relative to the working directory, files that contribute nothing, the format box, and
// hostile files (megabytes, binary bytes, byte-order marks). Every run starts in a scratch folder;
// the file is never changed.
#include "pathmint_test.h"

using namespace pathmint;
using texts::DefaultsOf;
using texts::DumpText;

namespace {

std::string g_dir;
const std::string kBlockedRun = "/debug /L:" + std::string(kBlocked) + " /T:C:\\cmd.exe";

std::string Section(const std::string& body) { return "[LINK CONFIG]\r\n" + body; }

// Writes name in the scratch folder and gives its full path.
std::string WriteArgs(const std::string& name, const std::string& content) {
  std::string path = g_dir + name;
  ok(wintest::WriteFileText(path, content), "cannot write %s", path.c_str());
  return path;
}

// The dump of a run with an argument file and the blocked link path.
std::string BlockedDump(
    const std::string& target, void (*set)(Dump&) = [](Dump&) {}) {
  Dump d;
  d.cmdFile = true;
  d.link = kBlocked;
  d.target = target;
  set(d);
  return DumpText(d);
}

// A run with the file args.ini of this content, which it leaves as it was, within 20 seconds.
Effect RunWithFile(const std::string& content, const std::string& options) {
  const std::string file = WriteArgs("args.ini", content);
  const DWORD start = GetTickCount();
  Effect e = RunIn(g_dir, "/F " + Quote(file) + " " + options);
  const DWORD took = GetTickCount() - start;
  std::string now;
  ok(wintest::ReadFileText(file, &now) && now == content, "the argument file changed");
  ok(took < 20000, "took %lu ms", took);
  return e;
}

void EveryKeyThroughTheReader() {
  wintest::Section("every key, through the platform's profile reader");
  // The rules are tested with a reader of the tests' own (argument_file_test.cpp); here each key
  // name reaches the platform's reader once, and each value replaces the command line's. Three
  // folder flags given on the command line are turned off by the file, so the checks pass.
  Effect e = RunWithFile(
      Section("Target=C:\\t.exe\r\nArguments=-a\r\nLinkPath=" + std::string(kBlocked) +
              "\r\nIconPath=C:\\i.dll\r\nIconIndex=7\r\nFolder=0\r\nDesktop=0\r\n"
              "Favorites=1\r\nPrograms=0\r\nStart=0\r\nStartup=0\r\nCommon=1\r\nClean=1\r\n"
              "Farvorites=0\r\nDebug=0\r\nExec=1\r\n"),
      "/debug /folder /desktop /programs /start /startup /T:C:\\cmd.exe /A:cmd-args /I:cmd-icon");
  check_effect(e, "", 1, BlockedDump("C:\\t.exe", [](Dump& d) {
                 d.arguments = "-a";
                 d.icon = "C:\\i.dll";
                 d.index = 7;
                 d.favorites = true;
                 d.common = true;
                 d.clean = true;
               }));
}

void FilesThatContributeNothing() {
  wintest::Section("files that contribute nothing");
  const struct {
    const char* what;
    std::string file;
  } cases[] = {
      {"section named as in the format text",
       WriteArgs("dot.ini", "[LINK.CONFIG]\r\nTarget=C:\\x.exe\r\nLinkPath=App\r\nDesktop=1\r\n")},
      {"no section", WriteArgs("nosection.ini", "Target=C:\\x.exe\r\nLinkPath=App\r\n")},
      {"other section", WriteArgs("other.ini", "[LINK]\r\nTarget=C:\\x.exe\r\n")},
      {"directory", g_dir},
      {"missing file", g_dir + "missing.ini"},
      {"empty file", WriteArgs("empty.ini", "")},
      {"name of 30,000 characters", std::string(30000, 'h')},
  };
  for (const auto& c : cases) {
    wintest::Context context("%s", c.what);
    check_effect(RunIn(g_dir, kBlockedRun + " /F " + Quote(c.file)), "", 1,
                 BlockedDump("C:\\cmd.exe"));
  }
  // An empty name is no file at all.
  Dump none;
  none.cmdFile = true;
  check_effect(RunIn(g_dir, "/debug /F:"), "", kUsageExit, DumpText(none),
               Usage(texts::kMissingL, DefaultsOf(none, "")));
  // Names as a user types them, relative to the working directory, with or without a folder
  // part, are read there (the platform's reader would look for a bare name in the Windows folder).
  WriteArgs("bare.ini", Section("Target=C:\\x.exe\r\n"));
  ok(CreateDirectoryA((g_dir + "sub").c_str(), nullptr) != 0, "cannot make sub");
  Dump relative = none;
  relative.target = "C:\\x.exe";
  for (const char* name : {"bare.ini", ".\\bare.ini", "..\\bare.ini"}) {
    wintest::Context context("%s", name);
    check_effect(RunIn(g_dir, std::string("/debug /F ") + name, false,
                       name[0] == '.' && name[1] == '.' ? g_dir + "sub" : ""),
                 "", kUsageExit, DumpText(relative),
                 Usage(texts::kMissingL, DefaultsOf(relative, name)));
  }
  // A file whose full name does not fit the 260 bytes cannot be opened by that name: it counts
  // as missing.
  std::string deep = g_dir + "sub\\";
  while (deep.size() < 230) {
    deep += std::string(20, 'd') + "\\";
    CreateDirectoryA(deep.c_str(), nullptr);
  }
  const std::string tooLong = std::string(262 - deep.size(), 'a') + ".ini";
  ok(wintest::WriteFileText(deep + tooLong, Section("Target=C:\\x.exe\r\n")),
     "cannot write %s", tooLong.c_str());
  check_effect(RunIn(deep, "/debug /F " + tooLong), "", kUsageExit, DumpText(none),
               Usage(texts::kMissingL, DefaultsOf(none, tooLong)));
}

void LongValues() {
  wintest::Section("text values of 254 characters are taken, longer ones refused");
  const std::string y300(300, 'y'), y254(254, 'y');
  Dump d;
  d.cmdFile = true;
  d.arguments = y254;
  d.link = g_dir + "long";
  d.target = "C:\\windows\\notepad.exe";
  Effect e = RunWithFile(
      Section("Arguments=" + y254 + "\r\nLinkPath=" + d.link + "\r\nTarget=" + d.target + "\r\n"),
      "/debug");
  check_effect(e, "+long.lnk", 0, DumpText(d));
  check_link(e.links["long.lnk"], d.target, y254);
  // Not cut: the run ends with 1 and nothing is written, as with a target too long on the
  // command line.
  for (const std::string& values :
       {"Target=" + PathOfLength("C:\\", 291, ".exe"), "Arguments=" + y300 + "\r\nTarget=" + d.target}) {
    check_effect(RunWithFile(Section(values + "\r\nLinkPath=" + d.link + "\r\n"), ""), "", 1);
  }

  // Values, key names and section names of a megabyte.
  const std::string mega(1 << 20, 'm');
  check_effect(RunWithFile(Section("Target=" + mega + "\r\n"), kBlockedRun), "", 1,
               BlockedDump(mega.substr(0, 254)));
  check_effect(RunWithFile(Section(mega + "=1\r\nTarget=C:\\after.exe\r\n"), kBlockedRun), "", 1,
               BlockedDump("C:\\after.exe"));
  check_effect(RunWithFile("[" + mega + "]\r\nTarget=C:\\wrong.exe\r\n", kBlockedRun), "", 1,
               BlockedDump("C:\\cmd.exe"));
}

void FormatBox() {
  wintest::Section("format box");
  check_effect(RunIn(g_dir, "/fileformat"), "", kUsageExit, texts::FormatText(),
               Usage(texts::kMissingL));
  // Shown before the file is read and before the dump, whether or not the file exists.
  Dump d;
  d.fileformat = true;
  d.cmdFile = true;
  check_effect(RunIn(g_dir, "/fileformat /debug /F missing.ini"), "", kUsageExit,
               texts::FormatText(), DumpText(d),
               Usage(texts::kMissingL, DefaultsOf(d, "missing.ini")));
  // Then the file's values take effect and the run goes on to the action.
  check_effect(
      RunWithFile(Section("Target=C:\\x.exe\r\nLinkPath=" + std::string(kBlocked) + "\r\n"),
                  "-fileformat"),
      "", 1, texts::FormatText());
}

// Lines of other sections, keys and comments, about `size` bytes.
std::string Padding(size_t size) {
  std::string out;
  for (int i = 0; out.size() < size; ++i) {
    out += "[Other " + std::to_string(i) + "]\r\nTarget=C:\\other" + std::to_string(i) +
           ".exe\r\n; a comment line that takes some room in the file\r\nLinkPath=elsewhere\r\n";
  }
  return out;
}

void HostileFiles() {
  wintest::Section("hostile files");
  // Megabytes around the section: read all the same.
  const std::string section =
      Section("Target=C:\\from file.exe\r\nArguments=-big\r\nLinkPath=" + g_dir + "Big\r\n");
  check_effect(RunWithFile(Padding(4 << 20) + section, ""), "+Big.lnk", 0);
  check_effect(RunWithFile(section + Padding(4 << 20), ""), "+Big.lnk", 0);

  // Nothing is taken from binary bytes.
  check_effect(RunWithFile(wintest::RandomBytes(8 << 20, 1), kBlockedRun), "", 1,
               BlockedDump("C:\\cmd.exe"));
  check_effect(RunWithFile(std::string(1 << 20, '\0'), kBlockedRun), "", 1,
               BlockedDump("C:\\cmd.exe"));
  // A value of every byte value. What the profile reader makes of such a line is not documented:
  // the value expected is the platform reader's own, so this shows only that pathmint takes
  // the value the reader gives, whole, and nothing else.
  const std::string file =
      WriteArgs("bytes.ini", Section("Target=" + wintest::RandomBytes(200, 7) + "\r\n"));
  char value[256] = "";
  GetPrivateProfileStringA("LINK CONFIG", "Target", "", value, 255, file.c_str());
  check_effect(RunIn(g_dir, kBlockedRun + " /F " + Quote(file)), "", 1, BlockedDump(value));

  // A UTF-16 file with its byte-order mark, as an ANSI one, is read in the ANSI code page.
  const std::string cafe = "C:\\Caf\xE9\\app.exe";
  std::string utf16 = "\xFF\xFE";
  for (wchar_t c : std::wstring(L"[LINK CONFIG]\r\nTarget=C:\\Caf\u00e9\\app.exe\r\n")) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>(c >> 8);
  }
  check_effect(RunWithFile(utf16, kBlockedRun), "", 1, BlockedDump(cafe));
  check_effect(RunWithFile(Section("Target=" + cafe + "\r\n"), kBlockedRun), "", 1,
               BlockedDump(cafe));
  // The platform documents ANSI and UTF-16 profile files only: its reader takes a UTF-8 file's
  // bytes for ANSI ones (Wine's decodes one with a byte-order mark). Such a file is refused,
  // whatever it holds, before any action: with a link path that can be written, nothing is.
  const struct {
    const char* what;
    std::string content;
  } utf8Files[] = {
      {"UTF-8", Section("Target=C:\\Caf\xC3\xA9\\app.exe\r\n")},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + Section("Target=C:\\Caf\xC3\xA9\\app.exe\r\n")},
      {"ASCII with a UTF-8 mark", "\xEF\xBB\xBF" + Section("Target=C:\\app.exe\r\n")},
      {"UTF-8 after 4 MB of ASCII", Padding(4 << 20) + Section("Target=C:\\Caf\xC3\xA9.exe\r\n")},
  };
  for (const auto& f : utf8Files) {
    wintest::Context context("%s", f.what);
    check_effect(RunWithFile(f.content, "/debug /L:App /T:C:\\cmd.exe"), "", 1, texts::kUtf8File);
  }

  // Duplicates, long lines, many sections, odd numbers and keys: with /debug alone (the dump,
  // then the usage error of what is missing, or the action), and with a complete command line,
  // whose values the file's replace.
  std::string manySections;
  for (int i = 0; i < 2000; ++i) manySections += Section("Desktop=" + std::to_string(i) + "\r\n");
  const struct {
    const char* what;
    std::string content;
    void (*set)(Dump&);
    const char* missing;  // the usage error after the dump; none: the action runs and fails
    DWORD completeCode;
    const char* completeChanges;
  } rows[] = {
      {"duplicate keys and sections",
       Section("Target=first\r\nTarget=second\r\n") + Section("Target=third\r\n"),
       [](Dump& d) { d.target = "first"; }, texts::kMissingL, 1, ""},
      {"binary bytes after a key", Section("Target=\r") + wintest::RandomBytes(4096, 3),
       [](Dump&) {}, texts::kMissingL, 1, ""},
      {"very long lines",
       Section("Target=" + std::string(200000, 'q') + "\r\nLinkPath=" + std::string(70000, 'l') +
               "\r\n" + std::string(100000, '[') + "\r\n"),
       [](Dump& d) {
         d.target = std::string(254, 'q');
         d.link = std::string(254, 'l');
       },
       nullptr, 1, ""},
      {"many sections", manySections, [](Dump&) {}, texts::kMissingL, 1, ""},
      {"odd numbers and keys",
       Section("IconIndex=99999999999999999999\r\nFolder=-1\r\nClean=abc\r\n=value\r\nTarget\r\n"
               "LinkPath==x\r\n\"Target\"=\"quoted\"\r\n"),
       [](Dump& d) {
         d.link = "=x";
         // The platform documents no number for a text past 32 bits: the index expected is its
         // reader's own, so this shows only that pathmint takes the number the reader gives.
         d.index = static_cast<int>(GetPrivateProfileIntA("LINK CONFIG", "IconIndex", 0,
                                                          (g_dir + "args.ini").c_str()));
       },
       texts::kMissingT, 0, "+=x.lnk"},
      {"nothing but a header", "[LINK CONFIG", [](Dump&) {}, texts::kMissingL, 1, ""},
  };
  for (const auto& r : rows) {
    wintest::Context context("%s", r.what);
    Effect e = RunWithFile(r.content, "/debug");
    Dump d;
    d.cmdFile = true;
    r.set(d);  // after the run: the file is there to be read
    if (r.missing) {
      check_effect(e, "", kUsageExit, DumpText(d),
                   Usage(r.missing, DefaultsOf(d, g_dir + "args.ini")));
    } else {
      check_effect(e, "", 1, DumpText(d));
    }
    check_effect(RunWithFile(r.content, "/L:" + std::string(kBlocked) + " /T:C:\\x.exe"),
                 r.completeChanges, r.completeCode);
  }
}

void LockedFile() {
  wintest::Section("a file held open by another process without sharing");
  // It exists, but cannot be read: refused before any action, not taken as missing.
  const std::string file = WriteArgs("locked.ini", Section("Target=C:\\x.exe\r\n"));
  HANDLE lock = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ok(lock != INVALID_HANDLE_VALUE, "cannot lock %s", file.c_str());
  check_effect(RunIn(g_dir, "/debug /L:App /T:C:\\cmd.exe /F " + Quote(file)), "", 1,
               texts::kUnreadableFile);
  if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
}

}  // namespace

int main() {
  g_dir = wintest::ScratchDir("pathmint_argfile");
  wintest::WriteFileText(g_dir + "blocker.txt", "a file, so nothing can be made below it");
  EveryKeyThroughTheReader();
  FilesThatContributeNothing();
  LongValues();
  FormatBox();
  HostileFiles();
  LockedFile();
  return wintest::Summary();
}
