// The walk through a string block: the entries the resource compiler writes, absent entries, and
// blocks whose size or counts do not agree.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "string_block.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A block as the resource compiler writes it: 16 entries, each a count and ASCII text as UTF-16LE.
Bytes MakeBlock(const std::vector<std::string>& texts) {
  Bytes block;
  for (const std::string& text : texts) {
    block.push_back(static_cast<unsigned char>(text.size() & 0xFF));
    block.push_back(static_cast<unsigned char>(text.size() >> 8));
    for (char c : text) {
      block.push_back(static_cast<unsigned char>(c));
      block.push_back(0);
    }
  }
  return block;
}

// Block 7 (ids 96 to 111) and block 8 (ids 112 to 127) of the English table.
Bytes Block7() {
  return MakeBlock({"", "", "", "", "", "", "", "Quorvel_w32", "Select your current Time Zone",
                    "Display this dialog box on startup", "Ok", "Cancel",
                    "Access Denied, Unable to Set Time Zone Information.  Please contact your "
                    "Administrator for assistance.",
                    "QUORVEL_W32",
                    "Access Denied, Unable to Read Time Zone Information.  Please contact your "
                    "Administrator for assistance.",
                    "Error Message 3"});
}
Bytes Block8() {
  return MakeBlock({"Error Message 4", "Error Message 5", "Error Message 6", "Error Message 7",
                    "Error Message 8", "", "", "", "", "", "", "", "", "", "", ""});
}

// The entry's text back as ASCII (every unit checked to be ASCII).
std::string EntryText(const unsigned char* entry) {
  std::string out;
  const unsigned char* units = StringEntryUnits(entry);
  for (unsigned i = 0; i < StringEntryLength(entry); ++i) {
    EXPECT_EQ(units[2 * i + 1], 0);
    out += static_cast<char>(units[2 * i]);
  }
  return out;
}

// Copies the first `size` bytes into a buffer of exactly that size, so that AddressSanitizer
// catches any read past it.
const unsigned char* FindIn(const Bytes& block, std::size_t size, std::uint16_t id,
                            std::vector<unsigned char>* exact) {
  exact->assign(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size));
  exact->shrink_to_fit();
  return FindStringEntry(size == 0 ? nullptr : exact->data(), size, id);
}

TEST(StringBlock, BlockNumberAndIndex) {
  struct Case {
    std::uint16_t id;
    std::uint16_t block;
    unsigned index;
  } cases[] = {{0, 1, 0},      {15, 1, 15},   {16, 2, 0},   {96, 7, 0},     {104, 7, 8},
               {110, 7, 14},   {111, 7, 15},  {112, 8, 0},  {116, 8, 4},    {127, 8, 15},
               {0xFFEF, 4095, 15}, {0xFFFF, 4096, 15}};
  for (const Case& c : cases) {
    EXPECT_EQ(StringBlockNumber(c.id), c.block) << c.id;
    EXPECT_EQ(StringBlockIndex(c.id), c.index) << c.id;
  }
}

TEST(StringBlock, FindsThePresentEntriesOfBothBlocks) {
  Bytes b7 = Block7(), b8 = Block8();
  struct Case {
    const Bytes* block;
    std::uint16_t id;
    const char* text;
  } cases[] = {
      {&b7, 103, "Quorvel_w32"},
      {&b7, 104, "Select your current Time Zone"},
      {&b7, 107, "Cancel"},
      {&b7, 110,
       "Access Denied, Unable to Read Time Zone Information.  Please contact your Administrator "
       "for assistance."},
      {&b7, 111, "Error Message 3"},
      {&b8, 112, "Error Message 4"},
      {&b8, 113, "Error Message 5"},
      {&b8, 114, "Error Message 6"},
      {&b8, 115, "Error Message 7"},
      {&b8, 116, "Error Message 8"},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> exact;
    const unsigned char* entry = FindIn(*c.block, c.block->size(), c.id, &exact);
    ASSERT_NE(entry, nullptr) << c.id;
    EXPECT_EQ(EntryText(entry), c.text) << c.id;
  }
}

