#include "argument_file.h"

#include <cstring>

#include "file_format.h"
#include "link_settings.h"

const char kUtf8ArgumentFileText[] =
    "Pathmint cannot read the argument file: it is saved as UTF-8, which the Windows profile "
    "reader does not read.\nSave it as ANSI or as Unicode (UTF-16).";
const char kUnreadableArgumentFileText[] =
    "Pathmint cannot read the argument file: another program holds it open without sharing it, "
    "or access to it is denied.";

void LinkSettings::ShowFileFormat() {
  // On the report channel like every other text: where nobody can see a box, it would never be
  // answered and the run would never end.
  char text[kFileFormatBufferSize];
  BuildFileFormatText(text, sizeof text);
  ShowReport(text, ReportIcon::Information);
}

void LinkSettings::RefuseInexact(const char* fullName, const char* key) {
  // A value that names another file or passes other arguments than the file's own is refused
  // like one too long for its field.
  if (!ProfileKeyExact(fullName, kArgumentFileSection, key)) m_bFileValueRefused = 1;
}

void LinkSettings::ApplyArgumentFile(const char* fullName, FileEncoding encoding) {
  // The reader would take UTF-8 bytes for ANSI ones, and so name other files: the run ends
  // before any action, as when an action fails.
  if (encoding == FileEncoding::Utf8) ErrorExit(kUtf8ArgumentFileText, 1);
  const bool unicodeFile = encoding == FileEncoding::Utf16;
  // Text keys first, then integer keys, each in this order.
  const struct {
    const char* name;
    StringOption* option;
    char* storage;
  } textKeys[] = {
      {"Target", &m_szTarget, m_szFileTarget},
      {"Arguments", &m_szArguments, m_szFileArguments},
      {"LinkPath", &m_szLinkFile, m_szFileLinkFile},
      {"IconPath", &m_szIconPath, m_szFileIconPath},
  };
  for (const auto& key : textKeys) {
    // The buffer has room for far more than a field takes, so that a longer value shows as
    // longer (also where the reader stops short of a two-byte character at the end) and is
    // refused rather than cut. The reader is told one byte less than the buffer holds; the last
    // byte is a terminator whatever the reader did.
    char value[2 * kFileTextSize] = {};
    ReadProfileText(fullName, kArgumentFileSection, key.name, value, sizeof value - 1);
    if (unicodeFile) RefuseInexact(fullName, key.name);
    value[sizeof value - 1] = '\0';
    if (std::strlen(value) > static_cast<size_t>(kFileTextLength)) {
      m_bFileValueRefused = 1;
      value[kFileTextLength] = '\0';
    }
    // An empty value leaves the field as it is.
    if (value[0] != '\0') key.option->m_szValue = CopyText(key.storage, kFileTextSize, value);
  }

  const struct {
    const char* name;
    int* field;
  } integerKeys[] = {
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
  for (const auto& key : integerKeys) {
    // A missing key gives the fallback -1 and leaves the field; flags take the number unchanged.
    const int value = ReadProfileInteger(fullName, kArgumentFileSection, key.name, -1);
    if (unicodeFile) RefuseInexact(fullName, key.name);
    if (value >= 0) *key.field = value;
  }
}
