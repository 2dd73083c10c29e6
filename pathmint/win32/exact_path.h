// The Unicode side of what the platform hands pathmint in the ANSI code page, read only to check
// that the narrow text is exactly what the caller or the file system holds (core/exact_text.h).
// Every text still reaches the actions through the narrow API.
#ifndef PATHMINT_EXACT_PATH_H
#define PATHMINT_EXACT_PATH_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

// One character into the ANSI code page exactly (an ExactCharacter): its bytes, or 0 when the
// code page would only have a look-alike for it, or nothing.
size_t ExactAnsiCharacter(const WCHAR* character, size_t units, char* out);

// FirstInexactCharacter in the ANSI code page: 0 when narrow is exactly wide.
size_t FirstInexactAnsi(const WCHAR* wide, const char* narrow, uint32_t* codePoint);

// The name by which pathmint uses an item the platform named twice, narrow and wide: narrow
// itself when it is exactly wide; else the item's short (8.3) name, where its volume keeps one and
// the code page holds it, or for an item not made yet its folder's short name and its own exact
// name: the same item, never the one a look-alike names. False, out left empty, when there is
// none of these or it does not fit capacity bytes.
bool ExactAnsiPath(const char* narrow, const WCHAR* wide, char* out, size_t capacity);

#endif
