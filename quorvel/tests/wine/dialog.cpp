// quorvel's start under Wine, watched from outside: the zone dialog with its localised texts, the
// check box on a first start, Cancel and the close box writing nothing, the "/x" switch, and the
// warning box of a refused silent start.
//
//   quorvel_wine_dialog.exe                 everything, in the language Wine gives this process
//   quorvel_wine_dialog.exe --texts LANGID  only the first start's texts; fails unless the user's
//                                           language is LANGID (hex), so that a locale that did
//                                           not take effect cannot pass as English
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "wintest.h"

using namespace wintest;

namespace {

const char kProgramKey[] = "SOFTWARE\\Corvant\\Brell Quorvel Utility";
const char kCatalogueKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
const char kMessage108[] =
    "Access Denied, Unable to Set Time Zone Information.  Please contact your Administrator for "
    "assistance.";
const int kZoneList = 1000, kShowAtStartup = 1001, kPrompt = 1002;

// The four dialog texts of the languages the tests run in (UTF-8).
struct DialogTexts {
  LANGID language;
  const char* prompt;
  const char* showAtStartup;
  const char* ok;
  const char* cancel;
};
const DialogTexts kLanguages[] = {
    {0x0409, "Select your current Time Zone", "Display this dialog box on startup", "Ok", "Cancel"},
    {0x0407, "Wählen Sie Ihre Zeitzone aus", "Dialogfenster beim Systemstart anzeigen", "Ok",
     "Abbrechen"},
    {0x040C, "Sélectionnez votre fuseau horaire actuel",
     "Afficher cette boîte de dialogue au démarrage", "Ok", "Annuler"},
    {0x0411, "現在のタイム ゾーンを選択してください",
     "スタートアップ時にこのダイアログ ボックスを表示する", "OK", "キャンセル"},
};

std::wstring Wide(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring out(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &out[0], n);
  return out;
}

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring WindowTextW(HWND window) {
  wchar_t buf[1024];
  buf[0] = L'\0';
  if (window) GetWindowTextW(window, buf, 1024);
  return buf;
}

std::string QuorvelPath() { return ExeDir() + "quorvel.exe"; }

// The caption of dialog 129 as the program file's template holds it (an extended template).
std::wstring TemplateCaption() {
  HMODULE module = LoadLibraryExA(QuorvelPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return L"(quorvel.exe cannot be loaded)";
  std::wstring caption = L"(no template 129)";
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(129), MAKEINTRESOURCEA(5));
  const WORD* p = res ? static_cast<const WORD*>(LockResource(LoadResource(module, res))) : nullptr;
  if (p && SizeofResource(module, res) > 26 && p[0] == 1 && p[1] == 0xFFFF) {
    const WORD* end = p + SizeofResource(module, res) / 2;
    p += 13;  // version, signature, help id, extended style, style, item count, x, y, cx, cy
    for (int field = 0; field < 2 && p < end; ++field) {  // menu, then window class
      if (*p == 0) ++p;
      else if (*p == 0xFFFF) p += 2;
      else { while (p < end && *p) ++p; ++p; }
    }
    caption.clear();
    while (p < end && *p) caption += static_cast<wchar_t>(*p++);
  }
  FreeLibrary(module);
  return caption;
}

// ---- the program key, read and prepared from outside

// Every value of the program key (name, type, bytes), or "absent".
std::string KeySnapshot() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "absent";
  std::string out = "present";
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameSize = sizeof name, type = 0;
    BYTE data[2048];
    DWORD dataSize = sizeof data;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    char head[300];
    snprintf(head, sizeof head, " [%s type %lu size %lu:", name, type, dataSize);
    out += head;
    for (DWORD b = 0; b < dataSize; ++b) {
      char hex[4];
      snprintf(hex, sizeof hex, "%02x", data[b]);
      out += hex;
    }
    out += "]";
  }
  RegCloseKey(key);
  return out;
}

void DeleteProgramKey() { RegDeleteKeyA(HKEY_CURRENT_USER, kProgramKey); }

