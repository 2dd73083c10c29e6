// Shared set-up of the Wine tests that call the catalogue and program-key functions directly:
// zone keys added to the prefix's catalogue (and removed again), the catalogue saved and put
// back around tests that empty or remove it, the program key, and a window that holds the two
// controls the functions talk to.
#ifndef QUORVEL_ZONE_FIXTURE_H
#define QUORVEL_ZONE_FIXTURE_H

#include <windows.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "../catalogue_backup.h"
#include "quorvel.h"
#include "wintest.h"

namespace fixture {

using catalogue_backup::kBackup;
using catalogue_backup::kCatalogue;
const char kProgramKey[] = "SOFTWARE\\Corvant\\Brell Quorvel Utility";
// Names of the zone keys the tests add; all start with this, so leftovers can be found.
const char kTestPrefix[] = "zzQuorvelTest ";

// Messages that the functions under test asked for (this program's ShowResourceMessage).
inline std::vector<UINT>& Messages() {
  static std::vector<UINT> messages;
  return messages;
}

// A value to store: bytes and type, or absent.
struct Value {
  bool present = false;
  DWORD type = REG_SZ;
  std::string bytes;
};
inline Value Text(const std::string& s) { return Value{true, REG_SZ, s + '\0'}; }
inline Value Raw(DWORD type, const std::string& bytes) { return Value{true, type, bytes}; }
inline Value Absent() { return Value{}; }

inline std::string Rule(unsigned char first) {
  std::string r(kZoneRuleSize, '\0');
  for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<char>(first + i);
  return r;
}

inline bool SetValue(HKEY key, const char* name, const Value& v) {
  if (!v.present) return true;
  return RegSetValueExA(key, name, 0, v.type, reinterpret_cast<const BYTE*>(v.bytes.data()),
                        static_cast<DWORD>(v.bytes.size())) == ERROR_SUCCESS;
}

// Adds the zone key kTestPrefix + suffix with the given values.
inline void AddZone(const std::string& suffix, const Value& display, const Value& std,
                    const Value& dlt, const Value& tzi) {
  std::string path = std::string(kCatalogue) + "\\" + kTestPrefix + suffix;
  HKEY key;
  bool good = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr) == ERROR_SUCCESS;
  ok(good, "cannot create %s", path.c_str());
  if (!good) return;
  ok(SetValue(key, "Display", display) && SetValue(key, "Std", std) &&
         SetValue(key, "Dlt", dlt) && SetValue(key, "TZI", tzi),
     "cannot write the values of %s", path.c_str());
  RegCloseKey(key);
}

inline void RemoveTestZones() { catalogue_backup::RemoveZones(kTestPrefix); }

using catalogue_backup::SaveCatalogue;

inline void RestoreCatalogue() {
  ok(catalogue_backup::RestoreCatalogue(), "catalogue could not be put back");
}

inline void DeleteProgramKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey); }

inline void SetProgramValue(const char* name, const Value& v) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    ok(false, "cannot create the program key");
    return;
  }
  ok(SetValue(key, name, v), "cannot write %s", name);
  RegCloseKey(key);
}

// Reads a value of the program key: false when it is missing.
inline bool GetProgramValue(const char* name, DWORD* type, std::string* bytes) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  std::vector<char> buffer(4096);
  DWORD size = static_cast<DWORD>(buffer.size());
  bool good = RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(buffer.data()),
                               &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (good) bytes->assign(buffer.data(), size);
  return good;
}

// Display values of the catalogue as the registry holds them, in enumeration order, with the
// standard names.
struct CatalogueZone {
  std::string display;
  std::string standard;
};
inline std::vector<CatalogueZone> ReadCatalogue() {
  std::vector<CatalogueZone> zones;
  HKEY catalogue;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, KEY_READ, &catalogue) != ERROR_SUCCESS)
    return zones;
  char name[512];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(catalogue, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    HKEY zone;
    if (RegOpenKeyExA(catalogue, name, 0, KEY_READ, &zone) != ERROR_SUCCESS) continue;
    CatalogueZone z;
    char text[2048];
    DWORD n = sizeof text - 1;
    if (RegQueryValueExA(zone, "Display", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &n) == 0)
      z.display.assign(text, strnlen(text, n));
    n = sizeof text - 1;
    if (RegQueryValueExA(zone, "Std", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &n) == 0)
      z.standard.assign(text, strnlen(text, n));
    RegCloseKey(zone);
    zones.push_back(z);
  }
  RegCloseKey(catalogue);
  return zones;
}

// A top-level window with the zone list (a sorted drop-down combo box) and the check box, under
// the ids of the zone dialog.
class ZoneWindow {
 public:
  ZoneWindow() {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = DefWindowProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "QuorvelZoneTestWindow";
      registered = RegisterClassA(&wc) != 0;
    }
    window_ = CreateWindowExA(0, "QuorvelZoneTestWindow", "zone test", WS_OVERLAPPEDWINDOW, 0, 0,
                              400, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT, 10, 10,
                    300, 200, window_, reinterpret_cast<HMENU>(IDC_ZONE_LIST), nullptr, nullptr);
    CreateWindowExA(0, "BUTTON", "show", WS_CHILD | BS_AUTOCHECKBOX, 10, 40, 300, 20, window_,
                    reinterpret_cast<HMENU>(IDC_SHOW_AT_STARTUP), nullptr, nullptr);
    ok(window_ && GetDlgItem(window_, IDC_ZONE_LIST) && GetDlgItem(window_, IDC_SHOW_AT_STARTUP),
       "test window not created");
  }
  ~ZoneWindow() { DestroyWindow(window_); }
  ZoneWindow(const ZoneWindow&) = delete;
  ZoneWindow& operator=(const ZoneWindow&) = delete;

  HWND handle() const { return window_; }
  LRESULT List(UINT message, WPARAM w = 0, LPARAM l = 0) const {
    return SendDlgItemMessageA(window_, IDC_ZONE_LIST, message, w, l);
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> out;
    LRESULT count = List(CB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) out.push_back(Entry(i));
    return out;
  }
  std::string Entry(LRESULT index) const {
    LRESULT length = List(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length < 0) return "<none>";
    std::vector<char> text(static_cast<size_t>(length) + 1);
    List(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return std::string(text.data());
  }
  // The selected entry's text, or "<none>".
  std::string Selected() const {
    LRESULT index = List(CB_GETCURSEL);
    return index == CB_ERR ? "<none>" : Entry(index);
  }
  bool Select(const std::string& text) const {
    LRESULT index = List(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(text.c_str()));
    return index != CB_ERR && List(CB_SETCURSEL, static_cast<WPARAM>(index)) == index;
  }
  void SetCheck(bool on) const {
    SendDlgItemMessageA(window_, IDC_SHOW_AT_STARTUP, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED,
                        0);
  }

 private:
  HWND window_ = nullptr;
};

inline bool IsAllZero(const void* p, size_t n) {
  const unsigned char* b = static_cast<const unsigned char*>(p);
  for (size_t i = 0; i < n; ++i)
    if (b[i]) return false;
  return true;
}

// The standard name in force, in the ANSI code page.
inline std::string StandardNameInForce() {
  TIME_ZONE_INFORMATION tzi = {};
  GetTimeZoneInformation(&tzi);
  char name[128] = {};
  WideCharToMultiByte(CP_ACP, 0, tzi.StandardName, 32, name, sizeof name - 1, nullptr, nullptr);
  return name;
}

}  // namespace fixture

// The functions under test show their messages through this; the tests read what was asked for.
inline void RecordMessage(UINT id) { fixture::Messages().push_back(id); }

#endif
