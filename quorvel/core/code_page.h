// Reading the ANSI code page that the locale information gives as decimal text (for example
// "1252"), as older platforms need it for converting text.
#ifndef QUORVEL_CODE_PAGE_H
#define QUORVEL_CODE_PAGE_H

// Reads the characters up to the terminator as a decimal number, left to right, each character
// counting as its value minus that of '0' (no validation; the text is the platform's own).
// At most maxChars characters are read. 0 for an empty text.
unsigned CodePageFromDigits(const char* text, unsigned maxChars);

#endif
