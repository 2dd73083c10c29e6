// ApplyZone's translation of a record into the platform's zone structures and its privilege
// handling, checked through setters that capture what they are given instead of changing the
// machine's zone: the plain one, and the dynamic one that also carries the zone's key name.
#include <stddef.h>
#include <string.h>

#include <string>

#include "../quorvel_test.h"
#include "apply_zone.h"
#include "wintest.h"

// This program does not include the localised strings; nothing here shows a message.
void ShowResourceMessage(UINT) { ok(false, "no message expected"); }

namespace {

using namespace quorvel;

// What a setter was given. The plain structure is the dynamic one's leading part, so both are
// kept here; the rest stays as it was filled before the call.
static_assert(offsetof(DYNAMIC_TIME_ZONE_INFORMATION, TimeZoneKeyName) ==
                  sizeof(TIME_ZONE_INFORMATION),
              "the plain zone structure leads the dynamic one");
DYNAMIC_TIME_ZONE_INFORMATION g_captured;
int g_plainCalls = 0;
int g_dynamicCalls = 0;
int g_announced = 0;          // announcements since the last apply
int g_settersBeforeNews = -1;  // setter calls made when the change was announced
BOOL g_verdict = TRUE;
int g_privilegeDuringCall = -1;
const char* g_watched = kTimeZonePrivilege;

// -1: cannot tell (the privilege is unknown or not held), 0: off, 1: on.
int PrivilegeEnabled(const char* name) {
  HANDLE token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return -1;
  LUID luid;
  int state = -1;
  unsigned char buffer[4096];
  DWORD size = 0;
  if (LookupPrivilegeValueA(nullptr, name, &luid) &&
      GetTokenInformation(token, TokenPrivileges, buffer, sizeof buffer, &size)) {
    const TOKEN_PRIVILEGES* list = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer);
    for (DWORD i = 0; i < list->PrivilegeCount; ++i) {
      const LUID_AND_ATTRIBUTES& p = list->Privileges[i];
      if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart) {
        state = (p.Attributes & SE_PRIVILEGE_ENABLED) ? 1 : 0;
      }
    }
  }
  CloseHandle(token);
  return state;
}

BOOL WINAPI CapturePlain(const TIME_ZONE_INFORMATION* info) {
  ++g_plainCalls;
  memcpy(&g_captured, info, sizeof *info);
  g_privilegeDuringCall = PrivilegeEnabled(g_watched);
  return g_verdict;
}

BOOL WINAPI CaptureDynamic(const DYNAMIC_TIME_ZONE_INFORMATION* info) {
  ++g_dynamicCalls;
  g_captured = *info;
  g_privilegeDuringCall = PrivilegeEnabled(g_watched);
  return g_verdict;
}

void CountAnnouncement() {
  ++g_announced;
  g_settersBeforeNews = g_plainCalls + g_dynamicCalls;
}

// Where the platform lacks the dynamic call, and where it has it.
const TimeZoneSetters kPlainOnly = {CapturePlain, nullptr, CountAnnouncement};
const TimeZoneSetters kBoth = {CapturePlain, CaptureDynamic, CountAnnouncement};
const TimeZoneSetters* const kPlatforms[] = {&kPlainOnly, &kBoth};

// Applies the record with these setters: exactly one setter gets it, once, the dynamic one where
// there is one, with the record's key name (zeros after it) and dynamic daylight time on.
bool apply_(const char* file, int line, const ZoneRecord& record, const TimeZoneSetters& setters,
            const char* privilege = kTimeZonePrivilege) {
  wintest::Context context("%s setter", setters.dynamic ? "dynamic" : "plain");
  g_plainCalls = g_dynamicCalls = g_announced = 0;
  g_settersBeforeNews = -1;
  memset(&g_captured, 0x5A, sizeof g_captured);
  const bool result = ApplyZoneWith(record, setters, privilege);
  // Open programs are told of the change once it was made, and only then.
  ok_(file, line)(g_announced == (g_verdict ? 1 : 0), "announced %d times for verdict %d",
                  g_announced, g_verdict);
  if (g_announced) {
    ok_(file, line)(g_settersBeforeNews == 1, "announced before the setter was called");
  }
  if (!setters.dynamic) {
    ok_(file, line)(g_plainCalls == 1 && g_dynamicCalls == 0, "setters called %d and %d times",
                    g_plainCalls, g_dynamicCalls);
    return result;
  }
  ok_(file, line)(g_dynamicCalls == 1 && g_plainCalls == 0, "setters called %d and %d times",
                  g_plainCalls, g_dynamicCalls);
  std::wstring key = wintest::Wide(record.keyName);
  key.resize(128, L'\0');
  ok_(file, line)(key == std::wstring(g_captured.TimeZoneKeyName, 128), "key name [%s]",
                  wintest::Narrow(std::wstring(g_captured.TimeZoneKeyName, 127).c_str()).c_str());
  ok_(file, line)(g_captured.DynamicDaylightTimeDisabled == FALSE,
                  "dynamic daylight time is off (%d)", g_captured.DynamicDaylightTimeDisabled);
  return result;
}
#define apply(...) apply_(__FILE__, __LINE__, __VA_ARGS__)

