// The INI argument file named by the F option: found, named in full and read with the platform's
// profile reader. What is read, and how it replaces the settings, is in core/argument_file.cpp.
#include <windows.h>

#include "argument_file.h"
#include "folder_path.h"
#include "link_path.h"
#include "link_settings.h"

int LinkSettings::FileExists(const char* path) {
  if (!path) return 0;
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

int LinkSettings::ReadArgumentFile(const char* fileName) {
  if (m_bShowFileFormat.m_bValue) ShowFileFormat();
  // The profile reader looks for a name without a directory part in the Windows directory, not
  // where the user is: it is given the name resolved against the working directory. A file whose
  // full name does not fit is one the platform cannot open by that name: it counts as missing.
  char fullName[kPathBufferSize];
  if (fileName && *fileName && FileExists(fileName) &&
      FullPathName(fileName, fullName, sizeof fullName)) {
    ApplyArgumentFile(fullName);
  }
  return 1;
}

void ReadProfileText(const char* file, const char* section, const char* key, char* buffer,
                     unsigned size) {
  GetPrivateProfileStringA(section, key, "", buffer, size, file);
}

int ReadProfileInteger(const char* file, const char* section, const char* key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, file));
}
