// The platform's zone catalogue: one subkey per zone below HKEY_LOCAL_MACHINE
// "SOFTWARE\Microsoft\Windows NT\CurrentVersion\Time Zones", walked afresh for every lookup.
#include <cstring>

#include "quorvel.h"
#include "registry_text.h"
#include "winutils.h"
#include "zone_text.h"

namespace {

const char kCatalogueKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
const DWORD kSubkeyNameSize = 512;

bool OpenCatalogue(HKEY* catalogue) {
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogueKey, 0, KEY_READ, catalogue) == ERROR_SUCCESS;
}

enum class Next { kZone, kEnd, kFailed };

// Opens the subkey at `index` and gives its name: kEnd when there are no more, kFailed when the
// name cannot be enumerated or the subkey cannot be opened.
Next OpenZone(HKEY catalogue, DWORD index, char (&name)[kSubkeyNameSize], HKEY* zone) {
  DWORD nameSize = kSubkeyNameSize;
  LONG rc = RegEnumKeyExA(catalogue, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
  if (rc == ERROR_NO_MORE_ITEMS) return Next::kEnd;
  if (rc != ERROR_SUCCESS) return Next::kFailed;
  if (RegOpenKeyExA(catalogue, name, 0, KEY_READ, zone) != ERROR_SUCCESS) return Next::kFailed;
  return Next::kZone;
}

// The zone rule is taken only when the value holds exactly its 44 bytes.
void ReadZoneRule(HKEY zone, ZoneRecord* record) {
  unsigned char rule[kZoneRuleSize + 1];
  DWORD size = sizeof rule;
  if (RegQueryValueExA(zone, "TZI", nullptr, nullptr, rule, &size) == ERROR_SUCCESS &&
      size == kZoneRuleSize) {
    std::memcpy(record->rule, rule, kZoneRuleSize);
    record->ruleRead = true;
  }
}

// The zone in force as the platform names it: by its standard name, which the platform gives in
// the user's display language, and, from Windows Vista on, by its key name in the catalogue, the
// same in every language (empty where the platform gives none).
struct ZoneInForce {
  WCHAR standardName[kZoneNameUnits];
  WCHAR keyName[128];
};

using DynamicZoneGetter = DWORD(WINAPI*)(DYNAMIC_TIME_ZONE_INFORMATION* info);

void ReadZoneInForce(ZoneInForce* inForce) {
  std::memset(inForce, 0, sizeof *inForce);
  TIME_ZONE_INFORMATION plain;
  std::memset(&plain, 0, sizeof plain);
  GetTimeZoneInformation(&plain);
  std::memcpy(inForce->standardName, plain.StandardName, sizeof inForce->standardName);
  // Looked up at run time: kernel32 has the call only from Windows Vista on.
  const auto get = Kernel32Call<DynamicZoneGetter>("GetDynamicTimeZoneInformation");
  if (get == nullptr) return;
  DYNAMIC_TIME_ZONE_INFORMATION dynamic;
  std::memset(&dynamic, 0, sizeof dynamic);
  if (get(&dynamic) == TIME_ZONE_ID_INVALID) return;
  std::memcpy(inForce->keyName, dynamic.TimeZoneKeyName, sizeof inForce->keyName);
}

bool IsKeyInForce(const ZoneInForce& inForce, const char* keyName) {
  WCHAR wide[kSubkeyNameSize] = {};
  int units = MultiByteToWideChar(CP_ACP, 0, keyName, -1, wide, kSubkeyNameSize);
  return units > 0 && SameZoneName(inForce.keyName, wide);
}

bool HasStandardNameInForce(const ZoneInForce& inForce, HKEY zone) {
  char standard[kZoneNameSize] = {};
  ReadRegistryText(zone, "Std", standard, sizeof standard);
  WCHAR wide[261] = {};
  int units = MultiByteToWideChar(CP_ACP, 0, standard, -1, wide, 261);
  // A name too long for the buffer cannot be the one in force (at most 32 units) anyway.
  return units > 0 && SameZoneName(inForce.standardName, wide);
}

}  // namespace

