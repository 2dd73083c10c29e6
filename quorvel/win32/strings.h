// Localised strings: a string id turned into ANSI text in the language that the platform's
// resource loader picks for the calling thread. (ShowResourceMessage and ApplyDialogTexts, the two
// operations the rest of the program uses, are declared in quorvel.h.)
#ifndef QUORVEL_STRINGS_H
#define QUORVEL_STRINGS_H

#include <windows.h>

#include <string>

// A loaded string: the converted bytes (size() counts bytes), always followed by a zero byte.
using ResourceText = std::string;

// The first resource module whose string tables hold a present entry for id in the given
// language (0: the calling thread's language as the platform resolves it), or null.
HMODULE FindStringModule(UINT id, LANGID language);

// The entry for id in the string block `resource` of `module`: a pointer to its count word, or
// null when the entry is absent or the block cannot be loaded.
const unsigned char* FindStringEntry(HMODULE module, HRSRC resource, UINT id);

// Loads id from module into text, converted to the thread's ANSI code page. False, with text
// unchanged, when there is no present entry.
bool LoadResourceString(ResourceText& text, HMODULE module, UINT id);

#endif
