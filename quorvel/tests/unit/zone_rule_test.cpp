#include "zone_rule.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Fill(unsigned char (&tzi)[kZoneRuleSize], const char* hex) {
  ASSERT_EQ(std::strlen(hex), 2 * kZoneRuleSize);
  for (std::size_t i = 0; i < kZoneRuleSize; ++i) {
    unsigned v = 0;
    ASSERT_EQ(std::sscanf(hex + 2 * i, "%2x", &v), 1);
    tzi[i] = static_cast<unsigned char>(v);
  }
}

void ExpectDate(const ZoneDate& d, const std::uint16_t (&want)[8]) {
  const std::uint16_t got[8] = {d.year, d.month,  d.dayOfWeek, d.day,
                                d.hour, d.minute, d.second,    d.milliseconds};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(got[i], want[i]) << "field " << i;
}

TEST(ZoneRule, DecodesACatalogueEntryWithDaylightSaving) {
  // A central European zone: UTC+1, to standard time on the last Sunday of October at 03:00,
  // to daylight time on the last Sunday of March at 02:00, one hour ahead.
  unsigned char tzi[kZoneRuleSize];
  Fill(tzi,
       "C4FFFFFF00000000C4FFFFFF00000A0000000500030000000000000000000300000005000200000000000000");
  ZoneRule r = DecodeZoneRule(tzi);
  EXPECT_EQ(r.bias, -60);
  EXPECT_EQ(r.standardBias, 0);
  EXPECT_EQ(r.daylightBias, -60);
  ExpectDate(r.standardDate, {0, 10, 0, 5, 3, 0, 0, 0});
  ExpectDate(r.daylightDate, {0, 3, 0, 5, 2, 0, 0, 0});
}

TEST(ZoneRule, EveryFieldComesFromItsOwnOffsetLittleEndian) {
  unsigned char tzi[kZoneRuleSize];
  for (std::size_t i = 0; i < kZoneRuleSize; ++i) tzi[i] = static_cast<unsigned char>(i + 1);
  ZoneRule r = DecodeZoneRule(tzi);
  EXPECT_EQ(r.bias, 0x04030201);
  EXPECT_EQ(r.standardBias, 0x08070605);
  EXPECT_EQ(r.daylightBias, 0x0C0B0A09);
  ExpectDate(r.standardDate, {0x0E0D, 0x100F, 0x1211, 0x1413, 0x1615, 0x1817, 0x1A19, 0x1C1B});
  ExpectDate(r.daylightDate, {0x1E1D, 0x201F, 0x2221, 0x2423, 0x2625, 0x2827, 0x2A29, 0x2C2B});
}

TEST(ZoneRule, ValuesPassUnchangedWithoutRangeChecks) {
  struct Case {
    std::string hex;
    std::int32_t bias, standardBias, daylightBias;
  } cases[] = {
      // No daylight saving: both dates have month 0 and stay all zero.
      {"D4FEFFFF" + std::string(80, '0'),
       -300, 0, 0},
      {"FFFFFF7F00000080FFFFFFFF" + std::string(64, '0'),
       0x7FFFFFFF, INT32_MIN, -1},
  };
  for (const Case& c : cases) {
    unsigned char tzi[kZoneRuleSize];
    Fill(tzi, c.hex.c_str());
    ZoneRule r = DecodeZoneRule(tzi);
    EXPECT_EQ(r.bias, c.bias) << c.hex;
    EXPECT_EQ(r.standardBias, c.standardBias) << c.hex;
    EXPECT_EQ(r.daylightBias, c.daylightBias) << c.hex;
    ExpectDate(r.standardDate, {0, 0, 0, 0, 0, 0, 0, 0});
    ExpectDate(r.daylightDate, {0, 0, 0, 0, 0, 0, 0, 0});
  }
}

TEST(ZoneRule, OutOfRangeDateFieldsAreKept) {
  unsigned char tzi[kZoneRuleSize] = {};
  tzi[14] = 13;    // standard month 13
  tzi[28] = 0xFF;  // daylight year 0xFFFF
  tzi[29] = 0xFF;
  tzi[42] = 0xE8;  // daylight milliseconds 1000
  tzi[43] = 0x03;
  ZoneRule r = DecodeZoneRule(tzi);
  EXPECT_EQ(r.standardDate.month, 13);
  EXPECT_EQ(r.daylightDate.year, 0xFFFF);
  EXPECT_EQ(r.daylightDate.milliseconds, 1000);
}

}  // namespace
