// Path and command-line texts of the shell actions, free of any Windows header so that they are
// tested natively. Every function writes into a caller's fixed buffer and refuses (returns false)
// rather than cut a path or a command line: a shortened path would name a different file.
#ifndef PATHMINT_LINK_PATH_H
#define PATHMINT_LINK_PATH_H

#include <cstddef>

// Size of every path and command-line buffer of the shell actions, terminator included (MAX_PATH).
constexpr size_t kPathBufferSize = 260;

// Tells whether a byte of the ANSI code page starts a two-byte character, whose second byte may
// be that of a backslash or a full stop. Null stands for a code page of single bytes. The texts
// below are walked character by character with it wherever a separator or a quote is looked for.
using LeadByteTest = bool (*)(unsigned char first);

// True when the last character of text is a backslash or a slash.
bool EndsInSeparator(const char* text, LeadByteTest isLeadByte = nullptr);

// Copies text into out (capacity bytes). A null text counts as empty. When it does not fit, out
// is left empty and the result is false.
bool CopyPathText(char* out, size_t capacity, const char* text);

// Appends ".lnk" to the text in path unless the text from its last full stop to the end is
// ".lnk" in any letter case. The full stop may lie in an earlier component: C:\My.Files\Report
// becomes C:\My.Files\Report.lnk. Returns false and leaves path unchanged when the longer text
// would not fit capacity bytes.
bool EnsureLinkExtension(char* path, size_t capacity, LeadByteTest isLeadByte = nullptr);

// Writes folder, one backslash and name into out (capacity bytes); name is taken as it stands.
// Returns false, out left empty, when the result does not fit.
bool JoinFolderPath(char* out, size_t capacity, const char* folder, const char* name);

// Writes the command line with which a self-removing shortcut starts this program again:
//   -exec /T:"target" /A:"arguments" /L:"linkPath"   (arguments present and non-empty)
//   -exec /T:"target" /L:"linkPath"                  (otherwise)
// Each value is escaped for the platform's command-line splitting (a double quote as \", and
// backslashes doubled where they stand before a quote or the closing quote), so the relaunched
// run receives exactly these values. Values without double quotes and trailing backslashes appear
// byte for byte. The runtime takes the byte after a lead byte as the second half of its character,
// whatever it is: such a pair is written as it stands, and a value that ends in a lead byte (half
// a character, which would take the closing quote) is refused. Returns false, out left empty,
// when the line does not fit capacity bytes or a value ends in half a character.
bool BuildRelaunchLine(char* out, size_t capacity, const char* target, const char* arguments,
                       const char* linkPath, LeadByteTest isLeadByte = nullptr);

#endif
