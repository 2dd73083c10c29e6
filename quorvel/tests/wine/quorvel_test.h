// What quorvel's Wine tests share: the texts the program shows, its program key and the zone
// catalogue of the prefix (read, prepared, saved and put back), and quorvel run and watched from
// outside. Control and string ids are the program's own (resource.h).
#ifndef QUORVEL_TEST_H
#define QUORVEL_TEST_H

#include <string.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"
#include "wintest.h"

namespace quorvel {

const char kProgramKey[] = "SOFTWARE\\Corvant\\Brell Quorvel Utility";  // of the current user
const char kCatalogue[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
// Where the catalogue is kept while tests change it (also of the local machine).
const char kBackupRoot[] = "SOFTWARE\\Quorvel Test Backup";
const char kBackup[] = "SOFTWARE\\Quorvel Test Backup\\Time Zones";

// The zone dialog's caption, the same in every language.
const char kDialogCaption[] = "Quorvel Time Zone Selector";

// The English string table, ids 103 to 116.
// clang-format off
const char* const kEnglish[] = {
    "Quorvel_w32",
    "Select your current Time Zone",
    "Display this dialog box on startup",
    "Ok",
    "Cancel",
    "Access Denied, Unable to Set Time Zone Information.  Please contact your Administrator for "
    "assistance.",
    "QUORVEL_W32",
    "Access Denied, Unable to Read Time Zone Information.  Please contact your Administrator for "
    "assistance.",
    "Error Message 3", "Error Message 4", "Error Message 5", "Error Message 6", "Error Message 7",
    "Error Message 8",
};
// clang-format on
inline const char* English(UINT id) { return kEnglish[id - IDS_APP_TITLE]; }

// The dialog's texts (ids 104 to 107) and warning 108 in a few languages, in UTF-8, with each
// one's ANSI code page.
struct DialogTexts {
  LANGID language;
  UINT codePage;
  const char* texts[5];
};
// clang-format off
const DialogTexts kDialogTexts[] = {
    {0x0409, 1252, {"Select your current Time Zone", "Display this dialog box on startup", "Ok", "Cancel",
                    "Access Denied, Unable to Set Time Zone Information.  Please contact your Administrator for assistance."}},
    {0x0407, 1252, {"Wählen Sie Ihre Zeitzone aus", "Dialogfenster beim Systemstart anzeigen", "Ok", "Abbrechen",
                    "Zugriff verweigert, die Zeitzoneninformationen können nicht festgelegt werden.  Wenden Sie sich an Ihren Administrator, um Unterstützung zu erhalten."}},
    {0x040C, 1252, {"Sélectionnez votre fuseau horaire actuel", "Afficher cette boîte de dialogue au démarrage", "Ok", "Annuler",
                    "Accès refusé, impossible de définir les informations de fuseau horaire.  Contactez votre administrateur pour obtenir de l'aide."}},
    {0x0411, 932, {"現在のタイム ゾーンを選択してください", "スタートアップ時にこのダイアログ ボックスを表示する", "OK", "キャンセル",
                   "アクセスが拒否されたため、タイム ゾーン情報を設定できません。管理者にお問い合わせください。"}},
    {0x0419, 1251, {"Выберите текущий часовой пояс", "Отображать это диалоговое окно при запуска", "Ok", "Отмена",
                    "Доступ запрещен, невозможно установить сведения о часовом поясе.  Обратитесь за помощью к администратору."}},
};
// clang-format on

// The texts quorvel shows: those of the user's language where the ANSI code page is that
// language's, the English ones where it is another (the user's texts would not be readable);
// null when the user's language is none of these.
inline const DialogTexts* UserTexts() {
  const LANGID language = GetUserDefaultUILanguage();
  for (const DialogTexts& t : kDialogTexts) {
    if (t.language == language) return t.codePage == GetACP() ? &t : &kDialogTexts[0];
  }
  return nullptr;
}

// ---- registry values

// A value to store or as stored: type and bytes, or absent.
struct Value {
  bool present = false;
  DWORD type = REG_SZ;
  std::string bytes;
  bool operator==(const Value& o) const {
    return present == o.present && (!present || (type == o.type && bytes == o.bytes));
  }
};
inline Value Text(const std::string& s, DWORD type = REG_SZ) { return Value{true, type, s + '\0'}; }
inline Value Raw(DWORD type, const std::string& bytes) { return Value{true, type, bytes}; }
inline Value Absent() { return Value{}; }
inline Value Dword(DWORD v) {
  return Raw(REG_DWORD, std::string(reinterpret_cast<const char*>(&v), sizeof v));
}
// The zone name as the program saves it: the text in a field of 512 bytes.
inline Value Field(const std::string& text) {
  std::string field = text.substr(0, 511);
  field.resize(512, '\0');
  return Raw(REG_SZ, field);
}

inline bool SetValue(HKEY key, const char* name, const Value& v) {
  return !v.present ||
         RegSetValueExA(key, name, 0, v.type, reinterpret_cast<const BYTE*>(v.bytes.data()),
                        static_cast<DWORD>(v.bytes.size())) == ERROR_SUCCESS;
}

inline Value GetValue(HKEY root, const char* path, const char* name) {
  Value v;
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
    v.bytes.resize(size);
    v.present = RegQueryValueExA(key, name, nullptr, &v.type, reinterpret_cast<BYTE*>(&v.bytes[0]),
                                 &size) == ERROR_SUCCESS;
    v.bytes.resize(size);
  }
  RegCloseKey(key);
  return v;
}

// ---- the program key

inline void DeleteProgramKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey); }
inline Value ProgramValue(const char* name) {
  return GetValue(HKEY_CURRENT_USER, kProgramKey, name);
}

