// String tables as the resource compiler lays them out: a string block holds 16 entries back to
// back, each a 16-bit little-endian count n followed by n UTF-16LE code units, no terminator.
// Block b (b >= 1) holds the ids (b - 1) * 16 to (b - 1) * 16 + 15.
#ifndef QUORVEL_STRING_BLOCK_H
#define QUORVEL_STRING_BLOCK_H

#include <cstddef>
#include <cstdint>

constexpr unsigned kStringsPerBlock = 16;

// The block that holds a string id (the resource name of its RT_STRING resource).
inline std::uint16_t StringBlockNumber(std::uint16_t id) {
  return static_cast<std::uint16_t>(id / kStringsPerBlock + 1);
}
// The entry of a string id within its block.
inline unsigned StringBlockIndex(std::uint16_t id) { return id % kStringsPerBlock; }

// Finds the entry of `id` in a block of `size` bytes. Returns a pointer to the entry's count word,
// or null when the entry is absent (count 0) or does not lie wholly inside the block: a count word
// cut by the block's end, or code units that would run past it. Nothing at or after
// block + size is read, whatever the counts say.
const unsigned char* FindStringEntry(const unsigned char* block, std::size_t size, std::uint16_t id);

// The count word of an entry that FindStringEntry returned.
inline std::uint16_t StringEntryLength(const unsigned char* entry) {
  return static_cast<std::uint16_t>(entry[0] | (entry[1] << 8));
}
// The first code unit of that entry (UTF-16LE, StringEntryLength units).
inline const unsigned char* StringEntryUnits(const unsigned char* entry) { return entry + 2; }

#endif
