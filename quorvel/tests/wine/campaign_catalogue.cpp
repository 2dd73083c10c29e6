// Bad-input campaign on the zone catalogue, with the real program: three hundred zones are added
// to the prefix's catalogue with values of every registry type and of every size from nothing to
// a megabyte (texts cut at the field, unterminated, non-ASCII, duplicated; rules too short, too
// long, of the wrong type). quorvel must list exactly the zones that have a display name, cut to
// 511 bytes, never write to the catalogue, save the chosen zone within its field, start silently
// with it, and end with exit code 0 every time. Afterwards the catalogue is exactly what it was
// before, byte for byte (a copy is kept under a backup key while the test runs, and a copy left by
// an interrupted run is put back first).
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue_backup.h"
#include "wintest.h"

using namespace wintest;

namespace {

using catalogue_backup::kBackupRoot;
using catalogue_backup::kCatalogue;
const char kProgramKey[] = "SOFTWARE\\Corvant\\Brell Quorvel Utility";
const char kPrefix[] = "zzQuorvelCampaign ";
const char kMessage108[] =
    "Access Denied, Unable to Set Time Zone Information.  Please contact your Administrator for "
    "assistance.";
const int kZoneList = 1000, kShowAtStartup = 1001;
const int kZones = 300;

// ---- the catalogue, byte for byte

// Every subkey, value name, type and byte below key, in enumeration order.
void Dump(HKEY key, const std::string& path, std::string* out) {
  DWORD maxName = 0, maxData = 0, maxSub = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &maxSub, nullptr, nullptr, &maxName,
                   &maxData, nullptr, nullptr);
  std::vector<char> name(maxName + 2);
  std::vector<BYTE> data(maxData + 2);
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) !=
        ERROR_SUCCESS) {
      break;
    }
    char head[64];
    snprintf(head, sizeof head, "|%lu|%lu|", type, dataSize);
    *out += path + "=" + std::string(name.data(), nameSize) + head;
    out->append(reinterpret_cast<const char*>(data.data()), dataSize);
    *out += '\n';
  }
  std::vector<char> sub(maxSub + 2);
  for (DWORD i = 0;; ++i) {
    DWORD subSize = static_cast<DWORD>(sub.size());
    if (RegEnumKeyExA(key, i, sub.data(), &subSize, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    std::string child(sub.data(), subSize);
    *out += path + "\\" + child + "\n";
    HKEY h;
    if (RegOpenKeyExA(key, child.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
      Dump(h, path + "\\" + child, out);
      RegCloseKey(h);
    }
  }
}

std::string CatalogueDump() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  std::string out = "present\n";
  Dump(key, "", &out);
  RegCloseKey(key);
  return out;
}

bool KeyExists(HKEY root, const char* path) {
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// ---- the zones added

struct Value {
  bool present = false;
  DWORD type = REG_SZ;
  std::string bytes;
};
Value Text(const std::string& s, DWORD type = REG_SZ) { return Value{true, type, s + '\0'}; }
Value Raw(DWORD type, const std::string& bytes) { return Value{true, type, bytes}; }
Value Absent() { return Value{}; }

std::string Bytes(size_t n, unsigned seed, bool noZero) {
  std::string out(n, '\0');
  for (char& c : out) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 16);
    if (noZero && c == 0) c = 'z';
  }
  return out;
}

std::string Number(int i) {
  char buf[8];
  snprintf(buf, sizeof buf, "%03d", i);
  return buf;
}

struct Zone {
  std::string key;
  Value display, standard, daylight, rule;
};

