// The program key of the current user: "State" (show the dialog at start-up) and the saved zone.
#include <cstring>

#include "quorvel.h"
#include "registry_text.h"

namespace {

const char kProgramKey[] = "SOFTWARE\\Corvant\\Brell Quorvel Utility";

// Each step asks for only the access it needs: a policy may grant users reading and setting the
// key's values and nothing more.
bool OpenForReading(HKEY* key) {
  return RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_QUERY_VALUE, key) == ERROR_SUCCESS;
}

bool OpenForWriting(HKEY* key) {
  char noClass[] = "";
  return RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, noClass, REG_OPTION_NON_VOLATILE,
                         KEY_SET_VALUE, nullptr, key, nullptr) == ERROR_SUCCESS;
}

}  // namespace

int ReadStartupFlag() {
  HKEY key;
  if (!OpenForReading(&key)) return 1;
  DWORD state = 0;
  DWORD size = sizeof state;
  DWORD type = REG_NONE;
  int result = 1;
  // Only a 4-byte REG_DWORD is a flag; any other value (text, binary, a value wider than 4 bytes,
  // which fails to read) counts as "show", like a missing one.
  if (RegQueryValueExA(key, "State", nullptr, &type, reinterpret_cast<BYTE*>(&state), &size) ==
          ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof state) {
    result = state == 1 ? 1 : 0;
  }
  RegCloseKey(key);
  return result;
}

void SaveStartupFlag(HWND dialog) {
  DWORD flag = SendDlgItemMessageA(dialog, IDC_SHOW_AT_STARTUP, BM_GETCHECK, 0, 0) == BST_CHECKED;
  HKEY key;
  if (!OpenForWriting(&key)) return;
  RegSetValueExA(key, "State", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flag), sizeof flag);
  RegCloseKey(key);
}

ZoneRecord LoadSavedZone(const char* valueName) {
  ZoneRecord result;
  std::memset(&result, 0, sizeof result);
  HKEY key;
  if (!OpenForReading(&key)) return result;
  char name[kZoneNameSize] = {};
  ReadRegistryText(key, valueName, name, sizeof name);
  result = FindZoneByDisplayName(name);
  RegCloseKey(key);
  return result;
}

void SaveSelectedZone(HWND dialog, const char* valueName) {
  ZoneRecord record = ReadSelectedZone(dialog);
  HKEY key;
  if (!OpenForWriting(&key)) return;
  RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(record.displayName),
                 sizeof record.displayName);
  RegCloseKey(key);
}
