// The application side of the option framework: walks the argument vector, hands each token to
// the first matching registered option, checks required options, and reports problems with a
// generated usage text in a message box or on the standard error stream.
#ifndef PATHMINT_COMMAND_LINE_APP_H
#define PATHMINT_COMMAND_LINE_APP_H

#include <cstdint>

#include "command_option.h"
#include "report.h"

class CommandLineApp {
 public:
  // Parse flags.
  enum : uint32_t {
    IgnoreUnknownOptions = 0x1,       // an option token that matches nothing is skipped
    IgnoreUnexpectedArguments = 0x2,  // a plain token no positional option takes is skipped
  };

  // Resets the option registry: the derived class's option members register after this.
  explicit CommandLineApp(uint32_t parseFlags);

  // Copies title into m_szTitle, cut to 39 characters.
  void SetTitle(const char* title);

  // For every option with an environment-variable name that the environment holds, passes the
  // variable's value to SetValue. environment is a null-terminated array of "NAME=value" texts;
  // names compare without regard to letter case.
  void ApplyEnvironment(const char* const* environment);

  // Points the parser at count tokens starting at first (the argument vector without the program
  // name). Nothing beyond those count tokens is ever read.
  static void SetArguments(const char* const* first, int count);

  // Parses the tokens set by SetArguments. Ends the process on an unknown option, a stray
  // argument or a missing required option (unless the parse flags say otherwise).
  void Parse();

  // Reports "Error: " message, the usage text, and ends the process with exitCode.
  [[noreturn]] void UsageError(const char* message, int exitCode);

  // Shows the formatted text (cut to 2047 characters) when m_bDebugOutput is on.
  void DebugPrint(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Reports text alone as an error and ends the process with exitCode.
  [[noreturn]] void ErrorExit(const char* text, int exitCode);

  // Shows text on the report channel: a box captioned m_szTitle with icon, or the text and a
  // newline on the standard error stream. Returns when it is shown.
  void ShowReport(const char* text, ReportIcon icon);

  // The full text UsageError reports for message. It stays valid until the next usage text is
  // composed; message must not be such a text itself.
  const char* UsageText(const char* message) const;

  int m_bUseMessageBox;
  int m_bDebugOutput;
  char m_szTitle[40];

 private:
  void ParseOption(const char* token);
  void ParseArgument(const char* token);
};

#endif
