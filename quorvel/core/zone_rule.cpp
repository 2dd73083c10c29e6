#include "zone_rule.h"

namespace {

std::uint16_t Read16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int32_t Read32(const unsigned char* p) {
  std::uint32_t u = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                    (static_cast<std::uint32_t>(p[2]) << 16) |
                    (static_cast<std::uint32_t>(p[3]) << 24);
  // Two's complement without relying on an implementation-defined conversion.
  if (u & 0x80000000u) return -static_cast<std::int32_t>(~u) - 1;
  return static_cast<std::int32_t>(u);
}

ZoneDate ReadDate(const unsigned char* p) {
  ZoneDate d;
  d.year = Read16(p + 0);
  d.month = Read16(p + 2);
  d.dayOfWeek = Read16(p + 4);
  d.day = Read16(p + 6);
  d.hour = Read16(p + 8);
  d.minute = Read16(p + 10);
  d.second = Read16(p + 12);
  d.milliseconds = Read16(p + 14);
  return d;
}

}  // namespace

ZoneRule DecodeZoneRule(const unsigned char (&stored)[kZoneRuleSize]) {
  ZoneRule rule;
  rule.bias = Read32(stored + 0);
  rule.standardBias = Read32(stored + 4);
  rule.daylightBias = Read32(stored + 8);
  rule.standardDate = ReadDate(stored + 12);
  rule.daylightDate = ReadDate(stored + 28);
  return rule;
}