// Writes a value of the program key (made when missing); reports a failure.
inline bool SetProgramValue(const char* name, const Value& v) {
  HKEY key;
  bool good = RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr) == ERROR_SUCCESS;
  if (good) {
    good = SetValue(key, name, v);
    RegCloseKey(key);
  }
  return ok(good, "cannot write %s of the program key", name);
}

// Every value of the program key (name, type, bytes), or "absent".
inline std::string KeySnapshot() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return "absent";
  std::string out = "present";
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameSize = sizeof name, type = 0;
    BYTE data[2048];
    DWORD dataSize = sizeof data;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
      break;
    out += " [" + std::string(name) + " type " + std::to_string(type) + ":";
    for (DWORD b = 0; b < dataSize; ++b) {
      out += "0123456789abcdef"[data[b] >> 4];
      out += "0123456789abcdef"[data[b] & 15];
    }
    out += "]";
  }
  RegCloseKey(key);
  return out;
}

// ---- the zone catalogue

// Each zone key's display and standard names as the registry gives them to a narrow caller
// (up to the first zero byte), in enumeration order.
struct CatalogueZone {
  std::string key, display, standard;
};
inline std::vector<CatalogueZone> ReadCatalogue() {
  std::vector<CatalogueZone> zones;
  HKEY catalogue;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, KEY_READ, &catalogue) != ERROR_SUCCESS)
    return zones;
  char name[512];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(catalogue, i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    const std::string path = std::string(kCatalogue) + "\\" + name;
    zones.push_back({name, GetValue(HKEY_LOCAL_MACHINE, path.c_str(), "Display").bytes.c_str(),
                     GetValue(HKEY_LOCAL_MACHINE, path.c_str(), "Std").bytes.c_str()});
  }
  RegCloseKey(catalogue);
  return zones;
}

// The standard name in force, in the ANSI code page.
inline std::string StandardNameInForce() {
  TIME_ZONE_INFORMATION tzi = {};
  GetTimeZoneInformation(&tzi);
  char name[128] = {};
  WideCharToMultiByte(CP_ACP, 0, tzi.StandardName, 32, name, sizeof name - 1, nullptr, nullptr);
  return name;
}

// The platform's key name of the zone in force, the same in every language: the name of its
// subkey of the catalogue; empty where the platform gives none.
inline std::string KeyNameInForce() {
  DYNAMIC_TIME_ZONE_INFORMATION info = {};
  if (GetDynamicTimeZoneInformation(&info) == TIME_ZONE_ID_INVALID) return "";
  return wintest::Narrow(std::wstring(info.TimeZoneKeyName, wcsnlen(info.TimeZoneKeyName, 128)));
}

