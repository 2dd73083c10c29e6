// Bad-input campaign on the argument file: files of several megabytes, files of binary bytes,
// text in UTF-16 and UTF-8 with a byte-order mark, values, keys and section names of a megabyte.
// Each run must end with its documented exit code and boxes, take exactly the values the
// platform's profile reader hands over (cut to 254 characters), leave the file as it was and
// write nothing but the one shortcut it was asked for.
#include <windows.h>

#include <string>

#include "campaign_common.h"
#include "shell_checks.h"
#include "usage_texts.h"
#include "wintest.h"

namespace {

using campaign::Changes;
using campaign::Snapshot;
using campaign::Tree;
using texts::Dump;
using wintest::Quote;

std::string g_dir;
const char kBlocked[] = "blocker.txt\\App";

// A fixed pseudo-random byte sequence.
std::string RandomBytes(size_t size, unsigned seed) {
  std::string out(size, '\0');
  for (char& c : out) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
  }
  return out;
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

struct Case {
  const char* what;
  std::string content;
  std::string options;   // besides /F
  DWORD code;
  std::string dump;      // the expected dump box ("" when the options have no /debug)
  std::string changes;   // expected change of the scratch folder
};

void RunCase(const Case& c) {
  const std::string file = g_dir + "args.ini";
  ok(wintest::WriteFileText(file, c.content), "%s: cannot write the file", c.what);
  Tree before = Snapshot(g_dir);
  const DWORD start = GetTickCount();
  texts::Outcome o = texts::RunPathmint("/F " + Quote(file) + " " + c.options, g_dir.c_str());
  const DWORD took = GetTickCount() - start;
  Tree after = Snapshot(g_dir);
  ok(o.ran && o.exitCode == c.code, "%s: exit code 0x%08lX, expected 0x%08lX", c.what,
     o.exitCode, c.code);
  if (c.dump.empty()) {
    ok(o.boxes.empty(), "%s: %u boxes", c.what, unsigned(o.boxes.size()));
  } else {
    ok(o.boxes.size() == 1 && o.boxes[0].text == c.dump, "%s: %u boxes, first [%s]", c.what,
       unsigned(o.boxes.size()), o.boxes.empty() ? "" : texts::Visible(o.boxes[0].text).c_str());
  }
  std::string changes = Changes(before, after);
  ok(changes == c.changes, "%s: changes [%s], expected [%s]", c.what, changes.c_str(),
     c.changes.c_str());
  std::string now;
  ok(wintest::ReadFileText(file, &now) && now == c.content, "%s: the argument file changed",
     c.what);
  ok(took < 20000, "%s: took %lu ms", c.what, took);
  for (const auto& entry : after) {
    if (!before.count(entry.first)) campaign::Remove(g_dir + entry.first);
  }
}

std::string Section(const std::string& body) {
  return "[LINK CONFIG]\r\n" + body;
}

// The expected dump of a run with /debug, an argument file and the blocked link path.
std::string BlockedDump(const std::string& target) {
  Dump d;
  d.cmdFile = true;
  d.link = kBlocked;
  d.target = target;
  return texts::DumpText(d);
}

std::string Utf16(const std::wstring& text) {
  std::string out = "\xFF\xFE";
  for (wchar_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  g_dir = wintest::ScratchDir("campaign_argument_files");
  wintest::WriteFileText(g_dir + "blocker.txt", "a file, so nothing can be made below it");
  const std::string blocked = "/debug /L:" + std::string(kBlocked) + " /T:x";
  const std::string section = Section("Target=C:\\from file.exe\r\nArguments=-big\r\nLinkPath=" +
                                      g_dir + "Big\r\n");
  const std::string mega(1 << 20, 'm');

  wintest::Section("files of several megabytes");
  const Case large[] = {
      {"4 MB, the section last", Padding(4 << 20) + section, "", 0, "", "+Big.lnk"},
      {"4 MB, the section first", section + Padding(4 << 20), "", 0, "", "+Big.lnk"},
      {"1 MB value, cut to 254", Section("Target=" + mega + "\r\n"), blocked, 1,
       BlockedDump(mega.substr(0, 254)), ""},
      {"1 MB key name", Section(mega + "=1\r\nTarget=C:\\after.exe\r\n"), blocked, 1,
       BlockedDump("C:\\after.exe"), ""},
      {"1 MB section name", "[" + mega + "]\r\nTarget=C:\\wrong.exe\r\n", blocked, 1,
       BlockedDump("x"), ""},
  };
  for (const Case& c : large) RunCase(c);
  shellcheck::LinkContents contents = shellcheck::ReadLink(g_dir + "Big.lnk");
  ok(!contents.loaded, "the shortcut of the large file was left behind");

  wintest::Section("binary bytes");
  const Case binary[] = {
      {"8 MB of random bytes", RandomBytes(8 << 20, 1), blocked, 1, BlockedDump("x"), ""},
      {"zero bytes only", std::string(1 << 20, '\0'), blocked, 1, BlockedDump("x"), ""},
      {"every byte value in the value", Section("Target=" + RandomBytes(200, 7) + "\r\n"), blocked,
       1, "", ""},
  };
  for (const Case& c : binary) {
    if (c.dump.empty()) {
      // What the reader makes of arbitrary bytes is its own affair; the run must still end
      // with the action's failure and exactly one dump box.
      const std::string file = g_dir + "args.ini";
      wintest::WriteFileText(file, c.content);
      Tree before = Snapshot(g_dir);
      texts::Outcome o = texts::RunPathmint("/F " + Quote(file) + " " + c.options, g_dir.c_str());
      ok(o.ran && o.exitCode == c.code && o.boxes.size() == 1, "%s: exit 0x%08lX, %u boxes",
         c.what, o.exitCode, unsigned(o.boxes.size()));
      ok(Changes(before, Snapshot(g_dir)).empty(), "%s: the folder changed", c.what);
    } else {
      RunCase(c);
    }
  }

  wintest::Section("text with a byte-order mark");
  const std::string cafe = "C:\\Caf\xE9\\app.exe";
  const Case marked[] = {
      {"UTF-16", Utf16(L"[LINK CONFIG]\r\nTarget=C:\\Caf\u00e9\\app.exe\r\n"), blocked, 1,
       BlockedDump(cafe), ""},
      {"UTF-8", "\xEF\xBB\xBF" + Section("Target=C:\\Caf\xC3\xA9\\app.exe\r\n"), blocked, 1,
       BlockedDump(cafe), ""},
      {"ANSI", Section("Target=" + cafe + "\r\n"), blocked, 1, BlockedDump(cafe), ""},
  };
  for (const Case& c : marked) RunCase(c);

  CoUninitialize();
  return wintest::Summary();
}