ZoneRecord FindZoneByDisplayName(const char* name) {
  ZoneRecord result;
  std::memset(&result, 0, sizeof result);
  HKEY catalogue;
  if (!OpenCatalogue(&catalogue)) {
    ShowResourceMessage(IDS_ACCESS_DENIED_READ);
    return result;
  }
  ZoneRecord working;
  for (DWORD index = 0;; ++index) {
    HKEY zone;
    char keyName[kSubkeyNameSize];
    if (OpenZone(catalogue, index, keyName, &zone) != Next::kZone) break;
    // Each zone starts from a clear record: a value missing here never carries over another
    // zone's value.
    std::memset(&working, 0, sizeof working);
    ReadRegistryText(zone, "Display", working.displayName, sizeof working.displayName);
    // A zone without a display name can be neither listed nor found. The other values matter
    // only for the zone that is found, so only its key is read further.
    bool found = working.displayName[0] != '\0' && std::strcmp(working.displayName, name) == 0;
    if (found) {
      ReadRegistryText(zone, "Dlt", working.daylightName, sizeof working.daylightName);
      ReadRegistryText(zone, "Std", working.standardName, sizeof working.standardName);
      ReadZoneRule(zone, &working);
      StoreZoneText(working.keyName, sizeof working.keyName, keyName,
                    strnlen(keyName, sizeof keyName));
    }
    RegCloseKey(zone);
    if (found) {
      result = working;
      break;
    }
  }
  RegCloseKey(catalogue);
  return result;
}

int FillZoneList(HWND dialog) {
  ZoneInForce inForce;
  ReadZoneInForce(&inForce);

  HKEY catalogue;
  if (!OpenCatalogue(&catalogue)) {
    ShowResourceMessage(IDS_ACCESS_DENIED_READ);
    return 0;
  }
  // The zone named by the key in force, else the last one whose standard name is the one in force.
  char byKey[kZoneNameSize] = {};
  char byStandardName[kZoneNameSize] = {};
  int listed = 0;
  for (DWORD index = 0;; ++index) {
    HKEY zone;
    char keyName[kSubkeyNameSize];
    Next next = OpenZone(catalogue, index, keyName, &zone);
    if (next == Next::kEnd) break;
    if (next == Next::kFailed) {
      ShowResourceMessage(IDS_ACCESS_DENIED_READ);
      RegCloseKey(catalogue);
      return listed;
    }
    char display[kZoneNameSize] = {};
    ReadRegistryText(zone, "Display", display, sizeof display);
    if (display[0] != '\0') {
      SendDlgItemMessageA(dialog, IDC_ZONE_LIST, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(display));
      if (IsKeyInForce(inForce, keyName)) std::memcpy(byKey, display, sizeof byKey);
      if (HasStandardNameInForce(inForce, zone)) {
        std::memcpy(byStandardName, display, sizeof byStandardName);
      }
      listed = 1;
    }
    RegCloseKey(zone);
  }
  RegCloseKey(catalogue);

  char remembered[kZoneNameSize];
  std::memcpy(remembered, byKey[0] != '\0' ? byKey : byStandardName, sizeof remembered);
  ZoneRecord saved = LoadSavedZone("TZ0");
  if (!IsEmptyZone(saved)) std::memcpy(remembered, saved.displayName, sizeof remembered);

  LRESULT found = SendDlgItemMessageA(dialog, IDC_ZONE_LIST, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(remembered));
  SendDlgItemMessageA(dialog, IDC_ZONE_LIST, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
  return listed;
}

ZoneRecord ReadSelectedZone(HWND dialog) {
  char text[kZoneNameSize] = {};
  const LRESULT index = SendDlgItemMessageA(dialog, IDC_ZONE_LIST, CB_GETCURSEL, 0, 0);
  const LRESULT length =
      index == CB_ERR ? CB_ERR
                      : SendDlgItemMessageA(dialog, IDC_ZONE_LIST, CB_GETLBTEXTLEN,
                                            static_cast<WPARAM>(index), 0);
  if (length >= 0) {
    // The narrow length may overstate text of two-byte characters, so the entry is fetched whole
    // into a buffer of the length it reports and then cut to the field between characters.
    const SIZE_T size = static_cast<SIZE_T>(length) + 1;
    char* entry = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
    if (entry != nullptr) {
      if (SendDlgItemMessageA(dialog, IDC_ZONE_LIST, CB_GETLBTEXT, static_cast<WPARAM>(index),
                              reinterpret_cast<LPARAM>(entry)) != CB_ERR) {
        entry[size - 1] = '\0';
        StoreZoneText(text, sizeof text, entry, strlen(entry), IsAnsiLeadByte);
      }
      HeapFree(GetProcessHeap(), 0, entry);
    }
  }
  return FindZoneByDisplayName(text);
}
