// Path and command-line texts of the shell actions, free of any Windows header so that they are
// tested natively. Every function writes into a caller's fixed buffer and refuses (returns false)
// rather than cut a path or a command line: a shortened path would name a different file.
#ifndef PATHMINT_LINK_PATH_H
#define PATHMINT_LINK_PATH_H

#include <cstddef>

// Size of every path and command-line buffer of the shell actions, terminator included (MAX_PATH).
constexpr size_t kPathBufferSize = 260;

// Copies text into out (capacity bytes). A null text counts as empty. When it does not fit, out
// is left empty and the result is false.
bool CopyPathText(char* out, size_t capacity, const char* text);

// Appends ".lnk" to the text in path unless the text from its last full stop to the end is
// ".lnk" in any letter case. The full stop may lie in an earlier component: C:\My.Files\Report
// becomes C:\My.Files\Report.lnk. Returns false and leaves path unchanged when the longer text
// would not fit capacity bytes.
bool EnsureLinkExtension(char* path, size_t capacity);

// Writes folder, one backslash and name into out (capacity bytes); name is taken as it stands.
// Returns false, out left empty, when the result does not fit.
bool JoinFolderPath(char* out, size_t capacity, const char* folder, const char* name);

// Writes the command line with which a self-removing shortcut starts this program again:
//   -exec /T:"target" /A:"arguments" /L:"linkPath"   (arguments present and non-empty)
//   -exec /T:"target" /L:"linkPath"                  (otherwise)
// Each value is escaped for the platform's command-line splitting (a double quote as \", and
// backslashes doubled where they stand before a quote or the closing quote), so the relaunched
// run receives exactly these values. Values without double quotes and trailing backslashes appear
// byte for byte. Returns false, out left empty, when the line does not fit capacity bytes.
bool BuildRelaunchLine(char* out, size_t capacity, const char* target, const char* arguments,
                       const char* linkPath);

#endif
