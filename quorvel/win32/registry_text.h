// Reading text values of the registry into the fixed 512-byte fields of quorvel.
#ifndef QUORVEL_REGISTRY_TEXT_H
#define QUORVEL_REGISTRY_TEXT_H

#include <windows.h>

#include <cstddef>

// Reads the value `name` of `key` into `field` (fieldSize bytes). The stored type is not looked
// at. Whatever is stored, the field ends up holding at most fieldSize - 1 bytes of it followed by
// zeros: a longer value is cut between characters, an unterminated one is terminated. Returns
// false and leaves the field untouched when the value is missing or cannot be read.
bool ReadRegistryText(HKEY key, const char* name, char* field, std::size_t fieldSize);

// True when the byte `first` starts a two-byte character of the ANSI code page.
bool IsAnsiLeadByte(unsigned char first);

#endif