bool WriteProgramKey(DWORD state, const std::string& zone) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  std::vector<BYTE> name(512, 0);
  memcpy(name.data(), zone.c_str(), zone.size() < 511 ? zone.size() : 511);
  bool good = RegSetValueExA(key, "State", 0, REG_DWORD, reinterpret_cast<BYTE*>(&state), 4) == ERROR_SUCCESS &&
              RegSetValueExA(key, "TZ0", 0, REG_SZ, name.data(), 512) == ERROR_SUCCESS;
  RegCloseKey(key);
  return good;
}

// The "Display" text of the first zone of the platform's catalogue.
std::string SomeCatalogueZone() {
  HKEY catalogue, zone;
  std::string out;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogueKey, 0, KEY_READ, &catalogue) != ERROR_SUCCESS) return out;
  char sub[512];
  DWORD subSize = sizeof sub;
  if (RegEnumKeyExA(catalogue, 0, sub, &subSize, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
      RegOpenKeyExA(catalogue, sub, 0, KEY_READ, &zone) == ERROR_SUCCESS) {
    char display[512] = "";
    DWORD size = sizeof display - 1;
    if (RegQueryValueExA(zone, "Display", nullptr, nullptr, reinterpret_cast<BYTE*>(display), &size) == ERROR_SUCCESS) {
      out = display;
    }
    RegCloseKey(zone);
  }
  RegCloseKey(catalogue);
  return out;
}

// ---- quorvel started and watched

struct Started {
  PROCESS_INFORMATION pi = {};
  bool running = false;
};

// Starts quorvel with exactly this argument text after the quoted program name.
Started Start(const std::string& arguments) {
  Started s;
  std::string line = Quote(QuorvelPath()) + (arguments.empty() ? "" : " " + arguments);
  std::vector<char> buf(line.begin(), line.end());
  buf.push_back('\0');
  STARTUPINFOA si;
  ZeroMemory(&si, sizeof si);
  si.cb = sizeof si;
  s.running = CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &s.pi) != 0;
  ok(s.running, "quorvel starts: %s", line.c_str());
  return s;
}

// Ends the watch: waits for quorvel to end by itself and checks that its exit code is 0.
void ExpectExit(Started& s, const char* what) {
  if (!s.running) return;
  DWORD wait = WaitForSingleObject(s.pi.hProcess, 30000);
  if (!ok(wait == WAIT_OBJECT_0, "%s: quorvel ends", what)) TerminateProcess(s.pi.hProcess, 0xDEAD);
  WaitForSingleObject(s.pi.hProcess, 5000);
  DWORD code = 0xDEAD;
  GetExitCodeProcess(s.pi.hProcess, &code);
  ok(code == 0, "%s: exit code %lu, want 0", what, code);
  CloseHandle(s.pi.hThread);
  CloseHandle(s.pi.hProcess);
  s.running = false;
}

struct FindState {
  DWORD pid;
  bool wantZoneDialog;
  HWND found;
};

BOOL CALLBACK FindProc(HWND window, LPARAM param) {
  FindState* state = reinterpret_cast<FindState*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char cls[64] = "";
  GetClassNameA(window, cls, sizeof cls);
  if (pid != state->pid || strcmp(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
  bool isZoneDialog = GetDlgItem(window, kZoneList) != nullptr;
  if (isZoneDialog != state->wantZoneDialog) return TRUE;
  state->found = window;
  return FALSE;
}

// The first visible zone dialog (or message box) of the process, waiting up to timeoutMs; null
// when none appears or the process ends first.
HWND WaitForWindow(const Started& s, bool zoneDialog, DWORD timeoutMs) {
  if (!s.running) return nullptr;
  for (DWORD waited = 0;; waited += 50) {
    FindState state = {s.pi.dwProcessId, zoneDialog, nullptr};
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&state));
    if (state.found) return state.found;
    if (waited >= timeoutMs || WaitForSingleObject(s.pi.hProcess, 50) == WAIT_OBJECT_0) {
      // One last look: the window may have come up just as the process was seen to end.
      EnumWindows(FindProc, reinterpret_cast<LPARAM>(&state));
      return state.found;
    }
  }
}