// Zone i: a shape chosen by i, so that every shape occurs many times among the 300.
Zone MakeZone(int i) {
  const std::string n = Number(i);
  Zone z;
  z.key = kPrefix + n;
  z.display = Text("(UTC+01:00) Campaign " + n);
  z.standard = Text("Campaign Std " + n);
  z.daylight = Text("Campaign Dlt " + n);
  z.rule = Raw(REG_BINARY, Bytes(44, static_cast<unsigned>(i), false));
  switch (i % 20) {
    case 1:
      z.display = Text("%SystemRoot% Campaign " + n, REG_EXPAND_SZ);
      z.standard = Text("%TEMP%", REG_EXPAND_SZ);
      z.rule = Raw(REG_BINARY, Bytes(43, 1, false));
      break;
    case 2:
      z.display = Raw(REG_MULTI_SZ, "Multi " + n + std::string("\0second\0\0", 9));
      z.standard = Raw(REG_MULTI_SZ, std::string("\0\0", 2));
      z.rule = Raw(REG_BINARY, Bytes(45, 2, false));
      break;
    case 3:
      z.display = Raw(REG_BINARY, "Binary " + n);  // no terminator
      z.standard = Raw(REG_BINARY, std::string(600, 'S'));
      z.rule = Text("not a rule");
      break;
    case 4:
      z.display = Raw(REG_DWORD, std::string("D", 1) + n.substr(0, 3));
      z.standard = Raw(REG_DWORD, std::string("\0\0\0\0", 4));
      z.rule = Raw(REG_DWORD, "rule");
      break;
    case 5:
      z.display = Raw(REG_QWORD, "Q" + n + "qqqq");
      z.daylight = Raw(REG_QWORD, std::string(8, '\xFF'));
      z.rule = Raw(REG_QWORD, Bytes(8, 5, false));
      break;
    case 6:
      z.display = Raw(REG_NONE, "");
      z.standard = Absent();
      break;
    case 7:
      z.display = Text("");
      break;
    case 8:
      z.display = Absent();
      z.rule = Absent();
      break;
    case 9:
      z.display = Text(n + std::string(508, 'a'));     // 511 bytes
      z.standard = Text(n + std::string(509, 'b'));    // 512
      z.daylight = Text(n + std::string(510, 'c'));    // 513
      break;
    case 10:
      z.display = Raw(REG_BINARY, n + std::string(509, 'B'));  // 512 bytes, no terminator
      break;
    case 11:
      z.display = Text(n + std::string(4093, 'L'));
      break;
    case 12:
      // Non-zero bytes of every value, 64 KB of them in the first few zones.
      z.display = Raw(REG_BINARY, n + Bytes(i < 20 ? 65536 : 700, static_cast<unsigned>(i), true));
      break;
    case 13:
      z.display = Text("Zone \xE9\xE8\xFC\x80\x9F " + n);
      z.standard = Text("Std \xC0\xFF " + n);
      break;
    case 14:
      z.display = Raw(REG_LINK, "Link " + n);
      break;
    case 15:
      z.display = Raw(REG_RESOURCE_LIST, "Resources " + n + std::string("\0tail", 5));
      break;
    case 16:
      z.display = Text(n + std::string(i < 20 ? (1 << 20) : 2000, 'M'));
      break;
    case 17:
      z.standard = Text(std::string(i < 20 ? 65536 : 3000, 's'));
      z.daylight = Raw(REG_BINARY, Bytes(i < 20 ? 65536 : 3000, 3, false));
      break;
    case 18:
      z.rule = Raw(REG_BINARY, Bytes(i < 20 ? (1 << 20) : 100, 4, false));
      break;
    case 19:
      z.display = Text("(UTC+01:00) Campaign 000");  // the same name as zone 0
      break;
  }
  if (i == 7) z.key = kPrefix + std::string(100, 'K');  // a long key name
  return z;
}

bool SetValue(HKEY key, const char* name, const Value& v) {
  if (!v.present) return true;
  return RegSetValueExA(key, name, 0, v.type, reinterpret_cast<const BYTE*>(v.bytes.data()),
                        static_cast<DWORD>(v.bytes.size())) == ERROR_SUCCESS;
}

bool AddZone(const Zone& z) {
  HKEY key;
  std::string path = std::string(kCatalogue) + "\\" + z.key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  bool good = SetValue(key, "Display", z.display) && SetValue(key, "Std", z.standard) &&
              SetValue(key, "Dlt", z.daylight) && SetValue(key, "TZI", z.rule);
  RegCloseKey(key);
  return good;
}

