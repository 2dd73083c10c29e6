// quorvel's start-up flow across runs, watched from outside: the windows it shows, what it writes
// to the program key, and its exit code. Wine refuses every change of the machine's zone, so each
// attempt to apply a zone ends in the warning 108.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "wintest.h"

using namespace wintest;

namespace {

const char kProgramKey[] = "SOFTWARE\\Corvant\\Brell Quorvel Utility";
const char kCatalogue[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
const char kMessage108[] =
    "Access Denied, Unable to Set Time Zone Information.  Please contact your Administrator for "
    "assistance.";
const int kZoneList = 1000, kShowAtStartup = 1001;
std::string g_defaultCaption;

// ---- the program key and the catalogue, read and written directly

struct Stored {
  bool present = false;
  DWORD type = 0;
  std::string bytes;
  bool operator==(const Stored& o) const {
    return present == o.present && type == o.type && bytes == o.bytes;
  }
};

Stored ReadValue(const char* name) {
  Stored s;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return s;
  std::vector<char> buffer(4096);
  DWORD size = static_cast<DWORD>(buffer.size());
  if (RegQueryValueExA(key, name, nullptr, &s.type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
      ERROR_SUCCESS) {
    s.present = true;
    s.bytes.assign(buffer.data(), size);
  }
  RegCloseKey(key);
  return s;
}

bool ProgramKeyExists() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void DeleteProgramKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey); }

void WriteValue(const char* name, DWORD type, const std::string& bytes) {
  HKEY key;
  bool good = RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr) == ERROR_SUCCESS;
  if (good) {
    good = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  ok(good, "cannot write %s", name);
}

std::string Dword(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), sizeof v); }

std::string Field(const std::string& text) {
  std::string f = text;
  f.resize(512, '\0');
  return f;
}

// The display name of the zone whose "Std" is the standard name in force (the last such zone).
std::string ZoneInForce() {
  TIME_ZONE_INFORMATION tzi = {};
  GetTimeZoneInformation(&tzi);
  char inForce[128] = {};
  WideCharToMultiByte(CP_ACP, 0, tzi.StandardName, 32, inForce, sizeof inForce - 1, nullptr, nullptr);
  std::string found;
  HKEY catalogue;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, KEY_READ, &catalogue) != ERROR_SUCCESS)
    return found;
  char name[512];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(catalogue, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    HKEY zone;
    if (RegOpenKeyExA(catalogue, name, 0, KEY_READ, &zone) != ERROR_SUCCESS) continue;
    char display[512] = {}, standard[512] = {};
    DWORD n = sizeof display - 1;
    RegQueryValueExA(zone, "Display", nullptr, nullptr, reinterpret_cast<BYTE*>(display), &n);
    n = sizeof standard - 1;
    RegQueryValueExA(zone, "Std", nullptr, nullptr, reinterpret_cast<BYTE*>(standard), &n);
    if (display[0] && lstrcmpiA(standard, inForce) == 0) found = display;
    RegCloseKey(zone);
  }
  RegCloseKey(catalogue);
  return found;
}

// ---- one run of quorvel, watched

// What the zone dialog showed when it appeared.
struct DialogState {
  bool seen = false;
  std::string selected;  // "<none>" without a selection
  LRESULT entries = 0;
  LRESULT check = -1;
};

enum class Press { kOk, kCancel };

// What the test does with the zone dialog before pressing a button.
struct DialogAction {
  Press press = Press::kCancel;
  bool clearBox = false;
  bool clearSelection = false;
  const char* select = nullptr;  // select this entry
};

struct RunResult {
  bool started = false;
  bool exited = false;
  DWORD exitCode = 0;
  int dialogs = 0;
  DialogState dialog;  // the first one
  std::vector<Box> boxes;
};

// Read through the wide message: Wine hands the narrow text of another process's list back
// wrongly.
std::string EntryText(HWND list, LRESULT index) {
  if (index < 0) return "<none>";
  LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0 || length > 4000) return "<unreadable>";
  std::vector<WCHAR> text(static_cast<size_t>(length) + 1);
  SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  char narrow[8192] = {};
  WideCharToMultiByte(CP_ACP, 0, text.data(), -1, narrow, sizeof narrow - 1, nullptr, nullptr);
  return narrow;
}

