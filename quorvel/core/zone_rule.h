// The zone rule of a catalogue entry: the 44-byte "TZI" value, little-endian, as the platform
// stores it: three biases in minutes, then the change-over dates to standard and to daylight time.
#ifndef QUORVEL_ZONE_RULE_H
#define QUORVEL_ZONE_RULE_H

#include <cstdint>

#include "zone_record.h"

// A SYSTEMTIME-like date of eight 16-bit fields, in stored order. A month of 0 means that the zone
// has no change-over.
struct ZoneDate {
  std::uint16_t year;
  std::uint16_t month;
  std::uint16_t dayOfWeek;
  std::uint16_t day;
  std::uint16_t hour;
  std::uint16_t minute;
  std::uint16_t second;
  std::uint16_t milliseconds;
};

struct ZoneRule {
  std::int32_t bias;          // offset 0
  std::int32_t standardBias;  // offset 4
  std::int32_t daylightBias;  // offset 8
  ZoneDate standardDate;      // offset 12
  ZoneDate daylightDate;      // offset 28
};

// Reads the stored bytes; every value is taken as it is, without a range check.
ZoneRule DecodeZoneRule(const unsigned char (&stored)[kZoneRuleSize]);

#endif
