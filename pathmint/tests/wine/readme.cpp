// The examples of the README's "Using pathmint", run as a user types them: each line as it
// stands, from a working directory of the user's, and each does what its comment says. A line
// added to or changed in the README without a row here, or a row the README lost, fails.
#include "pathmint_test.h"

using namespace pathmint;

namespace {

// The example lines of the README: the arguments after "pathmint", then the comment.
std::vector<std::pair<std::string, std::string>> ReadmeExamples() {
  std::vector<std::pair<std::string, std::string>> examples;
  char source[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("SOURCE_DIR", source, sizeof source);
  if (n == 0 || n >= sizeof source) return examples;
  std::string path = std::string("Z:") + source + "/README.md";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  std::string text;
  if (!wintest::ReadFileText(path, &text)) return examples;
  const size_t section = text.find("\n## Using pathmint\n");
  const size_t end = text.find("\n## ", section + 1);
  const std::string prefix = "    pathmint ";
  for (size_t at = text.find('\n' + prefix, section); at < end;
       at = text.find('\n' + prefix, at + 1)) {
    const std::string line = text.substr(at + 1 + prefix.size(),
                                         text.find('\n', at + 1) - at - 1 - prefix.size());
    const size_t gap = line.find("  ");
    const size_t comment = line.find_first_not_of(' ', gap);
    examples.emplace_back(line.substr(0, gap), gap == std::string::npos ? "" : line.substr(comment));
  }
  return examples;
}

struct Example {
  const char* arguments;  // exactly as the README shows them
  std::string folder;     // where it acts
  std::string changes;    // exactly what it changes there
  DWORD code;
  std::vector<std::string> boxes;
};

}  // namespace

int main() {
  const std::string dir = wintest::ScratchDir("pathmint readme");
  const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  const std::string common = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
  const std::string programs = SpecialFolder(CSIDL_PROGRAMS);
  const std::string elsewhere = dir + "elsewhere\\";
  CreateDirectoryA(elsewhere.c_str(), nullptr);
  // What the examples need: the target of the one-time shortcut, the file to delete and the
  // argument file.
  CreateDirectoryA("C:\\Setup", nullptr);
  ok(PlaceMarker("C:\\Setup\\step2.exe"), "cannot place C:\\Setup\\step2.exe");
  ok(wintest::WriteFileText(desktop + "Old.txt", "old"), "cannot write Old.txt on the desktop");
  ok(wintest::WriteFileText(dir + "settings.ini",
                            "[LINK CONFIG]\r\nTarget=C:\\Tools\\app.exe\r\nLinkPath=From settings\r\n"),
     "cannot write settings.ini");

  Example examples[] = {
      {"/desktop /common /L:App /T:C:\\Tools\\app.exe /N:1", common, "+App.lnk", 0, {}},
      {"/programs /folder /L:Tools", programs, "+Tools", 0, {}},
      {"/programs /L:Tools\\App /T:C:\\Tools\\app.exe /A:\"-v -x\"", programs, "+Tools\\App.lnk",
       0, {}},
      {"/clean /desktop /L:Once /T:C:\\Setup\\step2.exe", desktop, "+Once.lnk", 0, {}},
      {"/delfile /desktop /T:Old.txt", desktop, "-Old.txt", 0, {}},
      {"/F settings.ini", dir, "+From settings.lnk", 0, {}},
      {"/fileformat", dir, "", kUsageExit, {texts::FormatText(), Usage(texts::kMissingL)}},
  };
  const auto readme = ReadmeExamples();
  const Bin bin = RecycleBin();
  ok(readme.size() == sizeof examples / sizeof examples[0], "%u examples in the README",
     unsigned(readme.size()));
  for (const auto& line : readme) {
    wintest::Context context("pathmint %s", line.first.c_str());
    Example* example = nullptr;
    for (Example& e : examples) {
      if (line.first == e.arguments) example = &e;
    }
    ok(example != nullptr, "an example this test does not know");
    if (!example) continue;
    check_effect(RunIn(example->folder, example->arguments, true, dir), example->changes,
                 example->code, example->boxes);
    example->arguments = "";  // each example once
  }

  wintest::Section("what each example made");
  check_link(ReadLink(common + "App.lnk"), "C:\\Tools\\app.exe", "", "C:\\Tools\\app.exe", 1);
  check_link(ReadLink(programs + "Tools\\App.lnk"), "C:\\Tools\\app.exe", "-v -x");
  check_link(ReadLink(dir + "From settings.lnk"), "C:\\Tools\\app.exe");
  check_binned(bin, 3);  // Old.txt
  // The one-time shortcut, started from elsewhere, runs its target there and is gone.
  const std::string record = dir + "record.txt";
  DirectMarkerTo(record);
  check_run(ActivateResolved(desktop + "Once.lnk", elsewhere), 0);
  check_marker(record, true, elsewhere, {});
  ok(!wintest::FileExists(desktop + "Once.lnk"), "the one-time shortcut is still there");

  Remove(common + "App.lnk");
  Remove(programs + "Tools\\App.lnk");
  Remove(programs + "Tools");
  Remove("C:\\Setup\\step2.exe");
  Remove("C:\\Setup");
  return wintest::Summary();
}
