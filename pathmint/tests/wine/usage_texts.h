// Expected texts of pathmint's boxes, for the Wine tests of start-up and the argument file, and a
// runner that starts pathmint while watching for its boxes.
#ifndef PATHMINT_USAGE_TEXTS_H
#define PATHMINT_USAGE_TEXTS_H

#include <windows.h>

#include <string>
#include <vector>

#include "wintest.h"

namespace texts {

const DWORD kUsageExit = 0xFFFFFFFF;  // exit code -1 as the full 32-bit status
const char kCaption[] = "Velmora Pathmint";

// The values shown after " Default: " in the usage text.
struct Defaults {
  std::string folder = "off", desktop = "off", favorites = "off", programs = "off", start = "off",
              startup = "off", common = "off", target = "NULL", arguments = "NULL", link = "NULL",
              icon = "NULL", index = "0", clean = "off", file = "NULL";
};

inline std::string Usage(const std::string& message, const Defaults& d = Defaults()) {
  return "Error: " + message +
         "\nUsage: [-folder] [-desktop] [-favorites] [-programs] [-start] [-startup] [-common] "
         "[-T:<string>] [-A:<string>] [-L:<string>] [-I:<string>] [-N:<integer>] [-clean] "
         "[-F:<string>] \n\n"
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

struct Outcome {
  bool ran = false;  // started and ended in time
  DWORD exitCode = 0;
  std::vector<wintest::Box> boxes;
};

// Starts pathmint with arguments (a command-line tail, quoted as needed) and presses OK on every
// box it shows.
inline Outcome RunPathmint(const std::string& arguments, const char* cwd = nullptr) {
  Outcome out;
  wintest::BoxWatcher watcher(kCaption);
  wintest::ProcessResult r =
      wintest::Run(wintest::Quote(wintest::ExeDir() + "pathmint.exe") + " " + arguments, cwd,
                   30000);
  out.boxes = watcher.Stop();
  out.ran = r.started && !r.timedOut;
  out.exitCode = r.exitCode;
  return out;
}

// Prints a box text with its control characters visible (for failure messages).
inline std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out += c;
    }
  }
  return out;
}

// Checks that the run ended with code after showing exactly the box texts given, in order.
template <typename... Texts>
void CheckRun(const char* file, int line, const Outcome& o, DWORD code, const Texts&... texts) {
  const std::vector<std::string> want = {std::string(texts)...};
  wintest::Check(o.ran, file, line, "pathmint did not run to its end");
  wintest::Check(o.exitCode == code, file, line, "exit code 0x%08lX, expected 0x%08lX", o.exitCode,
                 code);
  wintest::Check(o.boxes.size() == want.size(), file, line, "%u boxes, expected %u",
                 unsigned(o.boxes.size()), unsigned(want.size()));
  for (size_t i = 0; i < o.boxes.size() && i < want.size(); ++i) {
    wintest::Check(o.boxes[i].caption == kCaption, file, line, "box %u captioned [%s]",
                   unsigned(i), o.boxes[i].caption.c_str());
    wintest::Check(o.boxes[i].text == want[i], file, line, "box %u:\n  got  [%s]\n  want [%s]",
                   unsigned(i), Visible(o.boxes[i].text).c_str(), Visible(want[i]).c_str());
  }
}
#define CHECK_RUN(...) texts::CheckRun(__FILE__, __LINE__, __VA_ARGS__)

}  // namespace texts

#endif