// What the list shows for each zone of the catalogue: the display value as the registry gives it
// to a narrow caller, its first 511 bytes, up to the first zero byte; zones with none are left out.
std::vector<std::string> ExpectedEntries() {
  std::vector<std::string> entries;
  HKEY catalogue;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, KEY_READ, &catalogue) != ERROR_SUCCESS)
    return entries;
  char name[512];
  std::vector<char> data(4 << 20);
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(catalogue, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    HKEY zone;
    if (RegOpenKeyExA(catalogue, name, 0, KEY_READ, &zone) != ERROR_SUCCESS) continue;
    DWORD n = static_cast<DWORD>(data.size());
    if (RegQueryValueExA(zone, "Display", nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                         &n) == ERROR_SUCCESS) {
      std::string text(data.data(), std::min<DWORD>(n, 511));
      text = text.c_str();
      if (!text.empty()) entries.push_back(text);
    }
    RegCloseKey(zone);
  }
  RegCloseKey(catalogue);
  return entries;
}

// ---- quorvel, started and watched

struct Started {
  PROCESS_INFORMATION pi = {};
  bool running = false;
};

Started Start(const std::string& arguments) {
  Started s;
  std::string line = Quote(ExeDir() + "quorvel.exe") + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA si;
  ZeroMemory(&si, sizeof si);
  si.cb = sizeof si;
  s.running = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                             &s.pi) != 0;
  ok(s.running, "quorvel starts");
  return s;
}

DWORD Finish(Started& s) {
  if (!s.running) return 0xDEADBEEF;
  if (WaitForSingleObject(s.pi.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(s.pi.hProcess, 0xDEAD);
  WaitForSingleObject(s.pi.hProcess, 5000);
  DWORD code = 0xDEADBEEF;
  GetExitCodeProcess(s.pi.hProcess, &code);
  CloseHandle(s.pi.hThread);
  CloseHandle(s.pi.hProcess);
  s.running = false;
  return code;
}

struct Find {
  DWORD pid;
  bool zoneDialog;
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  Find* f = reinterpret_cast<Find*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char cls[32] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (pid != f->pid || strcmp(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  if ((GetDlgItem(window, kZoneList) != nullptr) != f->zoneDialog) return TRUE;
  f->found = window;
  return FALSE;
}

// The zone dialog (or a message box) of the process, or null when none comes within timeoutMs.
HWND WaitForWindow(const Started& s, bool zoneDialog, DWORD timeoutMs) {
  for (DWORD waited = 0; s.running; waited += 50) {
    Find f = {s.pi.dwProcessId, zoneDialog, nullptr};
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&f));
    if (f.found || waited >= timeoutMs) return f.found;
    if (WaitForSingleObject(s.pi.hProcess, 50) == WAIT_OBJECT_0) {
      EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&f));
      return f.found;
    }
  }
  return nullptr;
}

// The entries, read through the wide messages (text crosses the process boundary as UTF-16) and
// converted to the ANSI code page, as the program's own narrow calls see them.
std::vector<std::string> ListEntries(HWND list) {
  std::vector<std::string> out;
  LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::vector<wchar_t> text(static_cast<size_t>(length < 0 ? 0 : length) + 2, L'\0');
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(n > 0 ? n : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), -1, &ansi[0], n, nullptr, nullptr);
    out.push_back(ansi.c_str());
  }
  return out;
}

// Presses OK on a message box of the process and gives its text.
std::string AnswerBox(const Started& s) {
  HWND box = WaitForWindow(s, false, 30000);
  if (!box) return "<no box>";
  char text[1024] = "";
  GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return text;
}

bool ProgramValue(const char* name, DWORD* type, std::string* bytes) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  std::vector<char> data(8192);
  DWORD size = static_cast<DWORD>(data.size());
  bool good = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(data.data()),
                               &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (good) bytes->assign(data.data(), size);
  return good;
}

