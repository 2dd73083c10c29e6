// The settings of one pathmint run: the eighteen options, the special folder they resolve to and
// the directory the program started in. One static instance lives for the whole process.
#ifndef PATHMINT_LINK_SETTINGS_H
#define PATHMINT_LINK_SETTINGS_H

#include <cstdint>

#include "command_line_app.h"
#include "file_encoding.h"
#include "link_path.h"

// Size of m_szCurrentDir (MAX_PATH).
constexpr int kCurrentDirSize = 260;
// Size of the buffers that hold text values taken from the argument file.
constexpr int kFileTextSize = 256;
// The longest text value the argument file may give; a longer one is refused, never cut.
constexpr int kFileTextLength = kFileTextSize - 2;

class LinkSettings : public CommandLineApp {
 public:
  // Registers the options in matching and usage-text order, sets the caption and the
  // message-box mode.
  LinkSettings();

  // Fills the record from environment, the argument vector (argv[0], the program, is skipped),
  // the current directory and the argument file, then validates. Ends the process on a usage
  // or consistency error. (win32/load.cpp)
  int Load(int argc, const char* const* argv, const char* const* environment);

  // Ends the process with a usage error when the narrow command line is not exactly the caller's
  // Unicode one. (win32/load.cpp)
  void CheckCommandLine();
  // Stores the current directory in m_szCurrentDir, by its short name where the code page cannot
  // hold its own; ends the process when it cannot be stored. (win32/load.cpp)
  void CaptureCurrentDirectory();

  // Settings dump, special-folder resolution and the consistency checks. Ends the process on
  // the first failing check; returns 0 otherwise.
  int Validate();

  // Carries out the one action the settings ask for: 0 when it succeeded, 1 when it failed.
  int Run();

  // Stores dir in m_szCurrentDir, with a backslash appended unless it ends in a separator (read
  // by characters with isLeadByte). Returns false (and leaves m_szCurrentDir empty) when the result
  // would not fit.
  bool StoreCurrentDirectory(const char* dir, LeadByteTest isLeadByte = nullptr);

  // Shows the format text when m_bShowFileFormat is set, then takes the values of the argument
  // file fileName (null or empty: none) over the current ones. Returns 1.
  // (win32/argument_file.cpp)
  int ReadArgumentFile(const char* fileName);
  // 1 when path names an existing file or directory, else 0. (win32/argument_file.cpp)
  int FileExists(const char* path);
  // Shows the argument file's format on the report channel. (argument_file.cpp)
  void ShowFileFormat();
  // Takes the values of the argument file fullName, of this encoding, over the current ones. A
  // text value longer than kFileTextLength sets m_bFileValueRefused (the field keeps its first
  // kFileTextLength characters, for the dump only), and so does any value of a UTF-16 file that
  // is not exactly the file's. A UTF-8 file is refused: the process ends with 1 and its report.
  // (argument_file.cpp)
  void ApplyArgumentFile(const char* fullName, FileEncoding encoding = FileEncoding::Ansi);
  // Sets m_bFileValueRefused when the value of key in the Unicode file fullName is not exactly
  // the file's. (argument_file.cpp)
  void RefuseInexact(const char* fullName, const char* key);

  FlagOption m_bDebugFlag;
  FlagOption m_bIsFolder;
  FlagOption m_bIsDesktop;
  FlagOption m_bIsFavorites;
  FlagOption m_bIsPrograms;
  FlagOption m_bIsStartMenu;
  FlagOption m_bIsStartup;
  FlagOption m_bUseCommonDirectory;
  StringOption m_szTarget;
  StringOption m_szArguments;
  StringOption m_szLinkFile;
  StringOption m_szIconPath;
  IntegerOption m_iIconIndex;
  FlagOption m_bShowFileFormat;
  FlagOption m_bOneTimeLink;
  FlagOption m_bExecute;
  FlagOption m_bDeleteFile;
  StringOption m_szCmdFile;
  int32_t m_iSpecialFolder;
  char m_szCurrentDir[kCurrentDirSize];

  // Own copies of the text values read from the argument file (the text options then point here).
  char m_szFileTarget[kFileTextSize];
  char m_szFileArguments[kFileTextSize];
  char m_szFileLinkFile[kFileTextSize];
  char m_szFileIconPath[kFileTextSize];
  // Set when the argument file gave a text value too long for its field, or a value that is not
  // exactly the file's: Run does nothing and fails.
  int m_bFileValueRefused;
};

// Copies text into buffer (of size bytes), cut to size - 1 characters. Returns buffer.
char* CopyText(char* buffer, int size, const char* text);

#endif
