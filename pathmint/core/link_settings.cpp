#include "link_settings.h"

#include <cstring>

#include "actions.h"

namespace {
const char kDumpFormat[] =
    "m_bDebugFlag:\t[%s]\nm_bIsFolder:\t[%s]\nm_bIsDesktop:\t[%s]\nm_bIsFavorites:\t[%s]\n"
    "m_bIsPrograms:\t[%s]\nm_bIsStartMenu:\t[%s]\nm_bIsStartup:\t[%s]\n"
    "m_bUseCommonDirectory:\t[%s]\nm_bShowFileFormat:\t[%s]\nm_bOneTimeLink:\t[%s]\n"
    "m_bExecute:\t[%s]\nm_szCmdFile:\t[%s]\nm_szTarget:\t[%s]\nm_szArguments:\t[%s]\n"
    "m_szLinkFile:\t[%s]\nm_szIconPath:\t[%s]\nm_iIconIndex:\t[%d]";

const char* OnOff(int flag) {
  return flag ? "TRUE" : "FALSE";
}

const char* TextOrNull(const char* text) {
  return text ? text : "(null)";
}

bool IsEmpty(const char* text) {
  return !text || !*text;
}

// Shell special-folder identifiers (CSIDL values).
constexpr int32_t kCsidlPrograms = 2;
constexpr int32_t kCsidlFavorites = 6;
constexpr int32_t kCsidlStartup = 7;
constexpr int32_t kCsidlStartMenu = 11;
constexpr int32_t kCsidlDesktopDirectory = 16;
constexpr int32_t kCsidlCommonStartMenu = 22;
constexpr int32_t kCsidlCommonPrograms = 23;
constexpr int32_t kCsidlCommonStartup = 24;
constexpr int32_t kCsidlCommonDesktopDirectory = 25;
}  // namespace

char* CopyText(char* buffer, int size, const char* text) {
  if (size <= 0) return buffer;
  size_t n = text ? std::strlen(text) : 0;
  if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
  if (n) std::memcpy(buffer, text, n);
  buffer[n] = '\0';
  return buffer;
}

LinkSettings::LinkSettings()
    : CommandLineApp(0),
      m_bDebugFlag("debug", "Output debugging information.", 0, CommandOption::Hidden, nullptr),
      m_bIsFolder("folder", "Create a desktop folder.", 0, 0, nullptr),
      m_bIsDesktop("desktop", "Create shortcut relative to the 'Desktop' folder.", 0, 0, nullptr),
      m_bIsFavorites("favorites", "Create shortcut relative to the 'Favorites' folder.", 0, 0,
                     nullptr),
      m_bIsPrograms("programs", "Create shortcut relative to the 'Programs' folder.", 0, 0,
                    nullptr),
      m_bIsStartMenu("start", "Create shortcut relative to the 'Start Menu' folder.", 0, 0,
                     nullptr),
      m_bIsStartup("startup", "Create shortcut relative to the 'Startup' folder.", 0, 0, nullptr),
      m_bUseCommonDirectory("common", "Relative directory is common to all users.", 0, 0,
                            nullptr),
      m_szTarget("T", "Target path.", nullptr, 0, nullptr),
      m_szArguments("A", "Argument list.", nullptr, 0, nullptr),
      m_szLinkFile("L", "Link file to create.", nullptr, 0, nullptr),
      m_szIconPath("I", "Icon path.", nullptr, 0, nullptr),
      m_iIconIndex("N", "Icon index.", 0, 0, nullptr),
      m_bShowFileFormat("fileformat", "Display the argument file format.", 0,
                        CommandOption::Hidden, nullptr),
      m_bOneTimeLink("clean", "Create a shortcut that removes itself upon activation.", 0, 0,
                     nullptr),
      m_bExecute("exec", "Execute the command-line passed by /T and /A.", 0,
                 CommandOption::Hidden, nullptr),
      m_bDeleteFile("delfile", "Delete the file specified by /T.", 0, CommandOption::Hidden,
                    nullptr),
      m_szCmdFile("F", "File specifying command line parameters to Pathmint.", nullptr, 0,
                  nullptr),
      m_iSpecialFolder(0),
      m_szCurrentDir(),
      m_szFileTarget(),
      m_szFileArguments(),
      m_szFileLinkFile(),
      m_szFileIconPath(),
      m_bFileValueRefused(0) {
  SetTitle("Velmora Pathmint");
  m_bUseMessageBox = 1;
}

