// The delfile action: a file deleted through the shell, silently, into the trash.
#include "shell_checks.h"

#include <stdio.h>

using shellcheck::RunPathmint;
using wintest::FileExists;
using wintest::Quote;

namespace {

// The trash of the private environment ($XDG_DATA_HOME/Trash/files), seen through drive Z:.
std::string TrashFiles() {
  char unixPath[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("XDG_DATA_HOME", unixPath, sizeof unixPath);
  if (n == 0 || n >= sizeof unixPath) return std::string();
  std::string path = std::string("Z:") + unixPath + "/Trash/files/";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// A file name that no earlier run has put into the trash.
std::string FreshName(const char* stem) {
  char buf[96];
  snprintf(buf, sizeof buf, "%s-%lu-%lu.txt", stem, GetCurrentProcessId(), GetTickCount());
  return buf;
}

void DeleteToTrash(const char* label, const std::string& folder, const std::string& options,
                   const char* cwd, const std::string& trash) {
  wintest::Section(label);
  const std::string name = FreshName("pathmint-del");
  const std::string file = folder + name;
  ok(wintest::WriteFileText(file, "old"), "cannot write %s", file.c_str());
  DWORD code = RunPathmint(options + " " + Quote("/T:" + name), cwd);
  ok(code == 0, "exit %ld", static_cast<long>(code));
  ok(!FileExists(file), "%s still there", file.c_str());
  std::string text;
  ok(wintest::ReadFileText(trash + name, &text) && text == "old", "%s not in the trash (%s)",
     name.c_str(), trash.c_str());
  // Empty that part of the trash again.
  DeleteFileA((trash + name).c_str());
  DeleteFileA((trash + "..\\info\\" + name + ".trashinfo").c_str());
}

}  // namespace

int main() {
  wintest::BoxWatcher boxes(nullptr);
  const std::string dir = wintest::ScratchDir("delfile");
  const std::string trash = TrashFiles();
  ok(!trash.empty() && FileExists(trash), "no trash folder [%s]", trash.c_str());

  DeleteToTrash("per-user desktop", shellcheck::SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\",
                "/delfile /desktop", nullptr, trash);
  DeleteToTrash("common desktop", shellcheck::SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\",
                "/delfile /common /desktop", nullptr, trash);
  DeleteToTrash("relative to the current directory", dir, "/delfile", dir.c_str(), trash);

  wintest::Section("missing file");
  DWORD code = RunPathmint("/delfile " + Quote("/T:" + dir + "not-there.txt"));
  ok(code == 1, "exit %ld", static_cast<long>(code));
  code = RunPathmint("/delfile /desktop /T:pathmint-not-there.txt");
  ok(code == 1, "on the desktop: exit %ld", static_cast<long>(code));

  wintest::Section("path bounds");
  // The path and its second terminating zero share the 260-byte buffer: 258 characters fit.
  const std::string fits = dir + std::string(258 - dir.size(), 'f');
  const std::string tooLong = dir + std::string(259 - dir.size(), 'g');
  ok(wintest::WriteFileText(fits, "x") && wintest::WriteFileText(tooLong, "x"), "cannot write");
  code = RunPathmint("/delfile " + Quote("/T:" + fits));
  ok(code == 0 && !FileExists(fits), "258 characters: exit %ld", static_cast<long>(code));
  code = RunPathmint("/delfile " + Quote("/T:" + tooLong));
  ok(code == 1 && FileExists(tooLong), "259 characters: exit %ld", static_cast<long>(code));

  std::vector<wintest::Box> seen = boxes.Stop();
  wintest::Section("silently");
  ok(seen.empty(), "%u boxes, first: [%s] %s", static_cast<unsigned>(seen.size()),
     seen.empty() ? "" : seen[0].caption.c_str(), seen.empty() ? "" : seen[0].text.c_str());

  wintest::Section("no target");
  // delfile with folder and no target: either the settings check refuses it (exit code -1 and
  // its usage box) or the delete reports failure silently; nothing is deleted either way.
  wintest::BoxWatcher usage(nullptr);
  wintest::WriteFileText(dir + "stays.txt", "x");
  code = RunPathmint("/delfile /folder", dir.c_str());
  seen = usage.Stop();
  ok((code == 1 && seen.empty()) || (code == 0xFFFFFFFF && seen.size() == 1),
     "exit %ld with %u boxes", static_cast<long>(code), static_cast<unsigned>(seen.size()));
  ok(FileExists(dir + "stays.txt"), "a file was deleted");
  return wintest::Summary();
}
