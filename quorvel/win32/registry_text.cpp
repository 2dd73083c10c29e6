#include "registry_text.h"

#include <cstdlib>

#include "zone_record.h"
#include "zone_text.h"

bool ReadRegistryText(HKEY key, const char* name, char* field, std::size_t fieldSize) {
  char buffer[kZoneNameSize];
  DWORD size = sizeof buffer;
  LONG rc = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
  if (rc == ERROR_SUCCESS) {
    StoreZoneText(field, fieldSize, buffer, size < sizeof buffer ? size : sizeof buffer,
                  IsAnsiLeadByte);
    return true;
  }
  // Longer than the field: read it whole (size now says how much is stored) and keep the start.
  // The value may change between the calls, so a few rounds are allowed. A value whose memory
  // cannot be had counts as one that cannot be read.
  for (int round = 0; rc == ERROR_MORE_DATA && round < 3; ++round) {
    char* whole = static_cast<char*>(std::malloc(size > 0 ? size : 1));
    if (whole == nullptr) return false;
    DWORD wholeSize = size;
    rc = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(whole), &wholeSize);
    if (rc == ERROR_SUCCESS) {
      StoreZoneText(field, fieldSize, whole, wholeSize < size ? wholeSize : size, IsAnsiLeadByte);
    }
    std::free(whole);
    if (rc == ERROR_SUCCESS) return true;
    size = wholeSize;
  }
  return false;
}

bool IsAnsiLeadByte(unsigned char first) {
  return IsDBCSLeadByte(first) != FALSE;
}
