// The zone catalogue of the test prefix, changed by tests and put back: a copy of it saved under
// kBackup, zone keys that tests add (found again by a name prefix). Registry only; shared by the
// Wine tests that start quorvel and those that link its functions.
#ifndef QUORVEL_CATALOGUE_BACKUP_H
#define QUORVEL_CATALOGUE_BACKUP_H

#include <windows.h>
#include <string.h>

#include <string>
#include <vector>

namespace catalogue_backup {

const char kCatalogue[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
const char kBackupRoot[] = "SOFTWARE\\Quorvel Test Backup";
const char kBackup[] = "SOFTWARE\\Quorvel Test Backup\\Time Zones";

// Removes every zone key whose name starts with prefix.
inline void RemoveZones(const char* prefix) {
  HKEY catalogue;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, KEY_ALL_ACCESS, &catalogue) != ERROR_SUCCESS)
    return;
  std::vector<std::string> doomed;
  char name[512];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(catalogue, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    if (strncmp(name, prefix, strlen(prefix)) == 0) doomed.push_back(name);
  }
  for (const std::string& n : doomed) RegDeleteTreeA(catalogue, n.c_str());
  RegCloseKey(catalogue);
}

// Saves the catalogue under kBackup (unless a saved copy is already there).
inline bool SaveCatalogue() {
  HKEY backup;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBackup, 0, KEY_READ, &backup) == ERROR_SUCCESS) {
    RegCloseKey(backup);
    return true;
  }
  HKEY catalogue;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, KEY_READ, &catalogue) != ERROR_SUCCESS)
    return false;
  bool good = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kBackup, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &backup, nullptr) == ERROR_SUCCESS &&
              RegCopyTreeA(catalogue, nullptr, backup) == ERROR_SUCCESS;
  RegCloseKey(catalogue);
  if (good) RegCloseKey(backup);
  return good;
}

// Puts a saved catalogue back (also one left by an earlier run that stopped half-way) and removes
// the saved copy. False only when a saved copy could not be put back.
inline bool RestoreCatalogue() {
  HKEY backup;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBackup, 0, KEY_READ, &backup) != ERROR_SUCCESS) return true;
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCatalogue);
  HKEY catalogue;
  bool good = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &catalogue, nullptr) == ERROR_SUCCESS &&
              RegCopyTreeA(backup, nullptr, catalogue) == ERROR_SUCCESS;
  RegCloseKey(backup);
  if (good) {
    RegCloseKey(catalogue);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kBackupRoot);
  }
  return good;
}

}  // namespace catalogue_backup

#endif
