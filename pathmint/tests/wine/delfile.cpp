// The delfile action: a file deleted through the shell, silently, into the Recycle Bin (counted
// through the shell, as on Windows; Wine's bin is the trash of the private environment).
#include <stdio.h>

#include "pathmint_test.h"

using namespace pathmint;

namespace {

// A file name that no earlier run has put into the Recycle Bin.
std::string FreshName(const char* stem) {
  char buf[96];
  snprintf(buf, sizeof buf, "%s-%lu-%lu.txt", stem, GetCurrentProcessId(), GetTickCount());
  return buf;
}

}  // namespace

int main() {
  const std::string dir = wintest::ScratchDir("delfile");
  const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  ok(RecycleBin().items >= 0, "the Recycle Bin cannot be counted");

  wintest::Section("into the Recycle Bin");
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
    const Bin bin = RecycleBin();
    check_effect(RunIn(p.folder, p.options + " " + Quote("/T:" + name), false, dir), "-" + name, 0);
    check_binned(bin, 3);
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
  // Of all the rows, only the file of 258 characters goes into the bin.
  Bin bin = RecycleBin();
  run_cases(dir, cases);
  check_binned(bin, 1);

  // The same limit counted with the desktop's path in front.
  cases = {{"missing file on the desktop", "/delfile /desktop /T:pathmint-not-there.txt", 1, ""}};
  for (size_t length : {258u, 259u}) {
    std::string path = PathOfLength(desktop, length, ".txt", 'r');
    cases.push_back(AtLimit("desktop path of " + std::to_string(length),
                            "/desktop /delfile " + Quote("/T:" + path.substr(desktop.size())),
                            length <= 258, "-" + path.substr(desktop.size()), {path}));
  }
  bin = RecycleBin();
  run_cases(desktop, cases, dir);
  check_binned(bin, 1);

  wintest::Section("the system folder, in the program's own view");
  const SystemViews v = GetSystemViews();
  const std::string name = FreshName("pathmint-view");
  const std::string typed = "/delfile " + Quote("/T:" + v.typed + name);
  // The two files differ in size, so the bin's count tells which one it took.
  ok(wintest::WriteFileText(v.other + name, "the other view"), "cannot write %s", name.c_str());
  check_run(RunPathmint(typed, dir.c_str()), 1);
  ok(wintest::FileExists(v.other + name), "the other view's file is gone");
  ok(wintest::WriteFileText(v.lands + name, "lands"), "cannot write %s", name.c_str());
  bin = RecycleBin();
  check_run(RunPathmint(typed, dir.c_str()), 0);
  ok(!wintest::FileExists(v.lands + name), "the file in the program's view is still there");
  check_binned(bin, 5);
  if (v.wow64) {
    bin = RecycleBin();
    check_run(RunPathmint("/delfile " + Quote("/T:" + v.other + name), dir.c_str()), 0);
    ok(!wintest::FileExists(v.other + name), "the file reached through Sysnative is still there");
    check_binned(bin, 14);
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
