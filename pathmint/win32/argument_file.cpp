// The INI argument file named by the F option, and the description of its format.
#include <windows.h>

#include "file_format.h"
#include "link_settings.h"

namespace {
const char kSection[] = "LINK CONFIG";
}  // namespace

int LinkSettings::FileExists(const char* path) {
  if (!path) return 0;
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

int LinkSettings::ReadArgumentFile(const char* fileName) {
  if (m_bShowFileFormat.m_bValue) {
    // Always a box: the format is of use only where it can be read.
    char text[kFileFormatBufferSize];
    BuildFileFormatText(text, sizeof text);
    MessageBoxA(nullptr, text, m_szTitle, MB_OK | MB_ICONINFORMATION);
  }
  if (!fileName || !*fileName || !FileExists(fileName)) return 1;

  struct TextKey {
    const char* name;
    StringOption* option;
    char* storage;
  };
  const TextKey textKeys[] = {
      {"Target", &m_szTarget, m_szFileTarget},
      {"Arguments", &m_szArguments, m_szFileArguments},
      {"LinkPath", &m_szLinkFile, m_szFileLinkFile},
      {"IconPath", &m_szIconPath, m_szFileIconPath},
  };
  for (const TextKey& key : textKeys) {
    char value[kFileTextSize];
    value[0] = '\0';
    GetPrivateProfileStringA(kSection, key.name, "", value, kFileTextSize - 1, fileName);
    value[kFileTextSize - 1] = '\0';
    if (value[0] != '\0') key.option->m_szValue = CopyText(key.storage, kFileTextSize, value);
  }

  struct IntegerKey {
    const char* name;
    int* field;
  };
  const IntegerKey integerKeys[] = {
      {"IconIndex", &m_iIconIndex.m_iValue},
      {"Folder", &m_bIsFolder.m_bValue},
      {"Desktop", &m_bIsDesktop.m_bValue},
      {"Favorites", &m_bIsFavorites.m_bValue},
      {"Programs", &m_bIsPrograms.m_bValue},
      {"Start", &m_bIsStartMenu.m_bValue},
      {"Startup", &m_bIsStartup.m_bValue},
      {"Common", &m_bUseCommonDirectory.m_bValue},
      {"Clean", &m_bOneTimeLink.m_bValue},
  };
  for (const IntegerKey& key : integerKeys) {
    // Absent keys give the default -1 and leave the field as it is.
    int value = static_cast<int>(GetPrivateProfileIntA(kSection, key.name, -1, fileName));
    if (value >= 0) *key.field = value;
  }
  return 1;
}
