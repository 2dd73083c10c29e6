// Both programs take no DLL from their own folder or the working directory. Copies of them run
// beside marker DLLs named after the DLLs they pull in, with the markers in the working directory
// too, and Wine told to prefer a DLL found on the search path, as Windows does for these names
// (Windows' known DLLs are left out: it never takes those from there). Every action works as
// without the markers, and no marker is loaded.
#include <windows.h>

#include <string>

#include "quorvel_test.h"

namespace {

const char* const kPlanted[] = {"version", "uxtheme", "win32u", "zlib1", "ucrtbase"};
const char* const kPrograms[] = {"pathmint.exe", "quorvel.exe"};

std::string g_app, g_cwd, g_record;

// Wine's overrides for both programs (by name, so for the copies too): a DLL of these names is
// looked for on the search path first. Through the registry: Wine 8 ignores a WINEDLLOVERRIDES
// that a test sets for the programs it starts. With on false, they are removed again.
void PreferSearchPath(bool on) {
  for (const char* program : kPrograms) {
    const std::string key = std::string("Software\\Wine\\AppDefaults\\") + program;
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    if (!on) continue;
    HKEY overrides;
    const bool created =
        RegCreateKeyExA(HKEY_CURRENT_USER, (key + "\\DllOverrides").c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &overrides, nullptr) == ERROR_SUCCESS;
    bool set = created;
    for (const char* name : kPlanted) {
      set = set &&
            RegSetValueExA(overrides, name, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>("native,builtin"), 15) == ERROR_SUCCESS;
    }
    if (created) RegCloseKey(overrides);
    ok(set, "cannot set the DLL overrides of %s", program);
  }
}

// The markers beside the copies and in the working directory, which also holds the files the
// actions take.
void Plant() {
  g_app = wintest::ScratchDir("dll_search_app");
  g_cwd = wintest::ScratchDir("dll_search_cwd");
  g_record = g_app + "loaded.txt";
  const std::string marker = wintest::ExeDir() + "dll_marker.dll";
  for (const char* name : kPlanted) {
    const std::string dll = std::string(name) + ".dll";
    ok(CopyFileA(marker.c_str(), (g_app + dll).c_str(), FALSE) &&
           CopyFileA(marker.c_str(), (g_cwd + dll).c_str(), FALSE),
       "cannot plant %s", dll.c_str());
  }
  for (const char* program : kPrograms) {
    ok(CopyFileA((wintest::ExeDir() + program).c_str(), (g_app + program).c_str(), FALSE),
       "cannot copy %s", program);
  }
  ok(wintest::WriteFileText(g_cwd + "old.txt", "x") &&
         wintest::WriteFileText(g_cwd + "run.lnk", "") &&
         wintest::WriteFileText(g_cwd + "args.ini",
                                "[LINK CONFIG]\r\nTarget=C:\\x.exe\r\nLinkPath=file\r\n"),
     "cannot write the files the actions take");
  SetEnvironmentVariableA("DLL_MARKER_RECORD", g_record.c_str());
  PreferSearchPath(true);
}

// Runs the copy of a program in the working directory (dialogs cancelled); no marker is loaded.
wintest::Outcome run_copy_(const char* file, int line, const char* program,
                           const std::string& arguments) {
  DeleteFileA(g_record.c_str());
  wintest::RunOptions options;
  options.cwd = g_cwd.c_str();
  wintest::Outcome o = wintest::Run(wintest::Quote(g_app + program) + " " + arguments, options);
  std::string loaded;
  wintest::ReadFileText(g_record, &loaded);
  ok_(file, line)(loaded.empty(), "loaded the markers\n%s", loaded.c_str());
  return o;
}
#define RunCopy(...) run_copy_(__FILE__, __LINE__, __VA_ARGS__)

void PathmintActions() {
  wintest::Section("pathmint: every action");
  const struct {
    const char* name;
    std::string arguments;
    const char* file;  // made by the action, or removed when it was there
    bool made;
  } actions[] = {
      {"shortcut", "/L:app /T:C:\\x.exe", "app.lnk", true},
      {"folder", "/folder /L:dir", "dir", true},
      {"one-time shortcut", "/clean /L:once /T:C:\\x.exe", "once.lnk", true},
      {"exec",
       "-exec /L:run.lnk /T:" + wintest::Quote(wintest::ExeDir() + "pathmint_tool_marker.exe"),
       "run.lnk", false},
      {"delfile", "/delfile /T:old.txt", "old.txt", false},
      {"argument file", "/F args.ini", "file.lnk", true},
  };
  for (const auto& a : actions) {
    wintest::Context context("%s", a.name);
    const wintest::Outcome o = RunCopy("pathmint.exe", a.arguments);
    ok(o.ended && o.exitCode == 0 && o.boxes.empty() && o.dialogs == 0,
       "exit code 0x%08lX, %u boxes, %d dialogs", o.exitCode, unsigned(o.boxes.size()), o.dialogs);
    ok(wintest::FileExists(g_cwd + a.file) == a.made, "%s %s", a.file, a.made ? "missing" : "kept");
  }
}

void QuorvelStarts() {
  wintest::Section("quorvel: the dialog, cancelled; the silent start");
  quorvel::DeleteProgramKey();
  quorvel::QuorvelRun r;
  r.run = RunCopy("quorvel.exe", "/x");
  check_run(r, 1, false);
  quorvel::SetProgramValue("TZ0", quorvel::Field("(UTC+09:00) Osaka, Sapporo, Tokyo"));
  quorvel::SetProgramValue("State", quorvel::Dword(0));
  r.run = RunCopy("quorvel.exe", "");
  check_run(r, 0, true);
  quorvel::DeleteProgramKey();
}

}  // namespace

int main() {
  Plant();
  PathmintActions();
  QuorvelStarts();
  PreferSearchPath(false);
  return wintest::Summary();
}