TEST(StringBlock, EntryOffsetsMatchTheLayout) {
  // Id 104 is entry 8 of block 7: seven empty entries (2 bytes each) and "Quorvel_w32" (2 + 22).
  Bytes b7 = Block7();
  std::vector<unsigned char> exact;
  const unsigned char* entry = FindIn(b7, b7.size(), 104, &exact);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry - exact.data(), 7 * 2 + 2 + 22);
  // Ids 112 to 116 are entries 0 to 4 of block 8, each "Error Message n" (2 + 30 bytes).
  Bytes b8 = Block8();
  for (std::uint16_t id = 112; id <= 116; ++id) {
    entry = FindIn(b8, b8.size(), id, &exact);
    ASSERT_NE(entry, nullptr) << id;
    EXPECT_EQ(entry - exact.data(), (id - 112) * 32) << id;
  }
}

TEST(StringBlock, AbsentEntriesAreNotFound) {
  Bytes b7 = Block7(), b8 = Block8();
  std::vector<unsigned char> exact;
  for (std::uint16_t id = 96; id <= 102; ++id) EXPECT_EQ(FindIn(b7, b7.size(), id, &exact), nullptr) << id;
  for (std::uint16_t id = 117; id <= 127; ++id) EXPECT_EQ(FindIn(b8, b8.size(), id, &exact), nullptr) << id;
  EXPECT_EQ(FindStringEntry(nullptr, 0, 104), nullptr);
}

TEST(StringBlock, BlocksCutShortNeverReadPastTheirEnd) {
  // Every prefix of both blocks: an entry is found only when it lies wholly inside the prefix,
  // and then it is the same entry as in the whole block.
  for (const Bytes& block : {Block7(), Block8()}) {
    std::uint16_t first = block == Block7() ? 96 : 112;
    for (std::size_t size = 0; size <= block.size(); ++size) {
      for (std::uint16_t id = first; id < first + 16; ++id) {
        std::vector<unsigned char> whole, cut;
        const unsigned char* full = FindIn(block, block.size(), id, &whole);
        const unsigned char* part = FindIn(block, size, id, &cut);
        if (full == nullptr) {
          EXPECT_EQ(part, nullptr) << "id " << id << " size " << size;
          continue;
        }
        std::size_t offset = static_cast<std::size_t>(full - whole.data());
        bool fits = offset + 2 + 2u * StringEntryLength(full) <= size;
        if (fits) {
          ASSERT_NE(part, nullptr) << "id " << id << " size " << size;
          EXPECT_EQ(static_cast<std::size_t>(part - cut.data()), offset);
        } else {
          EXPECT_EQ(part, nullptr) << "id " << id << " size " << size;
        }
      }
    }
  }
}

TEST(StringBlock, CountsThatPointPastTheEnd) {
  struct Case {
    const char* what;
    Bytes block;
    std::uint16_t id;
  } cases[] = {
      // Entry 0 claims 0xFFFF units in a block of 6 bytes.
      {"the entry itself runs past the end", {0xFF, 0xFF, 'a', 0, 'b', 0}, 0},
      // Entry 0's count jumps far past the end before entry 1 is reached.
      {"a skipped entry runs past the end", {0xFF, 0xFF, 'a', 0, 1, 0, 'b', 0}, 1},
      // The count word of entry 1 is cut in half by the end of the block.
      {"a count word straddles the end", {1, 0, 'a', 0, 1}, 1},
      {"a count word straddles the end of the first entry", {1}, 0},
      // Entry 1 says one unit but the block ends after one byte of it.
      {"the last unit is cut in half", {0, 0, 1, 0, 'a'}, 1},
      // The entry lands exactly at the end.
      {"the position is exactly at the end", {1, 0, 'a', 0}, 1},
      // Skipping lands past the end although every count word was whole.
      {"the skipped entries overshoot", {3, 0, 'a', 0}, 15},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> exact;
    EXPECT_EQ(FindIn(c.block, c.block.size(), c.id, &exact), nullptr) << c.what;
  }
  // An entry that ends exactly at the end of the block is found.
  Bytes tight = {0, 0, 2, 0, 'h', 0, 'i', 0};
  std::vector<unsigned char> exact;
  const unsigned char* entry = FindIn(tight, tight.size(), 1, &exact);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(EntryText(entry), "hi");
}

}  // namespace
