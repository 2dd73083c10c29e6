// Applying a zone, split so that the translation and the privilege handling can be checked
// without changing the machine's zone.
#ifndef QUORVEL_APPLY_ZONE_H
#define QUORVEL_APPLY_ZONE_H

#include "quorvel.h"

using TimeZoneSetter = BOOL(WINAPI*)(const TIME_ZONE_INFORMATION* info);

// Fills every field of `info` from the record: the rule's biases and dates as stored, the names
// converted from the ANSI code page and cut to 32 units (daylight name first).
void BuildTimeZoneInformation(const ZoneRecord& record, TIME_ZONE_INFORMATION* info);

extern const char kTimeZonePrivilege[];  // "SeTimeZonePrivilege"

// ApplyZone with the setter and the privilege as parameters: enables the privilege, calls
// `setter` once with the translated record, switches the privilege off again and returns the
// setter's verdict.
bool ApplyZoneWith(const ZoneRecord& record, TimeZoneSetter setter, const char* privilegeName);

#endif