// Which standard icon the message box shows: its icon control's pixels on screen compared with
// each standard icon drawn on the same background. Returns the best match or null.
LPCSTR BoxIcon(HWND box) {
  HWND icon = GetDlgItem(box, 0x0440);  // the message box's icon control
  if (!icon || !IsWindowVisible(icon)) return nullptr;
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(300);
  RECT r;
  GetWindowRect(icon, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC shot = CreateCompatibleDC(screen);
  HBITMAP shotBits = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ oldShot = SelectObject(shot, shotBits);
  BitBlt(shot, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  COLORREF background = GetPixel(shot, 0, 0);
  static const LPCSTR kIcons[] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION};
  LPCSTR best = nullptr;
  long bestDiff = w * h / 20 + 1;  // a match must agree in at least 95% of the pixels
  for (LPCSTR id : kIcons) {
    HDC drawn = CreateCompatibleDC(screen);
    HBITMAP drawnBits = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ oldDrawn = SelectObject(drawn, drawnBits);
    HBRUSH brush = CreateSolidBrush(background);
    RECT all = {0, 0, w, h};
    FillRect(drawn, &all, brush);
    DeleteObject(brush);
    DrawIconEx(drawn, 0, 0, LoadIconA(nullptr, id), w, h, 0, nullptr, DI_NORMAL);
    long diff = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) diff += GetPixel(drawn, x, y) != GetPixel(shot, x, y);
    if (diff < bestDiff) {
      bestDiff = diff;
      best = id;
    }
    SelectObject(drawn, oldDrawn);
    DeleteObject(drawnBits);
    DeleteDC(drawn);
  }
  SelectObject(shot, oldShot);
  DeleteObject(shotBits);
  DeleteDC(shot);
  ReleaseDC(nullptr, screen);
  return best;
}

// The title the platform gives a message box that has no caption of its own.
std::string DefaultBoxCaption() {
  std::string line = Quote(ExeDir() + "quorvel_tool_default_caption_box.exe");
  BoxWatcher any(nullptr);
  ProcessResult r = Run(line, nullptr, 30000);
  std::vector<Box> boxes = any.Stop();
  for (const Box& b : boxes) {
    if (b.text == "default caption probe") return b.caption;
  }
  ok(false, "the probe box appeared (started %d, timed out %d)", r.started, r.timedOut);
  return "(none)";
}

// ---- the scenarios

const DialogTexts* ExpectedTexts() {
  LANGID ui = GetUserDefaultUILanguage();
  for (const DialogTexts& t : kLanguages) {
    if (t.language == ui) return &t;
  }
  ok(false, "the user's language 0x%04x is one of those with known texts", ui);
  return nullptr;
}

// A first start (no program key): the dialog with its texts and the box ticked; Cancel (or the
// close box) ends it with exit code 0 and leaves the program key absent.
void FirstStart(const std::wstring& caption, bool useCloseBox) {
  Section(useCloseBox ? "first start, closed by the caption's close box" : "first start, Cancel");
  DeleteProgramKey();
  ok(KeySnapshot() == "absent", "the program key is gone before the start");
  Started s = Start("");
  HWND dialog = WaitForWindow(s, true, 30000);
  if (ok(dialog != nullptr, "the zone dialog appears on a first start")) {
    const DialogTexts* want = ExpectedTexts();
    struct {
      int id;
      const char* what;
      const char* text;
    } rows[] = {{kPrompt, "prompt", want ? want->prompt : ""},
                {kShowAtStartup, "check box", want ? want->showAtStartup : ""},
                {IDOK, "OK button", want ? want->ok : ""},
                {IDCANCEL, "Cancel button", want ? want->cancel : ""}};
    for (const auto& row : rows) {
      std::wstring got = WindowTextW(GetDlgItem(dialog, row.id));
      ok(got == Wide(row.text), "%s reads \"%s\", want \"%s\"", row.what, Utf8(got).c_str(), row.text);
    }
    std::wstring gotCaption = WindowTextW(dialog);
    ok(gotCaption == caption, "caption \"%s\", want the template's \"%s\"", Utf8(gotCaption).c_str(),
       Utf8(caption).c_str());
    LRESULT check = SendMessageA(GetDlgItem(dialog, kShowAtStartup), BM_GETCHECK, 0, 0);
    ok(check == BST_CHECKED, "the check box is ticked on a first start (BM_GETCHECK %ld)", (long)check);
    LRESULT zones = SendMessageA(GetDlgItem(dialog, kZoneList), CB_GETCOUNT, 0, 0);
    ok(zones > 0, "the zone list holds zones (%ld)", (long)zones);
    if (useCloseBox) {
      PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    }
  }
  ExpectExit(s, "first start");
  ok(KeySnapshot() == "absent", "nothing was written: %s", KeySnapshot().c_str());
}

