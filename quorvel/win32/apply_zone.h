// Applying a zone, split so that the translation and the privilege handling can be checked
// without changing the machine's zone.
#ifndef QUORVEL_APPLY_ZONE_H
#define QUORVEL_APPLY_ZONE_H

#include "quorvel.h"

using TimeZoneSetter = BOOL(WINAPI*)(const TIME_ZONE_INFORMATION* info);
using DynamicTimeZoneSetter = BOOL(WINAPI*)(const DYNAMIC_TIME_ZONE_INFORMATION* info);

using ZoneChangeAnnouncer = void (*)();

// The platform's ways of setting the zone. The dynamic one, where there is one, also sets the
// zone's identity (its key name) and keeps its yearly daylight-saving rules in force. The
// announcer tells open programs that the zone changed.
struct TimeZoneSetters {
  TimeZoneSetter plain;
  DynamicTimeZoneSetter dynamic;  // null where the platform has none
  ZoneChangeAnnouncer announce;   // null: nobody is told
};

// Broadcasts WM_SETTINGCHANGE to the top-level windows, never waiting long for any of them.
void AnnounceZoneChange();

// The plain call, the dynamic one where kernel32 exports it, and the broadcast.
TimeZoneSetters PlatformTimeZoneSetters();

// Fills every field of `info` from the record: the rule's biases and dates as stored, the names
// converted from the ANSI code page and cut to 32 units (daylight name first).
void BuildTimeZoneInformation(const ZoneRecord& record, TIME_ZONE_INFORMATION* info);

// The same, plus the record's key name and dynamic daylight time on. False when the key name does
// not fit its 128-unit field with a terminator.
bool BuildDynamicTimeZoneInformation(const ZoneRecord& record, DYNAMIC_TIME_ZONE_INFORMATION* info);

extern const char kTimeZonePrivilege[];  // "SeTimeZonePrivilege"

// ApplyZone with the setters and the privilege as parameters: enables the privilege, calls the
// dynamic setter (or, without one, the plain setter) once with the translated record, switches
// the privilege off again, announces the change where the setter accepted it, and returns the
// setter's verdict. A record whose rule was not read whole, or whose key name does not fit, is not
// applied: false, no setter is called and nothing is announced.
bool ApplyZoneWith(const ZoneRecord& record, const TimeZoneSetters& setters,
                   const char* privilegeName);

#endif
