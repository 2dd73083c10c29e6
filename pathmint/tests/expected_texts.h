// Expected texts of pathmint's reports, exactly as the program must show them: the usage text, the
// consistency messages, the settings dump and the argument-file format. Shared by the native and the
// Wine tests; no Windows header.
#ifndef PATHMINT_EXPECTED_TEXTS_H
#define PATHMINT_EXPECTED_TEXTS_H

#include <string>

namespace texts {

const char kCaption[] = "Velmora Pathmint";

// The summary line of the usage text, after "Usage: ".
const char kSummary[] =
    "[-folder] [-desktop] [-favorites] [-programs] [-start] [-startup] [-common] [-T:<string>] "
    "[-A:<string>] [-L:<string>] [-I:<string>] [-N:<integer>] [-clean] [-F:<string>] ";

// The values shown after " Default: " in the usage text.
struct Defaults {
  std::string folder = "off", desktop = "off", favorites = "off", programs = "off", start = "off",
              startup = "off", common = "off", target = "NULL", arguments = "NULL", link = "NULL",
              icon = "NULL", index = "0", clean = "off", file = "NULL";
};

inline std::string Usage(const std::string& message, const Defaults& d = Defaults()) {
  return "Error: " + message + "\nUsage: " + kSummary + "\n\n" +
         "\"-folder\"\t\t Create a desktop folder.  Default: " + d.folder + "\n" +
         "\"-desktop\"\t\t Create shortcut relative to the 'Desktop' folder.  Default: " +
         d.desktop + "\n" +
         "\"-favorites\"\t Create shortcut relative to the 'Favorites' folder.  Default: " +
         d.favorites + "\n" +
         "\"-programs\"\t Create shortcut relative to the 'Programs' folder.  Default: " +
         d.programs + "\n" +
         "\"-start\"\t\t Create shortcut relative to the 'Start Menu' folder.  Default: " +
         d.start + "\n" +
         "\"-startup\"\t\t Create shortcut relative to the 'Startup' folder.  Default: " +
         d.startup + "\n" +
         "\"-common\"\t\t Relative directory is common to all users.  Default: " + d.common +
         "\n" + "\"-T\"\t\t Target path.  Default: " + d.target + "\n" +
         "\"-A\"\t\t Argument list.  Default: " + d.arguments + "\n" +
         "\"-L\"\t\t Link file to create.  Default: " + d.link + "\n" +
         "\"-I\"\t\t Icon path.  Default: " + d.icon + "\n" +
         "\"-N\"\t\t Icon index.  Default: " + d.index + "\n" +
         "\"-clean\"\t\t Create a shortcut that removes itself upon activation.  Default: " +
         d.clean + "\n" +
         "\"-F\"\t\t File specifying command line parameters to Pathmint.  Default: " + d.file +
         "\n";
}

const char kMissingL[] = "Missing required argument \"-L\".";
const char kMissingT[] = "Missing required argument \"-T\".";
const char kFolderCount[] = "Pathmint does not accept more than one\nrelative folder location.";
const char kSelfDestructive[] =
    "Pathmint does not support the creation of self-destructive\nfolder shortcuts.";
// The refusals of an argument file saved as UTF-8, and of one that exists but cannot be read.
const char kUtf8File[] =
    "Pathmint cannot read the argument file: it is saved as UTF-8, which the Windows profile "
    "reader does not read.\nSave it as ANSI or as Unicode (UTF-16).";
const char kUnreadableFile[] =
    "Pathmint cannot read the argument file: another program holds it open without sharing it, "
    "or access to it is denied.";

// The values of the settings dump.
struct Dump {
  bool debug = true, folder = false, desktop = false, favorites = false, programs = false,
       start = false, startup = false, common = false, fileformat = false, clean = false,
       exec = false, cmdFile = false;
  std::string target = "(null)", arguments = "(null)", link = "(null)", icon = "(null)";
  int index = 0;
};

inline std::string DumpText(const Dump& d) {
  auto b = [](bool on) { return std::string(on ? "TRUE" : "FALSE"); };
  return "m_bDebugFlag:\t[" + b(d.debug) + "]\nm_bIsFolder:\t[" + b(d.folder) +
         "]\nm_bIsDesktop:\t[" + b(d.desktop) + "]\nm_bIsFavorites:\t[" + b(d.favorites) +
         "]\nm_bIsPrograms:\t[" + b(d.programs) + "]\nm_bIsStartMenu:\t[" + b(d.start) +
         "]\nm_bIsStartup:\t[" + b(d.startup) + "]\nm_bUseCommonDirectory:\t[" + b(d.common) +
         "]\nm_bShowFileFormat:\t[" + b(d.fileformat) + "]\nm_bOneTimeLink:\t[" + b(d.clean) +
         "]\nm_bExecute:\t[" + b(d.exec) + "]\nm_szCmdFile:\t[" + b(d.cmdFile) +
         "]\nm_szTarget:\t[" + d.target + "]\nm_szArguments:\t[" + d.arguments +
         "]\nm_szLinkFile:\t[" + d.link + "]\nm_szIconPath:\t[" + d.icon +
         "]\nm_iIconIndex:\t[" + std::to_string(d.index) + "]";
}

// The values the usage text shows for the settings of a dump, with the argument file's name.
inline Defaults DefaultsOf(const Dump& d, const std::string& file = "NULL") {
  auto on = [](bool b) { return std::string(b ? "on" : "off"); };
  auto text = [](const std::string& t) { return t == "(null)" ? std::string("NULL") : t; };
  Defaults u;
  u.folder = on(d.folder);
  u.desktop = on(d.desktop);
  u.favorites = on(d.favorites);
  u.programs = on(d.programs);
  u.start = on(d.start);
  u.startup = on(d.startup);
  u.common = on(d.common);
  u.target = text(d.target);
  u.arguments = text(d.arguments);
  u.link = text(d.link);
  u.icon = text(d.icon);
  u.index = std::to_string(d.index);
  u.clean = on(d.clean);
  u.file = file;
  return u;
}

// The argument-file format text that the "fileformat" option shows.
inline std::string FormatText() {
  const std::string value = "\t\t; Value is either 1 or 0.  Default value is 0.\n";
  return "Configuration file format:\n\n[LINK.CONFIG]\nVersion=1.0\t; File version identifier.\n"
         "Target=\t\t; Path to target executable.\nArguments=\t; Argument list (OPTIONAL).\n"
         "LinkPath=\t; Name of shortcut file.\n"
         "IconPath=\t; Path to binary containing icon resource (OPTIONAL).\n"
         "\t\t; Default value is target executable.\n"
         "IconIndex=\t; Icon resource index (OPTIONAL).\n\t\t; Default value is 0.\n"
         "Folder=\t\t; Setting used to specify shortcut is a folder (OPTIONAL).\n" + value +
         "Desktop=\t\t; Shortcut path is relative to the 'Desktop' folder (OPTIONAL).\n" + value +
         "Farvorites=\t; Shortcut path is relative to the 'Favorites' folder (OPTIONAL).\n" +
         value + "Programs=\t; Shortcut path is relative to the 'Programs' folder (OPTIONAL).\n" +
         value + "Start=\t\t; Shortcut path is relative to the 'Start Menu' folder (OPTIONAL).\n" +
         value + "Startup=\t\t; Shortcut path is relative to the 'StartUp' folder (OPTIONAL).\n" +
         value +
         "Common=\t\t; Used with relative specifier to indicate common directory location. "
         "(OPTIONAL).\n" + value +
         "Clean=\t\t; Used to idicate that the shortcut should be deleted after use (OPTIONAL).\n" +
         value;
}

}  // namespace texts

#endif
