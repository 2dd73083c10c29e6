// pathmint writes shortcuts and folders: the names it writes, what a shortcut holds read back
// through the shell's ShellLink object, the special folders, and paths at and past the limit.
#include "pathmint_test.h"

using namespace pathmint;

namespace {

const std::string kHuge(30000, 'h');
// The most arguments the shell object keeps: INFOTIPSIZE less the terminator.
const std::string kLongestArguments(1023, 'a');

void ContentsAndNames(const std::string& dir) {
  wintest::Section("contents and names");
  const std::string cafe =
      "Caf\xE9 \xC0\xFF\x80\x9F \x81\x8D\x8F\x90\x9D";  // and 1252's undefined bytes
  const std::string accented = "\xAB\xBB \xA7 \xE4\xF6\xFC";
  struct Row {
    std::string link, options;  // the /L value (relative to the current directory, or full)
    std::string written;        // the file that appears
    std::string target, arguments, iconPath;
    int iconIndex;
  };
  const Row rows[] = {
      {"Report", "", "Report.lnk", kTarget, "", "", 0},
      {"Args", "\"/A:x y\"", "Args.lnk", kTarget, "x y", "", 0},
      {"IconZero", "/I:C:\\icons\\set.ico", "IconZero.lnk", kTarget, "", "C:\\icons\\set.ico", 0},
      {"IconFromTarget", "/N:3", "IconFromTarget.lnk", kTarget, "", kTarget, 3},
      {"IconBoth", "/I:C:\\icons\\set.ico /N:2 \"/A:-q \\\"a b\\\"\"", "IconBoth.lnk", kTarget,
       "-q \"a b\"", "C:\\icons\\set.ico", 2},
      // An extension of any letter case is kept; any other name gets ".lnk" after it.
      {"Upper.LNK", "", "Upper.LNK", kTarget, "", "", 0},
      {"Mixed.LnK", "", "Mixed.LnK", kTarget, "", "", 0},
      {"Report.txt", "", "Report.txt.lnk", kTarget, "", "", 0},
      {"Dotted.", "", "Dotted..lnk", kTarget, "", "", 0},
      {dir + "Full", "", "Full.lnk", kTarget, "", "", 0},
      // Empty optional values count as absent; arguments up to the shell object's limit are
      // kept whole.
      {"Empty", "/A: /I: /N: /F:", "Empty.lnk", kTarget, "", "", 0},
      {"LongArgs", "/A:" + kLongestArguments, "LongArgs.lnk", kTarget, kLongestArguments, "", 0},
      // Bytes beyond ASCII in the ANSI code page round-trip byte for byte.
      {cafe, Quote("/A:" + accented), cafe + ".lnk", "C:\\\xC9t\xE9\\app\xAE.exe", accented, "", 0},
  };
  for (const Row& r : rows) {
    wintest::Context context("%s", r.written.c_str());
    Effect e = RunIn(dir, Quote("/L:" + r.link) + " " + Quote("/T:" + r.target) + " " + r.options);
    check_effect(e, "+" + r.written, 0);
    check_link(e.links[r.written], r.target, r.arguments, r.iconPath, r.iconIndex);
  }
}

void PathLengths(const std::string& dir) {
  wintest::Section("path lengths at the limit");
  std::vector<Case> cases;
  // With the extension given, the path is used as it is: 259 characters fit the buffer.
  for (size_t length : {258u, 259u, 260u, 261u}) {
    std::string path = PathOfLength(dir, length, ".lnk");
    cases.push_back(AtLimit("link path with extension, " + std::to_string(length),
                            Quote("/L:" + path) + " /T:" + kTarget, length <= 259,
                            "+" + path.substr(dir.size())));
  }
  // Without it, ".lnk" must fit as well: 255 characters are the most.
  for (size_t length : {255u, 256u, 259u, 260u, 261u}) {
    std::string path = PathOfLength(dir, length, "");
    cases.push_back(AtLimit("link path without extension, " + std::to_string(length),
                            Quote("/L:" + path) + " /T:" + kTarget, length + 4 <= 259,
                            "+" + path.substr(dir.size()) + ".lnk"));
  }
  for (size_t length : {259u, 260u, 261u}) {
    std::string path = PathOfLength(dir, length, "", 'f');
    cases.push_back(AtLimit("folder " + std::to_string(length), "/folder " + Quote("/L:" + path),
                            length <= 259, "+" + path.substr(dir.size())));
  }
  cases.push_back({"link path of 30,000 characters", "/T:C:\\x.exe /L:" + kHuge, 1, ""});
  cases.push_back({"folder of 30,000 characters", "/folder /L:" + kHuge, 1, ""});
  // Longer arguments the shell object would cut (Wine's keeps them): refused like a long target.
  for (const std::string& arguments : {kLongestArguments + "a", kHuge}) {
    cases.push_back({"arguments of " + std::to_string(arguments.size()) + " characters",
                     "/L:Args /T:C:\\x.exe /A:" + arguments, 1, ""});
  }
  run_cases(dir, cases);

  // A shortcut is written first beside its final name, under a name the platform makes up: its
  // folder may hold 246 characters, its backslash included.
  for (size_t length : {246u, 247u}) {
    wintest::Context context("folder of %u characters", unsigned(length));
    const std::string folder = PathOfLength(dir, length, "\\", 'g');
    CreateDirectoryA(folder.c_str(), nullptr);
    const bool fits = length <= 246;
    check_effect(RunIn(dir, Quote("/L:" + folder + "a") + " /T:" + kTarget),
                 fits ? "+" + folder.substr(dir.size()) + "a.lnk" : "", fits ? 0 : 1);
    Remove(folder);
  }

  // A shortcut's paths hold at most 259 characters: the shell object keeps a longer target as
  // garbage (and still reports success), so a longer target or icon path is refused and nothing
  // is written.
  for (size_t length : {259u, 260u, 261u}) {
    wintest::Context context("target and icon of %u characters", unsigned(length));
    const bool fits = length <= 259;
    std::string target = PathOfLength("C:\\Long\\", length, ".exe", 't');
    Effect e = RunIn(dir, "/L:Long " + Quote("/T:" + target));
    check_effect(e, fits ? "+Long.lnk" : "", fits ? 0 : 1);
    if (fits) check_link(e.links["Long.lnk"], target);
    std::string icon = PathOfLength("C:\\Icons\\", length, ".ico", 'i');
    e = RunIn(dir, "/L:Icon /T:" + std::string(kTarget) + " " + Quote("/I:" + icon) + " /N:4");
    check_effect(e, fits ? "+Icon.lnk" : "", fits ? 0 : 1);
    if (fits) check_link(e.links["Icon.lnk"], kTarget, "", icon, 4);
  }
}

void Folders(const std::string& dir) {
  wintest::Section("folders");
  // Target and icon mean nothing to a folder, which gets no extension.
  check_effect(RunIn(dir, "/folder /L:Made /T:x.exe /I:y.ico /N:1", true), "+Made", 0);
  run_cases(
      dir,
      {
          {"existing folder", "/folder /L:Made", 1, ""},
          {"missing parent: only the last component is made", "/folder /L:Outer\\Inner", 1, ""},
          {"beyond ASCII", "/folder " + Quote("/L:Ordner \xDC\xDF"), 0, "+Ordner \xDC\xDF"},
          // Names a shortcut cannot have: a folder, and a folder target quoted as users write it,
          // which the runtime's splitting ends in a quote.
          {"link name ending in a separator", "/L:Made\\ /T:C:\\x.exe", 1, ""},
          {"quoted folder target", "/L:ToolsDir /T:\"C:\\Program Files\\My Tools\\\"", 1, ""},
      });
  // From a deep working directory a folder's full name counts, as a shortcut's does.
  const std::string deep = PathOfLength(dir, 200, "\\", 'd');
  CreateDirectoryA(deep.c_str(), nullptr);
  run_cases(deep,
            {{"folder whose full name passes 259", "/folder /L:" + std::string(70, 'f'), 1, ""}});
}

void SpecialFolders(const std::string& dir) {
  wintest::Section("special folders");
  const struct {
    const char* flag;
    bool common;
    int csidl;
  } rows[] = {
      {"desktop", false, CSIDL_DESKTOPDIRECTORY}, {"desktop", true, CSIDL_COMMON_DESKTOPDIRECTORY},
      {"favorites", false, CSIDL_FAVORITES},      {"favorites", true, CSIDL_FAVORITES},
      {"programs", false, CSIDL_PROGRAMS},        {"programs", true, CSIDL_COMMON_PROGRAMS},
      {"start", false, CSIDL_STARTMENU},          {"start", true, CSIDL_COMMON_STARTMENU},
      {"startup", false, CSIDL_STARTUP},          {"startup", true, CSIDL_COMMON_STARTUP},
  };
  for (const auto& r : rows) {
    std::string args = "/" + std::string(r.flag) + (r.common ? " /common" : "");
    wintest::Context context("%s", args.c_str());
    std::string folder = SpecialFolder(r.csidl);
    if (!ok(!folder.empty(), "folder %d unknown", r.csidl)) continue;
    // Started elsewhere: the name is joined to the special folder, not to the current directory.
    Effect e = RunIn(folder, args + " /L:pathmint-test /T:" + kTarget, false, dir);
    check_effect(e, "+pathmint-test.lnk", 0);
    check_link(e.links["pathmint-test.lnk"], kTarget);
  }
  // The common variants are other folders than the per-user ones (except Favorites).
  ok(SpecialFolder(CSIDL_DESKTOPDIRECTORY) != SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY),
     "per-user and common desktop are the same folder");