void Click(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Starts quorvel with the argument text, handles the zone dialog as told (Cancel when no action
// is given), presses OK on every message box, and waits for the end.
RunResult RunQuorvel(const std::string& arguments, const DialogAction* action) {
  RunResult r;
  std::string line = Quote(ExeDir() + "quorvel.exe");
  if (!arguments.empty()) line += " " + arguments;
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return r;
  r.started = true;
  std::vector<HWND> handled;
  DWORD start = GetTickCount();
  bool ended = false;
  while (!ended && GetTickCount() - start < 60000) {
    ended = WaitForSingleObject(pi.hProcess, 20) == WAIT_OBJECT_0;
    HWND h = nullptr;
    while ((h = FindWindowExA(nullptr, h, "#32770", nullptr)) != nullptr) {
      DWORD pid = 0;
      GetWindowThreadProcessId(h, &pid);
      if (pid != pi.dwProcessId || !IsWindowVisible(h)) continue;
      bool known = false;
      for (HWND s : handled) known = known || s == h;
      if (known) continue;
      handled.push_back(h);
      HWND list = GetDlgItem(h, kZoneList);
      if (!list) {
        Box box;
        char text[4096] = {};
        GetWindowTextA(h, text, sizeof text);
        box.caption = text;
        text[0] = '\0';
        if (HWND t = GetDlgItem(h, 0xFFFF)) SendMessageA(t, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        box.text = text;
        r.boxes.push_back(box);
        Click(h, IDOK);
        continue;
      }
      if (++r.dialogs == 1) {
        // The list is filled during the dialog's initialisation, before it becomes visible.
        r.dialog.seen = true;
        r.dialog.entries = SendMessageA(list, CB_GETCOUNT, 0, 0);
        r.dialog.selected = EntryText(list, SendMessageA(list, CB_GETCURSEL, 0, 0));
        r.dialog.check = SendDlgItemMessageA(h, kShowAtStartup, BM_GETCHECK, 0, 0);
      }
      if (action && r.dialogs == 1) {
        if (action->clearBox) SendDlgItemMessageA(h, kShowAtStartup, BM_SETCHECK, BST_UNCHECKED, 0);
        if (action->clearSelection) SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        if (action->select) {
          LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(action->select));
          ok(index >= 0, "entry '%s' not in the list", action->select);
          SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
        Click(h, action->press == Press::kOk ? IDOK : IDCANCEL);
      } else {
        Click(h, IDCANCEL);
      }
    }
  }
  if (!ended) TerminateProcess(pi.hProcess, 0xDEAD);
  WaitForSingleObject(pi.hProcess, 5000);
  r.exited = ended;
  GetExitCodeProcess(pi.hProcess, &r.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return r;
}

void CheckEnded(const RunResult& r, const char* what) {
  ok(r.started && r.exited, "%s: started %d, ended %d", what, r.started, r.exited);
  ok(r.exitCode == 0, "%s: exit code 0x%lx", what, r.exitCode);
}

// Exactly the refusal of the zone change, once.
void CheckRefusedOnce(const RunResult& r, const char* what) {
  ok(r.boxes.size() == 1, "%s: %u message boxes", what, static_cast<unsigned>(r.boxes.size()));
  for (const Box& b : r.boxes) {
    ok(b.text == kMessage108, "%s: box text \"%s\"", what, b.text.c_str());
    ok(b.caption == g_defaultCaption, "%s: box caption \"%s\", want \"%s\"", what, b.caption.c_str(),
       g_defaultCaption.c_str());
  }
}

std::string DefaultBoxCaption() {
  BoxWatcher any(nullptr);
  Run(Quote(ExeDir() + "quorvel_tool_default_caption_box.exe"), nullptr, 30000);
  for (const Box& b : any.Stop()) {
    if (b.text == "default caption probe") return b.caption;
  }
  ok(false, "the caption probe box did not appear");
  return "(none)";
}

// ---- the flow

void FlowAcrossRuns() {
  DeleteProgramKey();
  std::string inForce = ZoneInForce();
  ok(!inForce.empty(), "no catalogue zone is in force");
  // A zone other than the one in force is chosen, so that its preselection later shows that it
  // was saved.
  const char* chosen = "(UTC+09:00) Osaka, Sapporo, Tokyo";

  Section("first start: dialog, Cancel writes nothing");
  RunResult r = RunQuorvel("", nullptr);
  CheckEnded(r, "first start");
  ok(r.dialogs == 1, "%d dialogs", r.dialogs);
  ok(r.dialog.entries > 100, "%ld entries", static_cast<long>(r.dialog.entries));
  ok(r.dialog.selected == inForce, "selected '%s', in force '%s'", r.dialog.selected.c_str(), inForce.c_str());
  ok(r.dialog.check == BST_CHECKED, "check box %ld on a first start", static_cast<long>(r.dialog.check));
  ok(r.boxes.empty(), "%u boxes", static_cast<unsigned>(r.boxes.size()));
  ok(!ProgramKeyExists(), "Cancel created the program key");

  Section("OK with the box cleared and another zone chosen");
  DialogAction chooseAndClear;
  chooseAndClear.press = Press::kOk;
  chooseAndClear.clearBox = true;
  chooseAndClear.select = chosen;
  r = RunQuorvel("", &chooseAndClear);
  CheckEnded(r, "OK");
  ok(r.dialogs == 1, "%d dialogs", r.dialogs);
  CheckRefusedOnce(r, "OK");  // applying failed, yet both values are written
  Stored state = ReadValue("State"), tz0 = ReadValue("TZ0");
  ok(state.present && state.type == REG_DWORD && state.bytes == Dword(0), "State after OK");
  ok(tz0.present && tz0.type == REG_SZ && tz0.bytes == Field(chosen), "TZ0 after OK (%u bytes)",
     static_cast<unsigned>(tz0.bytes.size()));

  Section("next start is silent, the refused change is reported once");
  r = RunQuorvel("", nullptr);
  CheckEnded(r, "silent start");
  ok(r.dialogs == 0, "silent start showed %d dialogs", r.dialogs);
  CheckRefusedOnce(r, "silent start");
  ok(ReadValue("State") == state && ReadValue("TZ0") == tz0, "silent start changed the program key");

  Section("/X shows the dialog with the box cleared and the saved zone selected; Cancel");
  r = RunQuorvel("/X", nullptr);
  CheckEnded(r, "/X");
  ok(r.dialogs == 1, "%d dialogs", r.dialogs);
  ok(r.dialog.check == BST_UNCHECKED, "check box %ld", static_cast<long>(r.dialog.check));
  ok(r.dialog.selected == chosen, "selected '%s'", r.dialog.selected.c_str());
  ok(r.boxes.empty(), "%u boxes", static_cast<unsigned>(r.boxes.size()));
  ok(ReadValue("State") == state && ReadValue("TZ0") == tz0, "Cancel changed the program key");

  Section("/x, OK with no selection: no zone applied, 512 zero bytes saved");
  DialogAction noSelection;
  noSelection.press = Press::kOk;
  noSelection.clearSelection = true;
  r = RunQuorvel("/x", &noSelection);
  CheckEnded(r, "OK without selection");
  ok(r.dialogs == 1, "%d dialogs", r.dialogs);
  ok(r.boxes.empty(), "%u boxes: nothing should be applied", static_cast<unsigned>(r.boxes.size()));
  ok(ReadValue("State") == state, "State after OK without selection");
  tz0 = ReadValue("TZ0");
  ok(tz0.present && tz0.type == REG_SZ && tz0.bytes == std::string(512, '\0'),
     "TZ0 after OK without selection (%u bytes)", static_cast<unsigned>(tz0.bytes.size()));

  Section("an empty saved name shows the dialog though the flag is off");
  r = RunQuorvel("", nullptr);
  CheckEnded(r, "start without saved zone");
  ok(r.dialogs == 1, "%d dialogs", r.dialogs);
  ok(r.dialog.selected == inForce, "selected '%s'", r.dialog.selected.c_str());
  ok(r.boxes.empty(), "%u boxes", static_cast<unsigned>(r.boxes.size()));
  DeleteProgramKey();
}

// The start-up flag as stored decides between dialog and silent start when a zone is saved.
void StoredFlagDecides(const char* inForce) {
  struct Case {
    const char* what;
    bool hasState;
    DWORD type;
    std::string bytes;
    bool dialog;
  } cases[] = {
      {"State 1", true, REG_DWORD, Dword(1), true},
      {"State 2", true, REG_DWORD, Dword(2), false},
      {"State 0", true, REG_DWORD, Dword(0), false},
      {"State of 8 bytes", true, REG_QWORD, std::string(8, '\0'), true},
      {"no State", false, REG_NONE, std::string(), true},
  };
  for (const Case& c : cases) {
    Section(c.what);
    DeleteProgramKey();
    WriteValue("TZ0", REG_SZ, Field(inForce));
    if (c.hasState) WriteValue("State", c.type, c.bytes);
    RunResult r = RunQuorvel("", nullptr);
    CheckEnded(r, c.what);
    if (c.dialog) {
      ok(r.dialogs == 1 && r.boxes.empty(), "%s: %d dialogs, %u boxes, want the dialog", c.what,
         r.dialogs, static_cast<unsigned>(r.boxes.size()));
      ok(r.dialog.check == BST_CHECKED, "%s: check box %ld", c.what, static_cast<long>(r.dialog.check));
    } else {
      ok(r.dialogs == 0, "%s: %d dialogs, want the silent start", c.what, r.dialogs);
      CheckRefusedOnce(r, c.what);
    }
  }
  DeleteProgramKey();
}

}  // namespace

int main() {
  g_defaultCaption = DefaultBoxCaption();
  FlowAcrossRuns();
  StoredFlagDecides("(UTC+09:00) Osaka, Sapporo, Tokyo");
  return Summary();
}