// The display name of the catalogue's zone under the key name in force; empty where there is none.
inline std::string DisplayOfKeyInForce() {
  const std::string key = KeyNameInForce();
  for (const CatalogueZone& z : ReadCatalogue()) {
    if (!key.empty() && lstrcmpiA(z.key.c_str(), key.c_str()) == 0) return z.display;
  }
  return "";
}

// Adds a zone key with the given values (absent ones are not written).
inline bool AddZone(const std::string& key, const Value& display, const Value& standard,
                    const Value& daylight, const Value& rule) {
  HKEY h;
  const std::string path = std::string(kCatalogue) + "\\" + key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const bool good = SetValue(h, "Display", display) && SetValue(h, "Std", standard) &&
                    SetValue(h, "Dlt", daylight) && SetValue(h, "TZI", rule);
  RegCloseKey(h);
  return good;
}

// Removes every zone key whose name starts with prefix.
inline void RemoveZones(const std::string& prefix) {
  HKEY catalogue;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, KEY_ALL_ACCESS, &catalogue) != ERROR_SUCCESS)
    return;
  for (const CatalogueZone& z : ReadCatalogue()) {
    if (z.key.compare(0, prefix.size(), prefix) == 0) RegDeleteTreeA(catalogue, z.key.c_str());
  }
  RegCloseKey(catalogue);
}

// A zone planted with the standard name in force, under a key that sorts after the prefix's own
// zones: of the zones with that name it is the last one walked, the one the program preselects
// when nothing is saved, so the tests expect it by this literal name.
const char kZoneInForce[] = "(UTC+13:30) Quorvel Zone In Force";
const char kZoneInForceKey[] = "zzQuorvel Zone In Force";
inline bool AddZoneInForce(const std::string& key = kZoneInForceKey) {
  return ok(AddZone(key, Text(kZoneInForce), Text(StandardNameInForce()), Text("In Force Dlt"),
                    Raw(REG_BINARY, std::string(44, '\0'))),
            "cannot add the zone in force");
}

// The zone preselected where no choice is remembered: the one the key name in force names, which
// holds in every language; only where there is none, the planted one with the standard name.
inline std::string ZoneInForce() {
  const std::string byKey = DisplayOfKeyInForce();
  return byKey.empty() ? kZoneInForce : byKey;
}

// Saves the catalogue under kBackup (unless a saved copy is already there).
inline bool SaveCatalogue() {
  HKEY backup, catalogue;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBackup, 0, KEY_READ, &backup) == ERROR_SUCCESS) {
    RegCloseKey(backup);
    return true;
  }
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, KEY_READ, &catalogue) != ERROR_SUCCESS)
    return false;
  const bool good = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kBackup, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &backup, nullptr) == ERROR_SUCCESS &&
                    RegCopyTreeA(catalogue, nullptr, backup) == ERROR_SUCCESS;
  RegCloseKey(catalogue);
  if (good) RegCloseKey(backup);
  return good;
}

// Puts a saved catalogue back (also one left by an earlier run that stopped half-way) and removes
// the saved copy. False only when a saved copy could not be put back.
inline bool RestoreCatalogue() {
  HKEY backup, catalogue;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBackup, 0, KEY_READ, &backup) != ERROR_SUCCESS)
    return true;
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCatalogue);
  const bool good = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &catalogue, nullptr) == ERROR_SUCCESS &&
                    RegCopyTreeA(backup, nullptr, catalogue) == ERROR_SUCCESS;
  RegCloseKey(backup);
  if (good) {
    RegCloseKey(catalogue);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kBackupRoot);
  }
  return good;
}

// ---- quorvel, run and watched

// The title the platform gives a message box without a caption of its own, as quorvel's
// warnings are shown (read from a box of the probe tool).
inline std::string DefaultBoxCaption() {
  static std::string caption;
  if (caption.empty()) {
    wintest::Outcome o =
        wintest::Run(wintest::Quote(wintest::ExeDir() + "quorvel_tool_default_caption_box.exe"));
    caption = o.boxes.size() == 1 ? o.boxes[0].caption : "(no probe box)";
  }
  return caption;
}

// The zone dialog as it first showed.
struct DialogState {
  std::vector<std::string> entries;
  std::string selected;  // "<none>" without a selection
  LRESULT check = -1;
};

