// The string-block walk over arbitrary bytes: the first two bytes are the string id, the rest is
// the block. libFuzzer hands over a buffer of exactly that size, so AddressSanitizer reports any
// read past the block; an entry that is found must lie wholly inside it.
#include <cstdint>
#include <cstdlib>

#include "string_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::uint16_t id = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
  const unsigned char* block = data + 2;
  std::size_t blockSize = size - 2;
  const unsigned char* entry = FindStringEntry(block, blockSize, id);
  if (entry == nullptr) return 0;
  std::size_t offset = static_cast<std::size_t>(entry - block);
  std::size_t units = StringEntryLength(entry);
  if (units == 0 || offset % 2 != 0 || offset + 2 + 2 * units > blockSize) std::abort();
  // Touch every unit of the entry.
  unsigned sum = 0;
  const unsigned char* text = StringEntryUnits(entry);
  for (std::size_t i = 0; i < 2 * units; ++i) sum += text[i];
  return sum == 0xFFFFFFFFu ? 1 : 0;
}
