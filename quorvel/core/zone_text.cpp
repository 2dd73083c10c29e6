#include "zone_text.h"

#include <cstring>

std::size_t WholeCharacterBytes(const char* text, std::size_t size, std::size_t limit,
                                LeadByteTest isLeadByte) {
  if (size <= limit) return size;
  if (!isLeadByte) return limit;
  std::size_t end = 0;
  while (end < limit) {
    const std::size_t next =
        isLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < size ? end + 2 : end + 1;
    if (next > limit) break;
    end = next;
  }
  return end;
}

void StoreZoneText(char* field, std::size_t fieldSize, const char* data, std::size_t size,
                   LeadByteTest isLeadByte) {
  if (fieldSize == 0) return;
  const std::size_t kept = WholeCharacterBytes(data, size, fieldSize - 1, isLeadByte);
  if (kept > 0) std::memcpy(field, data, kept);
  std::memset(field + kept, 0, fieldSize - kept);
}
