// pathmint started by Unicode callers (CreateProcessW), whose texts the platform hands it in the
// ANSI code page with a look-alike for each character the code page lacks. In each place a text
// comes from (the command line, the working directory, a special folder, pathmint's own file
// name, a Unicode argument file) a name with such a character runs beside the file or folder that
// its look-alike names, which must stay untouched; the same name with a character the code page
// holds works as it always did. --ja: the same under code page 932.
#include "pathmint_test.h"

using namespace pathmint;

namespace {

struct CodePage {
  unsigned number;
  wchar_t lacking;    // a letter the code page lacks ...
  const char* base;   // ... and its look-alike there
  wchar_t held;       // a character it holds ...
  const char* bytes;  // ... as its bytes
  wchar_t separator;  // a look-alike of the backslash
  wchar_t quote;      // a look-alike of the double quote (0: none)
};
const CodePage kWestern = {1252, L'\u0141', "L", L'\u00E9', "\xE9", L'\uFF3C', L'\uFF02'};
const CodePage kJapanese = {932, L'\u00E9', "e", L'\u8868', "\x95\x5C", L'\u00A5', 0};

std::string g_dir;       // the scratch folder, by a name every code page holds
std::wstring g_wideDir;  // the same in UTF-16
const wchar_t kDesktopKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Runs pathmint (or its copy program) with a Unicode command-line tail, in the folder cwd of the
// scratch folder (or cwd itself, a full name).
Effect RunUnicode(const std::wstring& arguments, const std::wstring& cwd = L"",
                  const std::wstring& program = L"") {
  wintest::RunOptions options;
  options.wideCwd = cwd.find(L':') == std::wstring::npos ? g_wideDir + cwd : cwd;
  const std::wstring exe =
      program.empty() ? wintest::Wide(wintest::ExeDir() + "pathmint.exe") : g_wideDir + program;
  return Observe(g_dir, [&] { return wintest::Run(L"\"" + exe + L"\" " + arguments, options); });
}

// The usage box for a command line whose character c (at its place in arguments) the code page
// lacks.
std::string Refusal(const CodePage& cp, const std::wstring& arguments, wchar_t c) {
  char text[160];
  snprintf(text, sizeof text,
           "The command line holds a character that code page %u cannot represent: U+%04X, "
           "character %u of the arguments.",
           cp.number, unsigned(c), unsigned(arguments.find(c) + 1));
  return texts::Usage(text);
}

// The files and folders of the runs with character c and of its look-alike, made anew; the
// argument file ini names them.
void MakeNames(const std::wstring& c, const std::string& ini) {
  for (const std::wstring& folder : {c + L"dir", c + L"user", c + L"user\\Desktop", c + L"tool"}) {
    CreateDirectoryW((g_wideDir + folder).c_str(), nullptr);
  }
  for (const std::wstring& file : {c + L"og.txt", c + L"og2.txt"}) {
    CloseHandle(CreateFileW((g_wideDir + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr));
  }
  CopyFileW(wintest::Wide(wintest::ExeDir() + "pathmint.exe").c_str(),
            (g_wideDir + c + L"tool\\pathmint.exe").c_str(), FALSE);
  // A Unicode argument file, as Notepad saves one: UTF-16 with its byte-order mark.
  const std::wstring text = L"\uFEFF[LINK CONFIG]\r\nTarget=" + g_wideDir + c + L"og2.txt\r\n";
  wintest::WriteFileText(g_dir + ini,
                         std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
}

void Places(const CodePage& cp, bool held) {
  const wchar_t c = held ? cp.held : cp.lacking;
  const std::wstring x(1, c);
  const std::string shown = held ? cp.bytes : "?";  // how the folder's listing names it
  wintest::Context context("U+%04X", unsigned(c));
  const std::string ini = held ? "held.ini" : "lacking.ini";
  MakeNames(x, ini);
  MakeNames(wintest::Wide(cp.base), "base.ini");
  std::wstring line = L"/delfile \"/T:" + g_wideDir + x + L"og.txt\"";
  if (held) {
    check_effect(RunUnicode(line), "-" + shown + "og.txt", 0);
  } else {
    check_effect(RunUnicode(line), "", kUsageExit, Refusal(cp, line, c));
  }
  // Where the volume keeps short names, pathmint works in the folder itself through them.
  WCHAR shortName[MAX_PATH] = L"";
  GetShortPathNameW((g_wideDir + x + L"dir").c_str(), shortName, MAX_PATH);
  if (!held && g_wideDir + x + L"dir" == shortName) {
    skip("the volume keeps no short names: a folder the code page cannot hold is refused");
  } else {
    check_effect(RunUnicode(L"/L:App /T:x", x + L"dir"), "+" + shown + "dir\\App.lnk", 0);
    // A drive-relative name, started on another drive: the scratch drive's own current directory
    // is the folder, as the caller's environment says ("=Z:").
    const std::wstring drive = g_wideDir.substr(0, 2);
    if (drive == L"C:") {
      skip("the scratch folder is on drive C:, where the runs start");
    } else {
      SetEnvironmentVariableW((L"=" + drive).c_str(), (g_wideDir + x + L"dir").c_str());
      check_effect(RunUnicode(L"/L:" + drive + L"Drive /T:x", L"C:\\"),
                   "+" + shown + "dir\\Drive.lnk", 0);
      SetEnvironmentVariableW((L"=" + drive).c_str(), nullptr);
    }

    // The user's desktop moved to a folder named with the character.
    const std::wstring desktop = g_wideDir + x + L"user\\Desktop";
    WCHAR saved[MAX_PATH];
    DWORD size = sizeof saved;
    const bool had = !RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"Desktop",
                                   RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, saved, &size);
    RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"Desktop", REG_EXPAND_SZ, desktop.c_str(),
                    DWORD(desktop.size() + 1) * 2);
    check_effect(RunUnicode(L"/desktop /L:App /T:x"), "+" + shown + "user\\Desktop\\App.lnk", 0);
    if (had) {
      RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"Desktop", REG_EXPAND_SZ, saved, size);
    }

    Effect e =
        RunUnicode(L"/clean /T:x \"/L:" + g_wideDir + L"Once\"", L"", x + L"tool\\pathmint.exe");
    check_effect(e, "+Once.lnk", 0);
    WCHAR started[MAX_PATH] = L"";
    GetLongPathNameW(wintest::Wide(e.links["Once.lnk"].path).c_str(), started, MAX_PATH);
    ok(lstrcmpiW(started, (g_wideDir + x + L"tool\\pathmint.exe").c_str()) == 0 &&
           (!held || e.links["Once.lnk"].path == g_dir + shown + "tool\\pathmint.exe"),
       "the one-time shortcut starts [%s]", e.links["Once.lnk"].path.c_str());
  }
  // The same file saved as UTF-8, as editors save one today: the platform's reader would take
  // its bytes for ANSI ones, which name another file (made here). It is refused, nothing deleted.
  const std::string utf8 = g_dir + wintest::Narrow(x, CP_UTF8) + "og2.txt";
  ok(wintest::WriteFileText(utf8, "misread") &&
         wintest::WriteFileText(g_dir + "utf8.ini", "[LINK CONFIG]\r\nTarget=" + utf8 + "\r\n"),
     "cannot write utf8.ini");
  check_effect(RunUnicode(L"/delfile /F \"" + g_wideDir + L"utf8.ini\""), "", 1, texts::kUtf8File);
  check_effect(RunUnicode(L"/delfile /F \"" + wintest::Wide(g_dir + ini) + L"\""),
               held ? "-" + shown + "og2.txt" : "", held ? 0 : 1);
}