// With a saved zone and the dialog turned off: the switch decides between the dialog (box clear)
// and the silent start, which Wine refuses, so that it shows message 108.
void SwitchRule(const std::string& defaultCaption) {
  std::string zone = SomeCatalogueZone();
  ok(!zone.empty(), "the catalogue has a zone to save");
  struct Case {
    const char* arguments;
    bool dialog;
  } cases[] = {{"/x", true}, {"/X", true}, {"/x ", false}, {"-x", false}, {"", false}, {"/xx", false}};
  for (const Case& c : cases) {
    char name[64];
    snprintf(name, sizeof name, "saved zone, dialog off, arguments \"%s\"", c.arguments);
    Section(name);
    DeleteProgramKey();
    ok(WriteProgramKey(0, zone), "the program key is prepared");
    std::string before = KeySnapshot();
    Started s = Start(c.arguments);
    if (c.dialog) {
      HWND dialog = WaitForWindow(s, true, 30000);
      if (ok(dialog != nullptr, "the switch shows the dialog")) {
        LRESULT check = SendMessageA(GetDlgItem(dialog, kShowAtStartup), BM_GETCHECK, 0, 0);
        ok(check == BST_UNCHECKED, "the check box is clear, as saved (BM_GETCHECK %ld)", (long)check);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      }
    } else {
      // The silent start: exactly one warning box with message 108, and never the dialog.
      HWND box = WaitForWindow(s, false, 30000);
      if (ok(box != nullptr, "the refused silent start shows a message box")) {
        char text[1024] = "", caption[256] = "";
        GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
        GetWindowTextA(box, caption, sizeof caption);
        ok(strcmp(text, kMessage108) == 0, "message 108: \"%s\"", text);
        ok(defaultCaption == caption, "caption \"%s\", want the platform's default \"%s\"", caption,
           defaultCaption.c_str());
        if (c.arguments[0] == '\0') {
          ok(BoxIcon(box) == IDI_WARNING, "the box shows the warning icon");
        }
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        Sleep(500);
        ok(WaitForWindow(s, false, 1000) == nullptr, "no second message box");
      }
      HWND dialog = WaitForWindow(s, true, 1000);
      if (!ok(dialog == nullptr, "no dialog on a silent start")) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      }
    }
    ExpectExit(s, name);
    ok(KeySnapshot() == before, "the program key is unchanged: %s", KeySnapshot().c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::wstring caption = TemplateCaption();
  ok(!caption.empty() && caption[0] != L'(', "dialog 129 has a caption in its template: %s",
     Utf8(caption).c_str());
  for (wchar_t c : caption) {
    if (c >= 0x80) {
      ok(false, "the template's caption is English (plain ASCII)");
      break;
    }
  }

  if (argc == 3 && strcmp(argv[1], "--texts") == 0) {
    LANGID want = static_cast<LANGID>(strtoul(argv[2], nullptr, 16));
    ok(GetUserDefaultUILanguage() == want, "the user's language is 0x%04x (is 0x%04x; is the locale installed?)",
       want, GetUserDefaultUILanguage());
    FirstStart(caption, false);
    DeleteProgramKey();
    return Summary();
  }

  FirstStart(caption, false);
  FirstStart(caption, true);
  Section("the platform's default message box title");
  std::string defaultCaption = DefaultBoxCaption();
  SwitchRule(defaultCaption);
  DeleteProgramKey();
  return Summary();
}
