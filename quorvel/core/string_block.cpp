#include "string_block.h"

const unsigned char* FindStringEntry(const unsigned char* block, std::size_t size, std::uint16_t id) {
  if (block == nullptr) return nullptr;
  // Offsets, not pointers: an advance past the end is compared, never formed as a pointer.
  std::size_t pos = 0;
  for (unsigned k = StringBlockIndex(id); k > 0; --k) {
    if (size < 2 || pos > size - 2) return nullptr;  // no whole count word left
    pos += 2 + 2 * static_cast<std::size_t>(StringEntryLength(block + pos));
  }
  if (size < 2 || pos > size - 2) return nullptr;
  const unsigned char* entry = block + pos;
  std::size_t units = StringEntryLength(entry);
  if (units == 0) return nullptr;                           // absent string
  if (units > (size - pos - 2) / 2) return nullptr;         // text would run past the block
  return entry;
}
