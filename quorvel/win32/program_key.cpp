// The program key of the current user: "State" (show the dialog at start-up) and the saved zone.
#include <cstring>

#include "quorvel.h"
#include "registry_text.h"

namespace {

const char kProgramKey[] = "SOFTWARE\\Corvant\\Brell Quorvel Utility";

bool OpenForReading(HKEY* key) {
  return RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, key) == ERROR_SUCCESS;
}

bool OpenForWriting(HKEY* key) {
  char noClass[] = "";
  return RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, noClass, REG_OPTION_NON_VOLATILE,
                         KEY_ALL_ACCESS, nullptr, key, nullptr) == ERROR_SUCCESS;
}

}  // namespace

int ReadStartupFlag() {
  HKEY key;
  if (!OpenForReading(&key)) return 1;
  DWORD state = 0;
  DWORD size = sizeof state;
  int result = 1;
  // A value wider than 4 bytes fails to read and so counts as "show".
  if (RegQueryValueExA(key, "State", nullptr, nullptr, reinterpret_cast<BYTE*>(&state), &size) ==
      ERROR_SUCCESS) {
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
