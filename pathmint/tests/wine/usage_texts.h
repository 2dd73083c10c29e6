// A runner that starts pathmint while watching for its boxes, and checks of what it showed, for the
// Wine tests of start-up and the argument file (the expected texts are in expected_texts.h).
#ifndef PATHMINT_USAGE_TEXTS_H
#define PATHMINT_USAGE_TEXTS_H

#include <windows.h>

#include <string>
#include <vector>

#include "../expected_texts.h"
#include "wintest.h"

namespace texts {

const DWORD kUsageExit = 0xFFFFFFFF;  // exit code -1 as the full 32-bit status

struct Outcome {
  bool ran = false;  // started and ended in time
  DWORD exitCode = 0;
  std::vector<wintest::Box> boxes;
};

// Starts pathmint with arguments (a command-line tail, quoted as needed) and presses OK on every
// box it shows.
inline Outcome RunPathmint(const std::string& arguments, const char* cwd = nullptr) {
  Outcome out;
  wintest::BoxWatcher watcher(kCaption);
  wintest::ProcessResult r =
      wintest::Run(wintest::Quote(wintest::ExeDir() + "pathmint.exe") + " " + arguments, cwd,
                   30000);
  out.boxes = watcher.Stop();
  out.ran = r.started && !r.timedOut;
  out.exitCode = r.exitCode;
  return out;
}

// Prints a box text with its control characters visible (for failure messages).
inline std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out += c;
    }
  }
  return out;
}

// Checks that the run ended with code after showing exactly the box texts given, in order.
template <typename... Texts>
void CheckRun(const char* file, int line, const Outcome& o, DWORD code, const Texts&... texts) {
  const std::vector<std::string> want = {std::string(texts)...};
  wintest::Check(o.ran, file, line, "pathmint did not run to its end");
  wintest::Check(o.exitCode == code, file, line, "exit code 0x%08lX, expected 0x%08lX", o.exitCode,
                 code);
  wintest::Check(o.boxes.size() == want.size(), file, line, "%u boxes, expected %u",
                 unsigned(o.boxes.size()), unsigned(want.size()));
  for (size_t i = 0; i < o.boxes.size() && i < want.size(); ++i) {
    wintest::Check(o.boxes[i].caption == kCaption, file, line, "box %u captioned [%s]",
                   unsigned(i), o.boxes[i].caption.c_str());
    wintest::Check(o.boxes[i].text == want[i], file, line, "box %u:\n  got  [%s]\n  want [%s]",
                   unsigned(i), Visible(o.boxes[i].text).c_str(), Visible(want[i]).c_str());
  }
}
#define CHECK_RUN(...) texts::CheckRun(__FILE__, __LINE__, __VA_ARGS__)

}  // namespace texts

#endif
