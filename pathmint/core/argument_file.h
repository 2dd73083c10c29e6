// The argument file: the section and keys that are read, and how their values replace the
// settings' (LinkSettings::ApplyArgumentFile, argument_file.cpp). The profile reader behind them is
// the platform's (win32/argument_file.cpp); the native tests supply their own.
#ifndef PATHMINT_ARGUMENT_FILE_H
#define PATHMINT_ARGUMENT_FILE_H

// The one section that is read. The format text shows "[LINK.CONFIG]", but files in use rely on
// the name the reader has always read.
constexpr char kArgumentFileSection[] = "LINK CONFIG";

// The reports of an argument file refused before anything is read from it: one saved as UTF-8,
// which the platform's reader would read as ANSI bytes (or, after a byte-order mark, not at all),
// and one that exists but cannot be read.
extern const char kUtf8ArgumentFileText[];
extern const char kUnreadableArgumentFileText[];

// The reader's text of key in section of file into buffer, where size is the size the reader is
// told; a missing key gives the empty text.
void ReadProfileText(const char* file, const char* section, const char* key, char* buffer,
                     unsigned size);

// The reader's number for key in section of file, or fallback when the key is missing.
int ReadProfileInteger(const char* file, const char* section, const char* key, int fallback);

// False when the value of key in section of the Unicode file file holds a character the ANSI code
// page lacks: the reader gives the narrow calls a look-alike in its place.
bool ProfileKeyExact(const char* file, const char* section, const char* key);

#endif