// Look-alikes of a separator and a quote change what a line says, not only a name.
void Separators(const CodePage& cp) {
  wintest::Section("look-alike separators");
  MakeNames(wintest::Wide(cp.base), "base.ini");
  std::wstring line = L"/delfile \"/T:" + g_wideDir + L"sub" + cp.separator + L".." +
                      cp.separator + wintest::Wide(cp.base) + L"og.txt\"";
  check_effect(RunUnicode(line), "", kUsageExit, Refusal(cp, line, cp.separator));
  if (!cp.quote) return;
  line = L"/T:x /L:App" + std::wstring(1, cp.quote) + L" /folder";
  check_effect(RunUnicode(line), "", kUsageExit, Refusal(cp, line, cp.quote));
}

}  // namespace

int main(int argc, char** argv) {
  const bool japanese = argc > 1 && lstrcmpA(argv[1], "--ja") == 0;
  const CodePage& cp = japanese ? kJapanese : kWestern;
  if (GetACP() != cp.number) {
    skip("code page %u, not %u", GetACP(), cp.number);
    return wintest::Summary();
  }
  g_dir = wintest::ScratchDir(japanese ? "unicode callers ja" : "unicode callers");
  g_wideDir = wintest::Wide(g_dir);
  wintest::Section("a character the code page lacks, and one it holds");
  Places(cp, false);
  Places(cp, true);
  Separators(cp);
  return wintest::Summary();
}