struct QuorvelRun {
  wintest::Outcome run;
  DialogState dialog;
  bool icons = false;  // the boxes' icons were read
};

// Selects the entry of the zone list whose text is name; false when there is none.
inline bool SelectZone(HWND dialog, const std::string& name) {
  HWND list = GetDlgItem(dialog, IDC_ZONE_LIST);
  const std::vector<std::string> entries = wintest::ComboEntries(list);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] == name) return SendMessageA(list, CB_SETCURSEL, i, 0) == LRESULT(i);
  }
  return false;
}

// Starts quorvel with exactly this argument text after the quoted program name; answer handles
// the zone dialog (Cancel when none is given), every message box gets OK.
inline QuorvelRun RunQuorvel(const std::string& arguments,
                             const std::function<void(HWND)>& answer = nullptr,
                             wintest::RunOptions options = wintest::RunOptions()) {
  QuorvelRun r;
  r.icons = options.boxIcons;
  options.onDialog = [&](HWND dialog) {
    if (r.run.dialogs == 0) {  // counted after this: the first one
      HWND list = GetDlgItem(dialog, IDC_ZONE_LIST);
      r.dialog.entries = wintest::ComboEntries(list);
      r.dialog.selected = wintest::ComboEntry(list, SendMessageA(list, CB_GETCURSEL, 0, 0));
      r.dialog.check = SendDlgItemMessageA(dialog, IDC_SHOW_AT_STARTUP, BM_GETCHECK, 0, 0);
    }
    if (answer) {
      answer(dialog);
    } else {
      wintest::Click(dialog, IDCANCEL);
    }
  };
  r.run = wintest::Run(wintest::Quote(wintest::ExeDir() + "quorvel.exe") +
                           (arguments.empty() ? "" : " " + arguments),
                       options);
  return r;
}

// `applied` of check_run for a zone the program itself refuses to apply: warning 108 everywhere.
constexpr int kRefusedZone = 2;

// quorvel ended by itself with exit code 0 (its only one) after showing `dialogs` zone dialogs,
// and no message box but when it applied a zone: Windows then sets the zone (the program's users
// run it elevated) and shows nothing; Wine has no time-zone privilege and refuses, and the
// program warns with message 108, in a box with the platform's default caption and the warning
// icon. Only that one box is Wine's (or, with kRefusedZone, expected); any other is a fault.
inline void check_run_(const char* file, int line, const QuorvelRun& r, int dialogs, int applied) {
  ok_(file, line)(r.run.ended, "did not run to its end (start error %lu)", r.run.startError);
  ok_(file, line)(r.run.exitCode == 0, "exit code 0x%08lX", r.run.exitCode);
  ok_(file, line)(r.run.dialogs == dialogs, "%d zone dialogs, expected %d", r.run.dialogs, dialogs);
  std::vector<wintest::Box> boxes = r.run.boxes;
  if (applied) {
    const DialogTexts* texts = UserTexts();
    const std::string warning =
        texts ? wintest::Narrow(wintest::Wide(texts->texts[IDS_ACCESS_DENIED_SET - IDS_PROMPT], CP_UTF8))
              : English(IDS_ACCESS_DENIED_SET);
    const bool refused = !boxes.empty() && boxes[0].text == warning;
    todo_if(applied != kRefusedZone && wintest::IsWine())
        ok_(file, line)(refused == (applied == kRefusedZone),
                        refused ? "the zone was refused: warning 108" : "no warning 108");
    if (refused) {
      ok_(file, line)(boxes[0].caption == DefaultBoxCaption(),
                      "warning captioned \"%s\", expected \"%s\"", boxes[0].caption.c_str(),
                      DefaultBoxCaption().c_str());
      if (r.icons) ok_(file, line)(boxes[0].icon == IDI_WARNING, "the warning shows another icon");
      boxes.erase(boxes.begin());
    }
  }
  ok_(file, line)(boxes.empty(), "%u boxes, first \"%s\"", unsigned(boxes.size()),
                  boxes.empty() ? "" : boxes[0].text.c_str());
}
#define check_run(...) quorvel::check_run_(__FILE__, __LINE__, __VA_ARGS__)

}  // namespace quorvel

#endif