  // The joined path counts: the same limits with the desktop's path in front.
  const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  std::vector<Case> cases;
  for (size_t length : {259u, 260u, 261u}) {
    std::string name = PathOfLength(desktop, length, ".lnk", 'k').substr(desktop.size());
    cases.push_back(
        AtLimit("desktop shortcut " + std::to_string(length),
                "/desktop " + Quote("/L:" + name.substr(0, name.size() - 4)) + " /T:" + kTarget,
                length <= 259, "+" + name));
  }
  run_cases(desktop, cases, dir);
}

void SystemFolder(const std::string& dir) {
  wintest::Section("the system folder, in the program's own view");
  const SystemViews v = GetSystemViews();
  const std::string sub = "pathmint-views\\";
  for (const std::string* view : {&v.lands, &v.other}) CreateDirectoryA((*view + sub).c_str(), 0);
  const Tree other = Snapshot(v.other + sub);
  // The target as typed: the 64-bit shell that starts the shortcut finds its own program there.
  const std::string target = v.typed + "notepad.exe";
  Effect e = RunIn(v.lands + sub, Quote("/L:" + v.typed + sub + "Editor") + " /T:" + target, false,
                   dir);
  check_effect(e, "+Editor.lnk", 0);
  check_link(e.links["Editor.lnk"], target);
  check_effect(RunIn(v.lands + sub, "/folder " + Quote("/L:" + v.typed + sub + "Made"), false, dir),
               "+Made", 0);
  const std::string changed = Changes(other, Snapshot(v.other + sub));
  ok(changed.empty(), "the other view changed: [%s]", changed.c_str());
  if (v.wow64) {
    e = RunIn(v.other + sub, Quote("/L:" + v.other + sub + "Native") + " /T:" + target, false, dir);
    check_effect(e, "+Native.lnk", 0);
    check_link(e.links["Native.lnk"], target);
  } else {
    skip("a 64-bit program has no Sysnative: it works in System32 itself");
  }
  for (const std::string* view : {&v.lands, &v.other}) Remove(*view + sub);
}

