// Text rules of the zone catalogue that need no Windows header: keeping registry text inside its
// fixed field, cutting a converted name to the platform's 32-unit name field, and matching a name
// of the zone in force (its standard name or its key name) against a zone's.
#ifndef QUORVEL_ZONE_TEXT_H
#define QUORVEL_ZONE_TEXT_H

#include <cstddef>

#include "zone_record.h"

constexpr std::size_t kZoneNameUnits = 32;  // UTF-16 units of a name field of the platform

// Tells whether a byte of the ANSI code page starts a two-byte character.
using LeadByteTest = bool (*)(unsigned char first);

// The number of bytes at the start of text (size bytes) that hold whole characters and are at
// most limit bytes long. Without a lead-byte test every byte is a character of its own.
std::size_t WholeCharacterBytes(const char* text, std::size_t size, std::size_t limit,
                                LeadByteTest isLeadByte);

// Stores `size` bytes of value data (a text as the registry gave it, terminated or not, possibly
// longer than the field) into a field of `fieldSize` bytes: at most fieldSize - 1 bytes are kept,
// a zero byte always follows them, and the rest of the field is zero. A text longer than the field
// is cut between characters, never inside a two-byte character.
void StoreZoneText(char* field, std::size_t fieldSize, const char* data, std::size_t size,
                   LeadByteTest isLeadByte = nullptr);

// Fills a 32-unit name field from a zero-terminated UTF-16 text: a shorter name keeps its
// terminator (and zeros after it); a name of 32 units or more is cut to 32, with no terminator.
template <typename Unit>
void FitZoneName(const Unit* text, Unit (&field)[kZoneNameUnits]) {
  std::size_t i = 0;
  for (; i < kZoneNameUnits && text[i] != 0; ++i) field[i] = text[i];
  for (; i < kZoneNameUnits; ++i) field[i] = 0;
}

// True when a name of the zone in force (a field of the platform's, which need not be
// terminated when full: the standard name's 32 units, the key name's 128) equals the
// zero-terminated candidate, with only the ASCII letters A to Z folded to lower case. An empty
// name matches nothing.
template <typename Unit, std::size_t Units>
bool SameZoneName(const Unit (&inForce)[Units], const Unit* candidate) {
  auto fold = [](Unit u) -> Unit {
    return (u >= 'A' && u <= 'Z') ? static_cast<Unit>(u - 'A' + 'a') : u;
  };
  if (inForce[0] == 0 || candidate[0] == 0) return false;
  std::size_t i = 0;
  for (; i < Units && inForce[i] != 0; ++i) {
    if (candidate[i] == 0 || fold(inForce[i]) != fold(candidate[i])) return false;
  }
  return candidate[i] == 0;
}

#endif