void ListsEveryZoneAndSavesWithinTheField() {
  Section("the dialog lists every zone with a display name");
  RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
  std::vector<std::string> want = ExpectedEntries();
  const std::string before = CatalogueDump();

  const DWORD start = GetTickCount();
  Started s = Start("");
  HWND dialog = WaitForWindow(s, true, 30000);
  if (!ok(dialog != nullptr, "the zone dialog appears")) {
    Finish(s);
    return;
  }
  printf("dialog ready after %lu ms with %u zones in the catalogue\n", GetTickCount() - start,
         unsigned(want.size()));
  HWND list = GetDlgItem(dialog, kZoneList);
  std::vector<std::string> entries = ListEntries(list);
  std::vector<std::string> a = entries, b = want;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  ok(a.size() == b.size(), "%u entries listed, %u expected", unsigned(a.size()), unsigned(b.size()));
  size_t shown = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] != b[i] && shown++ < 3) ok(false, "entry [%.60s] where [%.60s] was expected", a[i].c_str(), b[i].c_str());
  }
  ok(a == b, "the entries are the display names, cut to 511 bytes");
  ok(std::count(entries.begin(), entries.end(), "(UTC+01:00) Campaign 000") == 1 + kZones / 20,
     "duplicate display names are each listed");

  // Choose the zone whose display name is a megabyte long: it is listed cut to 511 bytes.
  const std::string cut = (Number(16) + std::string(1 << 20, 'M')).substr(0, 511);
  LRESULT index = -1;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] == cut) index = static_cast<LRESULT>(i);
  }
  ok(index >= 0, "the megabyte name is listed cut to 511 bytes");
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  // Wine does not let a program set the machine's zone, so OK shows message 108.
  ok(AnswerBox(s) == kMessage108, "OK: message 108");
  ok(Finish(s) == 0, "OK: exit code 0");

  DWORD type = 0;
  std::string stored;
  ok(ProgramValue("TZ0", &type, &stored) && type == REG_SZ && stored.size() == 512 &&
         stored.compare(0, 511, cut) == 0 && stored[511] == '\0',
     "TZ0: type %lu, %u bytes", type, unsigned(stored.size()));
  ok(CatalogueDump() == before, "the catalogue was written to");

  Section("silent start with the saved zone");
  HKEY key;
  DWORD off = 0;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(key, "State", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof off);
    RegCloseKey(key);
  }
  s = Start("");
  ok(AnswerBox(s) == kMessage108, "silent start: message 108");
  ok(WaitForWindow(s, true, 500) == nullptr, "silent start: the dialog appeared");
  ok(Finish(s) == 0, "silent start: exit code 0");
  std::string after;
  ok(ProgramValue("TZ0", &type, &after) && after == stored, "silent start: TZ0 changed");
  ok(CatalogueDump() == before, "the catalogue was written to");
  RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
}

}  // namespace

int main() {
  // A run that stopped half-way may have left its copy or its zones behind.
  catalogue_backup::RestoreCatalogue();
  catalogue_backup::RemoveZones(kPrefix);

  const std::string original = CatalogueDump();
  if (!ok(original.size() > 1000, "the prefix has a zone catalogue")) return Summary();
  if (!ok(catalogue_backup::SaveCatalogue(), "the catalogue cannot be copied")) return Summary();

  Section("three hundred zones of every shape");
  bool added = true;
  for (int i = 0; i < kZones; ++i) {
    if (!AddZone(MakeZone(i))) {
      printf("zone %d not added\n", i);
      added = false;
    }
  }
  ok(added, "the zones could not all be added");

  ListsEveryZoneAndSavesWithinTheField();

  Section("the catalogue is put back exactly");
  catalogue_backup::RemoveZones(kPrefix);
  bool same = CatalogueDump() == original;
  ok(same, "the catalogue differs after the campaign's zones were removed");
  if (!same) catalogue_backup::RestoreCatalogue();
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kBackupRoot);
  ok(CatalogueDump() == original, "the catalogue is not as it was");
  ok(!KeyExists(HKEY_LOCAL_MACHINE, kBackupRoot), "the backup is left behind");
  return Summary();
}