void Subdirectories(const std::string& dir) {
  wintest::Section("subdirectory below Programs");
  const std::string programs = SpecialFolder(CSIDL_PROGRAMS);
  const std::string link = " /L:PathmintTestTools\\App /T:" + std::string(kTarget);
  Remove(programs + "PathmintTestTools\\App.lnk");
  Remove(programs + "PathmintTestTools");
  // The shortcut's folder is not made for it.
  check_effect(RunIn(programs, "/programs" + link, false, dir), "", 1);
  check_effect(RunIn(programs, "/folder /programs /L:PathmintTestTools", true, dir),
               "+PathmintTestTools", 0);
  Effect e = RunIn(programs, "/programs" + link, false, dir);
  check_effect(e, "+PathmintTestTools\\App.lnk", 0);
  check_link(e.links["PathmintTestTools\\App.lnk"], kTarget);
  Remove(programs + "PathmintTestTools");
}

// A shortcut already there that may not be replaced, read-only or held by another process that
// shares nothing, stays as it was; released, it is replaced.
void KeptShortcuts(const std::string& dir) {
  wintest::Section("shortcuts that may not be replaced");
  const std::string link = dir + "Kept.lnk";
  for (bool readOnly : {true, false}) {
    wintest::Context context(readOnly ? "read-only" : "held without sharing");
    check_effect(RunIn(dir, "/L:Kept /T:" + std::string(kTarget), true), "+Kept.lnk", 0);
    HANDLE held = INVALID_HANDLE_VALUE;
    if (readOnly) {
      SetFileAttributesA(link.c_str(), FILE_ATTRIBUTE_READONLY);
    } else {
      held = CreateFileA(link.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    check_effect(RunIn(dir, "/L:Kept /T:C:\\Tools\\other.exe"), "", 1);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    SetFileAttributesA(link.c_str(), FILE_ATTRIBUTE_NORMAL);
    check_link(ReadLink(link), kTarget);
    check_effect(RunIn(dir, "/L:Kept /T:C:\\Tools\\other.exe"), "~Kept.lnk", 0);
    check_link(ReadLink(link), "C:\\Tools\\other.exe");
    Remove(link);
  }
}

// Fills the drive of path with one file there, to the last byte, then gives one page of 4 KiB
// back: what the file system allocates at a time.
bool FillDrive(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string block(4096, 'f');
  DWORD written = 0;
  for (DWORD size : {4096u, 1u}) {
    while (WriteFile(file, block.data(), size, &written, nullptr) && written == size) {
    }
  }
  const bool back = SetFilePointer(file, -4096, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
                    SetEndOfFile(file);
  CloseHandle(file);
  return back;
}

// On drive T:, a tmpfs of 64 KiB (small_drive.sh) with one page free: an existing shortcut
// replaced by one of more than a page (a target of 120 folders), whose save the platform reports
// as done when it has written that page only; a new one; the same replacement with room.
void FullDrive() {
  wintest::Section("a full drive");
  ULARGE_INTEGER total;
  if (!GetDiskFreeSpaceExA("T:\\", nullptr, &total, nullptr) || total.QuadPart > 65536) {
    skip("no small drive T: (its tmpfs could not be mounted here)");
    return;
  }
  const std::string dir = "T:\\shortcuts\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string deep = "C:";
  for (int i = 0; i < 120; ++i) deep += "\\a";
  deep += "\\x.exe";
  const std::string larger = "/T:" + deep + " /A:" + kLongestArguments;
  check_effect(RunIn(dir, "/L:App /T:" + std::string(kTarget), true), "+App.lnk", 0);
  std::string old, now;
  ok(wintest::ReadFileText(dir + "App.lnk", &old) && FillDrive(dir + "filler"),
     "cannot fill the drive");
  check_effect(RunIn(dir, "/L:App " + larger), "", 1);
  ok(wintest::ReadFileText(dir + "App.lnk", &now) && now == old,
     "the shortcut of %u bytes became one of %u", unsigned(old.size()), unsigned(now.size()));
  check_effect(RunIn(dir, "/L:New " + larger), "", 1);
  Remove(dir + "filler");
  check_effect(RunIn(dir, "/L:App " + larger), "~App.lnk", 0);
  check_link(ReadLink(dir + "App.lnk"), deep, kLongestArguments);
  Remove(dir + "App.lnk");
  Remove(dir);
}

// Reads the shortcut at link as it is at one moment, through a copy of it at copy.
LinkContents ReadAtOnce(const std::string& link, const std::string& copy, bool* present) {
  std::string bytes;
  *present = wintest::ReadFileText(link, &bytes);
  if (!*present || !wintest::WriteFileText(copy, bytes)) return LinkContents();
  return ReadLink(copy);
}

// Two runs replace one shortcut at once, 20 times: each ends with 0 or 1, and the shortcut, read
// all the while, is always whole and one of theirs; nothing else is left.
void ConcurrentReplacements(const std::string& dir) {
  wintest::Section("two runs replacing one shortcut");
  const std::string link = dir + "Shared.lnk";
  const std::string copy = wintest::ScratchDir("shortcuts copy") + "copy.lnk";
  const std::string targets[] = {"C:\\Tools\\first.exe", "C:\\Tools\\second.exe"};
  auto isTheirs = [&](const LinkContents& c) {
    return c.loaded && (c.path == targets[0] || c.path == targets[1]);
  };
  const Tree before = Snapshot(dir);
  int gaps = 0;
  for (int round = 0; round < 20; ++round) {
    wintest::Context context("round %d", round);
    HANDLE processes[2];
    for (int i = 0; i < 2; ++i) {
      PROCESS_INFORMATION pi;
      const std::string line =
          Quote(wintest::ExeDir() + "pathmint.exe") + " /L:Shared /T:" + targets[i];
      if (!ok(wintest::StartProcess(line, dir.c_str(), 0, &pi), "not started")) return;
      CloseHandle(pi.hThread);
      processes[i] = pi.hProcess;
    }
    for (const DWORD start = GetTickCount();
         WaitForMultipleObjects(2, processes, TRUE, 50) == WAIT_TIMEOUT &&
         GetTickCount() - start < 60000;) {
      bool present = false;
      const LinkContents c = ReadAtOnce(link, copy, &present);
      if (present) ok(isTheirs(c), "read [%s]", c.path.c_str());
      if (!present && round > 0) ++gaps;
    }
    for (HANDLE process : processes) {
      DWORD code = STILL_ACTIVE;
      GetExitCodeProcess(process, &code);
      ok(code == 0 || code == 1, "exit code 0x%08lX", code);
      CloseHandle(process);
    }
    ok(isTheirs(ReadLink(link)), "the shortcut left is not one of theirs");
  }
  // Wine's ReplaceFile moves the old file away, to a file rf*.tmp of its own, before it moves
  // the new one in: the name is missing for a moment, and where the other run holds the old file
  // then, Wine's file stays. Windows' swaps the new file in in one step.
  Tree after = Snapshot(dir);
  int left = 0;
  for (auto entry = after.begin(); wintest::IsWine() && entry != after.end();) {
    const bool wines = entry->first.compare(0, 2, "rf") == 0 && !before.count(entry->first);
    if (wines) Remove(dir + entry->first);
    left += wines;
    entry = wines ? after.erase(entry) : std::next(entry);
  }
  if (wintest::IsWine()) {
    trace("the shortcut was missing at %d readings; Wine's ReplaceFile left %d files", gaps, left);
  } else {
    ok(gaps == 0, "the shortcut was missing at %d readings", gaps);
  }
  const std::string changed = Changes(before, after);
  ok(changed == "+Shared.lnk", "changes [%s]", changed.c_str());
  Remove(link);
}

// Under code page 932 the limit counts characters: あ is two bytes and one character.
void TwoByteArguments(const std::string& dir) {
  wintest::Section("arguments of two-byte characters");
  ok(GetACP() == 932, "code page %u, not 932", GetACP());
  std::string longest;
  for (size_t i = 0; i < kLongestArguments.size(); ++i) longest += "\x82\xA0";
  Effect e = RunIn(dir, "/L:Wide /T:C:\\x.exe " + Quote("/A:" + longest));
  check_effect(e, "+Wide.lnk", 0);
  check_link(e.links["Wide.lnk"], "C:\\x.exe", longest);
  check_effect(RunIn(dir, "/L:Wide /T:C:\\x.exe " + Quote("/A:" + longest + "\x82\xA0")), "", 1);
}

}  // namespace

int main(int argc, char** argv) {
  // --ja: under code page 932 (the Japanese locale).
  if (argc > 1 && lstrcmpA(argv[1], "--ja") == 0) {
    TwoByteArguments(wintest::ScratchDir("shortcuts ja"));
    return wintest::Summary();
  }
  const std::string dir = wintest::ScratchDir("shortcuts");
  ContentsAndNames(dir);
  PathLengths(dir);
  Folders(dir);
  SpecialFolders(dir);
  SystemFolder(dir);
  Subdirectories(dir);
  KeptShortcuts(dir);
  FullDrive();
  ConcurrentReplacements(dir);
  return wintest::Summary();
}
