#include "zone_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(StoreZoneText, KeepsTheTextTerminatedInsideTheField) {
  struct Case {
    std::string data;  // the bytes as the registry gave them
    std::string want;  // the field's text
  } cases[] = {
      {std::string("Pacific Standard Time\0", 22), "Pacific Standard Time"},
      {"Unterminated", "Unterminated"},
      {std::string(), ""},
      {std::string("\0", 1), ""},
      {std::string("Early\0Rest", 10), "Early"},
      {std::string(511, 'a'), std::string(511, 'a')},
      {std::string(511, 'b') + '\0', std::string(511, 'b')},
      {std::string(512, 'c'), std::string(511, 'c')},  // exactly as wide, no terminator
      {std::string(600, 'd') + '\0', std::string(511, 'd')},
  };
  for (const Case& c : cases) {
    char field[kZoneNameSize + 8];
    std::memset(field, 'x', sizeof field);  // stale content and a guard after the field
    StoreZoneText(field, kZoneNameSize, c.data.data(), c.data.size());
    EXPECT_EQ(std::string(field), c.want) << c.data.size();
    std::size_t end = std::strlen(field);
    for (std::size_t i = end; i < kZoneNameSize; ++i) {
      if (field[i] != 0 && i >= c.data.size()) {
        ADD_FAILURE() << "stale byte at " << i << " for size " << c.data.size();
        break;
      }
    }
    for (std::size_t i = kZoneNameSize; i < sizeof field; ++i) EXPECT_EQ(field[i], 'x');
  }
}

// A text longer than the field is cut between characters: a two-byte character that would not
// fit whole is left out, never split.
TEST(StoreZoneText, CutsLongTextBetweenCharacters) {
  const LeadByteTest highIsLead = [](unsigned char first) { return first >= 0x81; };
  std::string pairs;
  for (int i = 0; i < 300; ++i) pairs += "\x82\xA0";
  const struct {
    std::string data;
    LeadByteTest test;
    std::size_t kept;
  } cases[] = {
      {pairs + '\0', highIsLead, 510},
      {"a" + pairs + '\0', highIsLead, 511},
      {pairs + '\0', nullptr, 511},
      {pairs.substr(0, 509) + '\0', highIsLead, 509},  // fits: kept as stored
  };
  for (const auto& c : cases) {
    char field[kZoneNameSize];
    StoreZoneText(field, sizeof field, c.data.data(), c.data.size(), c.test);
    EXPECT_EQ(std::string(field), c.data.substr(0, c.kept)) << c.data.size();
    EXPECT_EQ(WholeCharacterBytes(c.data.data(), c.data.size(), kZoneNameSize - 1, c.test),
              c.data.size() < kZoneNameSize ? c.data.size() : c.kept);
  }
}

TEST(StoreZoneText, ClearsEverythingAfterTheKeptBytes) {
  char field[16];
  std::memset(field, 'x', sizeof field);
  StoreZoneText(field, sizeof field, "abc", 3);
  EXPECT_STREQ(field, "abc");
  for (std::size_t i = 3; i < sizeof field; ++i) EXPECT_EQ(field[i], 0) << i;
}

std::u16string Field(const char16_t (&field)[kZoneNameUnits]) {
  return std::u16string(field, kZoneNameUnits);
}

TEST(FitZoneName, CutsAt32UnitsWithoutTerminator) {
  struct Case {
    std::size_t length;
  } cases[] = {{0}, {1}, {31}, {32}, {33}, {40}, {255}};
  for (const Case& c : cases) {
    std::u16string name;
    for (std::size_t i = 0; i < c.length; ++i) name += static_cast<char16_t>(u'A' + i % 26);
    char16_t field[kZoneNameUnits];
    for (char16_t& u : field) u = u'?';
    FitZoneName(name.c_str(), field);
    std::u16string want = name.substr(0, kZoneNameUnits);
    want.resize(kZoneNameUnits, u'\0');
    EXPECT_EQ(Field(field), want) << c.length;
  }
}

TEST(FitZoneName, KeepsUnitsBeyondAscii) {
  char16_t field[kZoneNameUnits];
  FitZoneName(u"Heure d\u2019\u00E9t\u00E9", field);
  EXPECT_EQ(std::u16string(field), u"Heure d\u2019\u00E9t\u00E9");
}

TEST(SameZoneName, FoldsOnlyAsciiLetters) {
  struct Case {
    const char16_t* inForce;
    const char16_t* candidate;
    bool same;
  } cases[] = {
      {u"Pacific Standard Time", u"Pacific Standard Time", true},
      {u"PACIFIC standard time", u"pacific STANDARD TIME", true},
      {u"Pacific Standard Time", u"Pacific Standard Tim", false},
      {u"Pacific Standard Tim", u"Pacific Standard Time", false},
      {u"Pacific Standard Time", u"Pacific Standard Time ", false},
      {u"\u00C9t\u00E9", u"\u00E9t\u00E9", false},  // accented capitals are not folded
      {u"\u00E9t\u00E9", u"\u00E9T\u00C9", false},
      {u"\u00E9t\u00E9", u"\u00E9T\u00E9", true},
      {u"[zone]", u"{zone}", false},  // differ by 0x20 but are not letters
      {u"@", u"`", false},
      {u"", u"", false},  // an empty name identifies nothing
      {u"UTC", u"", false},
      {u"", u"UTC", false},
  };
  for (const Case& c : cases) {
    char16_t field[kZoneNameUnits] = {};
    FitZoneName(c.inForce, field);
    EXPECT_EQ(SameZoneName(field, c.candidate), c.same)
        << std::string(c.inForce, c.inForce + std::char_traits<char16_t>::length(c.inForce));
  }
}

TEST(SameZoneName, ReadsAFullNameFieldWithoutTerminator) {
  const char16_t* full = u"abcdefghijklmnopqrstuvwxyzABCDEF";  // 32 units
  char16_t field[kZoneNameUnits];
  FitZoneName(full, field);
  EXPECT_TRUE(SameZoneName(field, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef"));
  EXPECT_FALSE(SameZoneName(field, u"abcdefghijklmnopqrstuvwxyzABCDEFG"));
  EXPECT_FALSE(SameZoneName(field, u"abcdefghijklmnopqrstuvwxyzABCDE"));

  // The key name's field holds 128 units: read whole, past the standard name's 32.
  char16_t key[128];
  std::u16string name;
  for (std::size_t i = 0; i < 128; ++i) name += static_cast<char16_t>(u'a' + i % 26);
  for (std::size_t i = 0; i < 128; ++i) key[i] = name[i];
  EXPECT_TRUE(SameZoneName(key, name.c_str()));
  EXPECT_FALSE(SameZoneName(key, (name + u"x").c_str()));
  EXPECT_FALSE(SameZoneName(key, name.substr(0, 127).c_str()));
  EXPECT_FALSE(SameZoneName(key, name.substr(0, 32).c_str()));
}

}  // namespace
