// The string-block walk against a plain model of the block layout: for any block and any id, the
// entry found is exactly the one the model finds by walking the counts from the start, and "not
// found" comes exactly when the model's entry is absent (count 0) or does not lie wholly inside
// the block. The block is a heap copy of exactly its size, so a read past it is caught. A second
// pass builds a well-formed block from the input's texts and must find each text again.
//
// Input: bytes 0 and 1 the string id (little-endian), the rest the block.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "string_block.h"

namespace {

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "string block model: %s\n", what);
    std::abort();
  }
}

// Offset of the entry for id, or -1 when it is absent or not wholly inside the block.
long ModelFind(const std::vector<uint8_t>& block, uint16_t id) {
  size_t pos = 0;
  for (unsigned k = 0;; ++k) {
    if (pos + 2 > block.size()) return -1;
    const size_t units = block[pos] | (block[pos + 1] << 8);
    if (k == id % 16u) {
      if (units == 0 || pos + 2 + 2 * units > block.size()) return -1;
      return static_cast<long>(pos);
    }
    pos += 2 + 2 * units;
  }
}

const unsigned char* FindInCopy(const std::vector<uint8_t>& block, uint16_t id,
                                std::unique_ptr<unsigned char[]>* copy) {
  copy->reset(new unsigned char[block.empty() ? 1 : block.size()]);
  if (!block.empty()) std::memcpy(copy->get(), block.data(), block.size());
  return FindStringEntry(copy->get(), block.size(), id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint16_t id = static_cast<uint16_t>(data[0] | (data[1] << 8));
  const std::vector<uint8_t> block(data + 2, data + size);

  std::unique_ptr<unsigned char[]> copy;
  const unsigned char* entry = FindInCopy(block, id, &copy);
  const long want = ModelFind(block, id);
  Require((entry == nullptr) == (want < 0), "found where the model finds nothing, or the reverse");
  if (entry) Require(entry - copy.get() == want, "a different entry than the model's");
  Require(FindStringEntry(nullptr, block.size(), id) == nullptr, "a null block");

  // A well-formed block of sixteen entries cut from the input: entry k holds k units of it (or
  // none when k is even), and every present entry is found with its own units.
  std::vector<uint8_t> built;
  size_t take = 0;
  for (unsigned k = 0; k < kStringsPerBlock; ++k) {
    const unsigned units = (k % 2) ? k : 0;
    built.push_back(static_cast<uint8_t>(units));
    built.push_back(0);
    for (unsigned u = 0; u < 2 * units; ++u) built.push_back(block.empty() ? 0 : block[take++ % block.size()]);
  }
  for (unsigned k = 0; k < kStringsPerBlock; ++k) {
    const uint16_t probe = static_cast<uint16_t>((id & ~15u) | k);
    std::unique_ptr<unsigned char[]> wellFormed;
    const unsigned char* found = FindInCopy(built, probe, &wellFormed);
    if (k % 2 == 0) {
      Require(found == nullptr, "an empty entry was found");
      continue;
    }
    Require(found && StringEntryLength(found) == k, "entry not found with its length");
    const long offset = ModelFind(built, probe);
    Require(found - wellFormed.get() == offset, "entry at the wrong place");
    Require(std::memcmp(StringEntryUnits(found), built.data() + offset + 2, 2 * k) == 0,
            "entry text");
  }
  return 0;
}
