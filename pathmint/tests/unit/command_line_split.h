// A command-line splitter for the tests, written from the platform's documented rules, to check
// that the relaunch line gives back the values it was built from.
#ifndef PATHMINT_TEST_COMMAND_LINE_SPLIT_H
#define PATHMINT_TEST_COMMAND_LINE_SPLIT_H

#include <string>
#include <vector>

// Splits a command line into arguments by the platform's documented rules for the arguments
// after the program name: blanks (space, tab) separate arguments outside double quotes;
// 2n backslashes before a double quote give n backslashes and the quote opens or closes a quoted
// part; 2n+1 backslashes before a quote give n backslashes and a literal quote; backslashes not
// before a quote stand as they are; inside a quoted part, "" gives a literal quote and ends the
// quoted part (the C runtime DLL's rule). With a lead-byte test, a lead byte and the byte after it
// are taken as one character, whatever that is.
inline std::vector<std::string> SplitCommandLine(const std::string& line,
                                                 bool (*isLeadByte)(unsigned char) = nullptr) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = line.size();
  while (true) {
    while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n) {
      char c = line[i];
      if (!quoted && (c == ' ' || c == '\t')) break;
      if (c == '\\') {
        size_t count = 0;
        while (i < n && line[i] == '\\') {
          ++count;
          ++i;
        }
        if (i < n && line[i] == '"') {
          arg.append(count / 2, '\\');
          if (count % 2 == 1) {
            arg += '"';
            ++i;
          }
        } else {
          arg.append(count, '\\');
        }
        continue;
      }
      if (c == '"') {
        if (quoted && i + 1 < n && line[i + 1] == '"') {
          arg += '"';
          i += 2;
          quoted = false;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      if (isLeadByte && isLeadByte(static_cast<unsigned char>(c)) && i + 1 < n) arg += line[i++];
      arg += line[i++];
    }
    args.push_back(arg);
  }
  return args;
}

// The lead bytes of code page 932 (Japanese), whose second bytes include 0x5C, the backslash.
inline bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

#endif
