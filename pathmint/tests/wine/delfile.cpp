// The delfile action: a file deleted through the shell, silently, into the trash.
#include <stdio.h>

#include "pathmint_test.h"

using namespace pathmint;

namespace {

// A file name that no earlier run has put into the trash.
std::string FreshName(const char* stem) {
  char buf[96];
  snprintf(buf, sizeof buf, "%s-%lu-%lu.txt", stem, GetCurrentProcessId(), GetTickCount());
  return buf;
}

}  // namespace

int main() {
  const std::string dir = wintest::ScratchDir("delfile");
  const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  ok(!TrashDir().empty(), "no trash folder below XDG_DATA_HOME");

  wintest::Section("into the trash");
  const struct {
    const char* what;
    std::string folder, options;
  } places[] = {
      {"per-user desktop", desktop, "/delfile /desktop"},
      {"common desktop", SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY), "/delfile /common /desktop"},
      // Windows moves a file into the Recycle Bin only when the delete is given its full name
      // (given a relative one, it may delete it for good); Wine's shell trashes either. So this
      // row passes under Wine whatever pathmint hands over: linked/folder_path.cpp checks that
      // it hands over the full name.
      {"relative to the current directory", dir, "/delfile"},
  };
  for (const auto& p : places) {
    wintest::Context context("%s", p.what);
    const std::string name = FreshName("pathmint-del");
    ok(wintest::WriteFileText(p.folder + name, "old"), "cannot write %s", name.c_str());
    check_effect(RunIn(p.folder, p.options + " " + Quote("/T:" + name), false, dir), "-" + name, 0);
    ok(TakeFromTrash(name) == "old", "%s is not in the trash", name.c_str());
  }

  wintest::Section("what cannot be deleted, and the path's limit");
  // The path and its second terminating zero share the 260-byte buffer: 258 characters fit.
  std::vector<Case> cases = {
      {"missing file", "/delfile " + Quote("/T:" + dir + "not-there.txt"), 1, ""},
      {"target of 30,000 characters", "/delfile /T:" + std::string(30000, 'h'), 1, ""},
  };
  for (size_t length : {258u, 259u, 260u, 261u}) {
    std::string path = PathOfLength(dir, length, ".txt", 'd');
    cases.push_back(AtLimit("path of " + std::to_string(length), "-delfile " + Quote("/T:" + path),
                            length <= 258, "-" + path.substr(dir.size()), {path}));
  }
  run_cases(dir, cases);
  ok(TakeFromTrash(PathOfLength(dir, 258, ".txt", 'd').substr(dir.size())) == "x",
     "the file of 258 characters is not in the trash");

  // The same limit counted with the desktop's path in front.
  cases = {{"missing file on the desktop", "/delfile /desktop /T:pathmint-not-there.txt", 1, ""}};
  for (size_t length : {258u, 259u}) {
    std::string path = PathOfLength(desktop, length, ".txt", 'r');
    cases.push_back(AtLimit("desktop path of " + std::to_string(length),
                            "/desktop /delfile " + Quote("/T:" + path.substr(desktop.size())),
                            length <= 258, "-" + path.substr(desktop.size()), {path}));
  }
  run_cases(desktop, cases, dir);
  ok(TakeFromTrash(PathOfLength(desktop, 258, ".txt", 'r').substr(desktop.size())) == "x",
     "the desktop file of 258 characters is not in the trash");

  wintest::Section("the system folder, in the program's own view");
  const SystemViews v = GetSystemViews();
  const std::string name = FreshName("pathmint-view");
  const std::string typed = "/delfile " + Quote("/T:" + v.typed + name);
  ok(wintest::WriteFileText(v.other + name, "other"), "cannot write %s", name.c_str());
  check_run(RunPathmint(typed, dir.c_str()), 1);
  ok(wintest::FileExists(v.other + name), "the other view's file is gone");
  ok(wintest::WriteFileText(v.lands + name, "lands"), "cannot write %s", name.c_str());
  check_run(RunPathmint(typed, dir.c_str()), 0);
  ok(!wintest::FileExists(v.lands + name) && TakeFromTrash(name) == "lands",
     "the file in the program's view is not in the trash");
  if (v.wow64) {
    check_run(RunPathmint("/delfile " + Quote("/T:" + v.other + name), dir.c_str()), 0);
    ok(TakeFromTrash(name) == "other", "the file reached through Sysnative is not in the trash");
  } else {
    skip("a 64-bit program has no Sysnative: it works in System32 itself");
  }
  Remove(v.other + name);

  wintest::Section("no target");
  // The settings check refuses delfile without a target, the folder flag notwithstanding.
  Defaults d;
  d.folder = "on";
  ok(wintest::WriteFileText(dir + "stays.txt", "x"), "cannot write stays.txt");
  check_effect(RunIn(dir, "/delfile /folder"), "", kUsageExit, Usage(texts::kMissingT, d));
  return wintest::Summary();
}
