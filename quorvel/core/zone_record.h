// One zone of the platform's zone catalogue, as a plain fixed-width value.
#ifndef QUORVEL_ZONE_RECORD_H
#define QUORVEL_ZONE_RECORD_H

#include <cstddef>

constexpr std::size_t kZoneNameSize = 512;  // bytes of each text field, terminator included
constexpr std::size_t kZoneRuleSize = 44;   // bytes of the "TZI" value

struct ZoneRecord {
  char displayName[kZoneNameSize];   // "Display": shown in the list; the key zones are found by
  char daylightName[kZoneNameSize];  // "Dlt"
  char standardName[kZoneNameSize];  // "Std": matched to find the zone in force
  unsigned char rule[kZoneRuleSize]; // "TZI", byte for byte
  bool ruleRead;                     // the "TZI" value held exactly its bytes; else rule is zeros
  char keyName[kZoneNameSize];       // the zone's subkey name in the catalogue: its identity
};

// The empty record (all bytes zero) stands for "no zone found".
inline bool IsEmptyZone(const ZoneRecord& record) { return record.displayName[0] == '\0'; }

#endif
