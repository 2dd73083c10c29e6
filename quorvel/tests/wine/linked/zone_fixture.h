// Shared set-up of the Wine tests that call the catalogue and program-key functions directly
// (besides quorvel_test.h): the messages they ask for, zone keys added to the prefix's catalogue
// and removed again, and a window that holds the two controls the functions talk to.
#ifndef QUORVEL_ZONE_FIXTURE_H
#define QUORVEL_ZONE_FIXTURE_H

#include <windows.h>
#include <string.h>

#include <string>
#include <vector>

#include "../quorvel_test.h"
#include "quorvel.h"

namespace fixture {

using namespace quorvel;

// Names of the zone keys the tests add; all start with this, so leftovers can be found.
const char kTestPrefix[] = "zzQuorvelTest ";

// Messages that the functions under test asked for (this program's ShowResourceMessage).
inline std::vector<UINT>& Messages() {
  static std::vector<UINT> messages;
  return messages;
}

inline std::string Rule(unsigned char first) {
  std::string r(kZoneRuleSize, '\0');
  for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<char>(first + i);
  return r;
}

// Adds the zone key kTestPrefix + suffix with the given values.
inline void AddTestZone(const std::string& suffix, const Value& display, const Value& std,
                        const Value& dlt, const Value& tzi) {
  ok(AddZone(kTestPrefix + suffix, display, std, dlt, tzi), "cannot add the zone %s", suffix.c_str());
}

inline void RemoveTestZones() { RemoveZones(kTestPrefix); }

// Saves the catalogue and empties it (subkeys and values; the key itself stays), so that it holds
// only the zones a test adds; RestoreCatalogue puts it back.
inline bool EmptyTheCatalogue() {
  HKEY catalogue;
  if (!ok(SaveCatalogue(), "cannot save the catalogue")) return false;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, KEY_ALL_ACCESS, &catalogue) != ERROR_SUCCESS)
    return false;
  const bool emptied = RegDeleteTreeA(catalogue, nullptr) == ERROR_SUCCESS;
  RegCloseKey(catalogue);
  return ok(emptied, "cannot empty the catalogue");
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
  HWND Combo() const { return GetDlgItem(window_, IDC_ZONE_LIST); }
  LRESULT List(UINT message, WPARAM w = 0, LPARAM l = 0) const {
    return SendMessageA(Combo(), message, w, l);
  }
  std::vector<std::string> Entries() const { return wintest::ComboEntries(Combo()); }
  // The selected entry's text, or "<none>".
  std::string Selected() const { return wintest::ComboEntry(Combo(), List(CB_GETCURSEL)); }
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

}  // namespace fixture

// The functions under test show their messages through this; the tests read what was asked for.
inline void RecordMessage(UINT id) { fixture::Messages().push_back(id); }

#endif