std::string Letters(size_t n, char first) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += static_cast<char>(first + i % 26);
  return s;
}

ZoneRecord MakeRecord(const std::string& standard, const std::string& daylight,
                      const unsigned char (&rule)[kZoneRuleSize]) {
  ZoneRecord r;
  memset(&r, 0, sizeof r);
  strcpy(r.displayName, "(UTC) Test zone");
  strcpy(r.keyName, "Test Zone Key");
  strcpy(r.standardName, standard.c_str());
  strcpy(r.daylightName, daylight.c_str());
  memcpy(r.rule, rule, kZoneRuleSize);
  r.ruleRead = true;
  return r;
}

// The name field must hold the first 32 characters and, when the name is shorter, a
// terminator and zeros after it.
void CheckName(const WCHAR (&field)[32], const std::string& name, const char* which) {
  bool same = true;
  for (size_t i = 0; i < 32; ++i) {
    WCHAR want = i < name.size() ? static_cast<WCHAR>(static_cast<unsigned char>(name[i])) : 0;
    same = same && field[i] == want;
  }
  ok(same, "%s name of %u characters: field differs", which, static_cast<unsigned>(name.size()));
}

void CheckDate(const SYSTEMTIME& t, const WORD (&want)[8], const char* which) {
  const WORD got[8] = {t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
                       t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
  for (int i = 0; i < 8; ++i) {
    ok(got[i] == want[i], "%s date field %d: %u, want %u", which, i, got[i], want[i]);
  }
}

void TranslatesEveryField() {
  wintest::Section("translation of names and rule");
  // Bias -60, standard bias 7, daylight bias -45; each date field distinct.
  unsigned char rule[kZoneRuleSize] = {0xC4, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0, 0xD3, 0xFF, 0xFF, 0xFF};
  for (int i = 0; i < 16; ++i) rule[12 + i] = static_cast<unsigned char>(i % 2 ? 0 : 1 + i / 2);
  for (int i = 0; i < 16; ++i) rule[28 + i] = static_cast<unsigned char>(i % 2 ? 0 : 11 + i / 2);
  rule[12] = 0xE9;  // standard year 2025
  rule[13] = 0x07;

  const size_t lengths[][2] = {{31, 32}, {32, 40}, {40, 31}, {0, 5}};
  for (const TimeZoneSetters* setters : kPlatforms) {
    for (const auto& pair : lengths) {
      std::string standard = Letters(pair[0], 'A');
      std::string daylight = Letters(pair[1], 'a');
      ZoneRecord record = MakeRecord(standard, daylight, rule);
      g_verdict = TRUE;
      ok(apply(record, *setters), "accepted zone reported as failure");
      ok(g_captured.Bias == -60, "Bias %ld", g_captured.Bias);
      ok(g_captured.StandardBias == 7, "StandardBias %ld", g_captured.StandardBias);
      ok(g_captured.DaylightBias == -45, "DaylightBias %ld", g_captured.DaylightBias);
      CheckDate(g_captured.StandardDate, {2025, 2, 3, 4, 5, 6, 7, 8}, "standard");
      CheckDate(g_captured.DaylightDate, {11, 12, 13, 14, 15, 16, 17, 18}, "daylight");
      CheckName(g_captured.StandardName, standard, "standard");
      CheckName(g_captured.DaylightName, daylight, "daylight");
    }

    // The ANSI code page's characters beyond ASCII arrive as their UTF-16 units.
    unsigned char none[kZoneRuleSize] = {};
    ZoneRecord accented = MakeRecord("Heure normale d\xE9j\xE0", "Sommer\xFC", none);
    apply(accented, *setters);
    if (GetACP() == 1252) {
      ok(g_captured.StandardName[15] == 0x00E9 && g_captured.StandardName[17] == 0x00E0,
         "accented standard name not converted from the ANSI code page");
      ok(g_captured.DaylightName[6] == 0x00FC && g_captured.DaylightName[7] == 0,
         "accented daylight name not converted");
    }
  }
}

void PassesMonthZeroDatesUnchanged() {
  wintest::Section("zone without daylight saving");
  unsigned char rule[kZoneRuleSize] = {0x10, 0xFE, 0xFF, 0xFF};  // Bias -496, no change-over
  ZoneRecord record = MakeRecord("Fixed Standard Time", "Fixed Daylight Time", rule);
  for (const TimeZoneSetters* setters : kPlatforms) {
    ok(apply(record, *setters), "accepted zone reported as failure");
    ok(g_captured.Bias == -496, "Bias %ld", g_captured.Bias);
    ok(g_captured.StandardBias == 0 && g_captured.DaylightBias == 0, "biases not zero");
    CheckDate(g_captured.StandardDate, {0, 0, 0, 0, 0, 0, 0, 0}, "standard");
    CheckDate(g_captured.DaylightDate, {0, 0, 0, 0, 0, 0, 0, 0}, "daylight");
  }
}

// The zone the user chose is found by its display name in the catalogue; the dynamic setter
// gets its key name, which names it to the platform. A key name too long for the 128-unit field
// (with its terminator) is not cut into another name: the zone is not applied, and no setter is
// called.
void CarriesTheZonesKeyName() {
  wintest::Section("the key name of a zone found by display name");
  const std::string key = "zzQuorvelSeam Zone";
  ok(AddZone(key, Text("(UTC-03:30) Seam zone"), Text("Seam Standard Time"),
             Text("Seam Daylight Time"), Raw(REG_BINARY, std::string(kZoneRuleSize, '\0'))),
     "cannot add the zone");
  ZoneRecord record = FindZoneByDisplayName("(UTC-03:30) Seam zone");
  ok(strcmp(record.keyName, key.c_str()) == 0, "key name [%s]", record.keyName);
  ok(apply(record, kBoth), "accepted zone reported as failure");
  CheckName(g_captured.StandardName, "Seam Standard Time", "standard");
  // A rule that is not its 44 bytes (a damaged key) never reaches a setter.
  ok(AddZone(key, Absent(), Absent(), Absent(), Raw(REG_BINARY, std::string(10, '\1'))),
     "cannot change the rule");
  g_plainCalls = g_dynamicCalls = g_announced = 0;
  for (const TimeZoneSetters* setters : kPlatforms) {
    ok(!ApplyZoneWith(FindZoneByDisplayName("(UTC-03:30) Seam zone"), *setters, kTimeZonePrivilege),
       "a rule of 10 bytes applied");
  }
  ok(g_plainCalls + g_dynamicCalls + g_announced == 0, "setters called %d times, announced %d",
     g_plainCalls + g_dynamicCalls, g_announced);
  RemoveZones(key);

  for (size_t length : {127u, 128u, 511u}) {
    wintest::Context context("key name of %u characters", unsigned(length));
    memset(record.keyName, 0, sizeof record.keyName);
    memset(record.keyName, 'k', length);
    if (length < 128) {
      ok(apply(record, kBoth), "accepted zone reported as failure");
      continue;
    }
    g_plainCalls = g_dynamicCalls = g_announced = 0;
    ok(!ApplyZoneWith(record, kBoth, kTimeZonePrivilege), "applied with a key name cut short");
    ok(g_plainCalls + g_dynamicCalls + g_announced == 0,
       "setters called %d and %d times, announced %d", g_plainCalls, g_dynamicCalls, g_announced);
  }

  // The plain call always, and the dynamic one, which kernel32 exports on every system since
  // Windows Vista. Wine 8 has none, so there quorvel sets zones with the plain call.
  const TimeZoneSetters platform = PlatformTimeZoneSetters();
  ok(platform.plain == SetTimeZoneInformation, "the plain setter is another function");
  ok(platform.announce == AnnounceZoneChange, "the change is not broadcast");
  todo_wine ok(platform.dynamic != nullptr, "kernel32 exports no SetDynamicTimeZoneInformation");
}

void VerdictAndPrivilege() {
  wintest::Section("verdict and privilege");
  unsigned char rule[kZoneRuleSize] = {};
  ZoneRecord record = MakeRecord("A Standard Time", "A Daylight Time", rule);
  for (const TimeZoneSetters* setters : kPlatforms) {
    for (BOOL verdict : {TRUE, FALSE}) {
      g_verdict = verdict;
      bool result = apply(record, *setters);
      ok(result == (verdict != FALSE), "result %d for verdict %d", result, verdict);
    }
  }
  // The privilege is on only during the call. Where the platform does not know the time-zone
  // privilege (Wine), the same handling is watched with a privilege that it does know.
  int checked = 0;
  for (const char* name : {kTimeZonePrivilege, "SeSystemtimePrivilege"}) {
    if (PrivilegeEnabled(name) == -1) {
      skip("%s is not held here (Wine has none), so it is not watched", name);
      continue;
    }
    ++checked;
    g_watched = name;
    for (const TimeZoneSetters* setters : kPlatforms) {
      for (BOOL verdict : {TRUE, FALSE}) {
        g_verdict = verdict;
        g_privilegeDuringCall = -1;
        apply(record, *setters, name);
        ok(g_privilegeDuringCall == 1, "%s not on during the call (%d)", name,
           g_privilegeDuringCall);
        ok(PrivilegeEnabled(name) == 0, "%s still on after the call", name);
      }
    }
  }
  ok(checked > 0, "no privilege could be watched");
  g_watched = kTimeZonePrivilege;
  g_verdict = TRUE;

  // The token handle is closed again: repeated calls leave the handle count unchanged.
  DWORD handlesBefore = 0, handlesAfter = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
  for (int i = 0; i < 20; ++i) ApplyZoneWith(record, kBoth, kTimeZonePrivilege);
  GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
  ok(handlesAfter <= handlesBefore + 2, "handles grew from %lu to %lu", handlesBefore, handlesAfter);
}

}  // namespace

int main() {
  TranslatesEveryField();
  PassesMonthZeroDatesUnchanged();
  CarriesTheZonesKeyName();
  VerdictAndPrivilege();
  return wintest::Summary();
}
