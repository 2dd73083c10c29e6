// Whether a narrow text is exactly the Unicode text it was made from. The platform hands a
// narrow-API program its command line, its directories and the values of a Unicode argument file
// in the ANSI code page, and where the code page lacks a character it puts a look-alike in its
// place (a letter without its accent, a quote or a backslash for their fullwidth forms): pathmint
// must never act on a text its caller did not write. Free of any Windows header: the conversion
// of one character is the caller's (win32/exact_path.cpp), the walk is tested natively.
#ifndef PATHMINT_EXACT_TEXT_H
#define PATHMINT_EXACT_TEXT_H

#include <cstddef>
#include <cstdint>

#include "text_stream.h"

// Room for the bytes of one character in any ANSI code page (four in UTF-8).
constexpr size_t kCharacterBytes = 4;

// The arguments of a command line: what follows the program name (up to and with its closing
// quote when it starts with one, else up to the first blank, as the runtime takes it) and the
// blanks after it. The same walk on the narrow and the Unicode line lands on the same character,
// whatever the program's folder is called: a double quote, a space or a tab is never the second
// byte of a two-byte character.
template <typename Char>
const Char* CommandLineArguments(const Char* line) {
  if (!line) return line;
  if (*line == '"') {
    ++line;
    while (*line && *line != '"') ++line;
    if (*line) ++line;  // the arguments start right after the closing quote
  } else {
    while (*line && *line != ' ' && *line != '\t') ++line;
  }
  while (*line == ' ' || *line == '\t') ++line;
  return line;
}

// Converts one character of Unicode text (units: 1, or 2 for a surrogate pair) into the ANSI code
// page exactly: its bytes into out (kCharacterBytes) and their number, 0 when the code page has no
// exact counterpart.
template <typename Unit>
using ExactCharacter = size_t (*)(const Unit* character, size_t units, char* out);

// The UTF-16 units of the character at text: 2 for a surrogate pair, else 1.
template <typename Unit>
size_t CharacterUnits(const Unit* text) {
  const uint32_t first = static_cast<uint16_t>(text[0]);
  const uint32_t second = static_cast<uint16_t>(text[1]);
  return first >= 0xD800 && first < 0xDC00 && second >= 0xDC00 && second < 0xE000 ? 2 : 1;
}

// Where narrow differs from the exact conversion of wide: 0 when it is that conversion, byte for
// byte; else the place of the first character that has none or whose bytes differ (counted in
// characters from 1; one past the last when narrow is longer), with its code point (0 there).
template <typename Unit>
size_t FirstInexactCharacter(const Unit* wide, const char* narrow, ExactCharacter<Unit> convert,
                             uint32_t* codePoint) {
  size_t position = 1;
  for (size_t units; *wide; wide += units, ++position) {
    units = CharacterUnits(wide);
    const uint32_t first = static_cast<uint16_t>(wide[0]);
    *codePoint = units == 1 ? first
                            : 0x10000 + ((first - 0xD800) << 10) +
                                  (static_cast<uint16_t>(wide[1]) - 0xDC00u);
    char bytes[kCharacterBytes];
    const size_t count = convert(wide, units, bytes);
    if (count == 0) return position;
    for (size_t i = 0; i < count; ++i) {
      if (narrow[i] != bytes[i]) return position;  // a shorter narrow ends here too
    }
    narrow += count;
  }
  *codePoint = 0;
  return *narrow ? position : 0;
}

// The exact conversion of wide into out (capacity bytes): false, out left empty, when a character
// has none or the text does not fit.
template <typename Unit>
bool ExactText(const Unit* wide, ExactCharacter<Unit> convert, char* out, size_t capacity) {
  size_t length = 0;
  for (size_t units; *wide; wide += units) {
    units = CharacterUnits(wide);
    char bytes[kCharacterBytes];
    const size_t count = convert(wide, units, bytes);
    if (count == 0 || length + count >= capacity) {
      if (capacity > 0) out[0] = '\0';
      return false;
    }
    for (size_t i = 0; i < count; ++i) out[length++] = bytes[i];
  }
  if (capacity == 0) return false;
  out[length] = '\0';
  return true;
}

// The texts pathmint reports a character the code page cannot hold with, composed in out.
const char* InexactCommandLineText(TextStream* out, unsigned codePage, uint32_t codePoint,
                                   size_t position);
const char* InexactDirectoryText(TextStream* out, unsigned codePage);

#endif