bool LinkSettings::StoreCurrentDirectory(const char* dir, LeadByteTest isLeadByte) {
  m_szCurrentDir[0] = '\0';
  if (IsEmpty(dir)) return false;
  size_t n = std::strlen(dir);
  bool addSlash = !EndsInSeparator(dir, isLeadByte);
  if (n + (addSlash ? 1 : 0) + 1 > sizeof m_szCurrentDir) return false;
  std::memcpy(m_szCurrentDir, dir, n);
  if (addSlash) m_szCurrentDir[n++] = '\\';
  m_szCurrentDir[n] = '\0';
  return true;
}

int LinkSettings::Validate() {
  DebugPrint(kDumpFormat, OnOff(m_bDebugFlag.m_bValue), OnOff(m_bIsFolder.m_bValue),
             OnOff(m_bIsDesktop.m_bValue), OnOff(m_bIsFavorites.m_bValue),
             OnOff(m_bIsPrograms.m_bValue), OnOff(m_bIsStartMenu.m_bValue),
             OnOff(m_bIsStartup.m_bValue), OnOff(m_bUseCommonDirectory.m_bValue),
             OnOff(m_bShowFileFormat.m_bValue), OnOff(m_bOneTimeLink.m_bValue),
             OnOff(m_bExecute.m_bValue), OnOff(m_szCmdFile.m_szValue != nullptr),
             TextOrNull(m_szTarget.m_szValue), TextOrNull(m_szArguments.m_szValue),
             TextOrNull(m_szLinkFile.m_szValue), TextOrNull(m_szIconPath.m_szValue),
             static_cast<int>(m_iIconIndex.m_iValue));

  // Among several folder flags the last one tested wins, but more than one is refused below.
  const bool common = m_bUseCommonDirectory.m_bValue != 0;
  int count = 0;
  m_iSpecialFolder = kNoSpecialFolder;
  if (m_bIsFavorites.m_bValue) {
    ++count;
    m_iSpecialFolder = kCsidlFavorites;  // no all-users variant
  }
  if (m_bIsDesktop.m_bValue) {
    ++count;
    m_iSpecialFolder = common ? kCsidlCommonDesktopDirectory : kCsidlDesktopDirectory;
  }
  if (m_bIsPrograms.m_bValue) {
    ++count;
    m_iSpecialFolder = common ? kCsidlCommonPrograms : kCsidlPrograms;
  }
  if (m_bIsStartMenu.m_bValue) {
    ++count;
    m_iSpecialFolder = common ? kCsidlCommonStartMenu : kCsidlStartMenu;
  }
  if (m_bIsStartup.m_bValue) {
    ++count;
    m_iSpecialFolder = common ? kCsidlCommonStartup : kCsidlStartup;
  }
  if (count > 1) {
    ErrorExit("Pathmint does not accept more than one\nrelative folder location.", -1);
  }

  const bool deleting = m_bDeleteFile.m_bValue != 0;
  if (!deleting && IsEmpty(m_szLinkFile.m_szValue)) {
    UsageError("Missing required argument \"-L\".", -1);
  }
  if (m_bIsFolder.m_bValue) {
    if (m_bOneTimeLink.m_bValue) {
      UsageError(
          "Pathmint does not support the creation of self-destructive\nfolder shortcuts.", -1);
    }
    // A folder needs no target, but a deletion always does.
    if (!deleting) return 0;
  }
  if (IsEmpty(m_szTarget.m_szValue)) {
    UsageError("Missing required argument \"-T\".", -1);
  }
  return 0;
}

int LinkSettings::Run() {
  int32_t status;
  if (m_bFileValueRefused) {
    // A value the argument file gave only in part would name another file or pass other
    // arguments: the run fails before any action, as an action does with a name too long for it.
    status = kStatusFailed;
  } else if (m_bExecute.m_bValue) {
    status = ExecuteOneTimeLink(m_szTarget.m_szValue, m_szArguments.m_szValue,
                                m_szLinkFile.m_szValue, m_szCurrentDir);
  } else if (m_bDeleteFile.m_bValue) {
    status = ShellDeleteFile(m_iSpecialFolder, m_szTarget.m_szValue);
  } else {
    status = CreateShortcut(m_szTarget.m_szValue, m_szArguments.m_szValue,
                            m_szLinkFile.m_szValue, m_szIconPath.m_szValue,
                            m_iIconIndex.m_iValue, m_bIsFolder.m_bValue, m_iSpecialFolder,
                            m_bOneTimeLink.m_bValue);
  }
  return status < 0 ? 1 : 0;
}
