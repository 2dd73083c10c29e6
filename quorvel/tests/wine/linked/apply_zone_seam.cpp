// ApplyZone's translation of a record into TIME_ZONE_INFORMATION and its privilege handling,
// checked through a setter that captures the structure instead of changing the machine's zone.
#include <string.h>

#include <string>

#include "apply_zone.h"
#include "wintest.h"

// This program does not include the localised strings; nothing here shows a message.
void ShowResourceMessage(UINT) { ok(false, "no message expected"); }

namespace {

TIME_ZONE_INFORMATION g_captured;
int g_calls = 0;
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

BOOL WINAPI CaptureSetter(const TIME_ZONE_INFORMATION* info) {
  ++g_calls;
  g_captured = *info;
  g_privilegeDuringCall = PrivilegeEnabled(g_watched);
  return g_verdict;
}

const TimeZoneSetters kPlainOnly = {CaptureSetter, nullptr};

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
  strcpy(r.standardName, standard.c_str());
  strcpy(r.daylightName, daylight.c_str());
  memcpy(r.rule, rule, kZoneRuleSize);
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
  for (const auto& pair : lengths) {
    std::string standard = Letters(pair[0], 'A');
    std::string daylight = Letters(pair[1], 'a');
    ZoneRecord record = MakeRecord(standard, daylight, rule);
    g_calls = 0;
    g_verdict = TRUE;
    memset(&g_captured, 0x5A, sizeof g_captured);
    ok(ApplyZoneWith(record, kPlainOnly, kTimeZonePrivilege), "accepted zone reported as failure");
    ok(g_calls == 1, "setter called %d times", g_calls);
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
  ApplyZoneWith(accented, kPlainOnly, kTimeZonePrivilege);
  if (GetACP() == 1252) {
    ok(g_captured.StandardName[15] == 0x00E9 && g_captured.StandardName[17] == 0x00E0,
       "accented standard name not converted from the ANSI code page");
    ok(g_captured.DaylightName[6] == 0x00FC && g_captured.DaylightName[7] == 0,
       "accented daylight name not converted");
  }
}

void PassesMonthZeroDatesUnchanged() {
  wintest::Section("zone without daylight saving");
  unsigned char rule[kZoneRuleSize] = {0x10, 0xFE, 0xFF, 0xFF};  // Bias -496, no change-over
  ZoneRecord record = MakeRecord("Fixed Standard Time", "Fixed Daylight Time", rule);
  memset(&g_captured, 0x5A, sizeof g_captured);
  ok(ApplyZoneWith(record, kPlainOnly, kTimeZonePrivilege), "accepted zone reported as failure");
  ok(g_captured.Bias == -496, "Bias %ld", g_captured.Bias);
  ok(g_captured.StandardBias == 0 && g_captured.DaylightBias == 0, "biases not zero");
  CheckDate(g_captured.StandardDate, {0, 0, 0, 0, 0, 0, 0, 0}, "standard");
  CheckDate(g_captured.DaylightDate, {0, 0, 0, 0, 0, 0, 0, 0}, "daylight");
}

void VerdictAndPrivilege() {
  wintest::Section("verdict and privilege");
  unsigned char rule[kZoneRuleSize] = {};
  ZoneRecord record = MakeRecord("A Standard Time", "A Daylight Time", rule);
  for (BOOL verdict : {TRUE, FALSE}) {
    g_verdict = verdict;
    g_calls = 0;
    bool result = ApplyZoneWith(record, kPlainOnly, kTimeZonePrivilege);
    ok(result == (verdict != FALSE), "result %d for verdict %d", result, verdict);
    ok(g_calls == 1, "setter called %d times", g_calls);
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
    for (BOOL verdict : {TRUE, FALSE}) {
      g_verdict = verdict;
      g_privilegeDuringCall = -1;
      ApplyZoneWith(record, kPlainOnly, name);
      ok(g_privilegeDuringCall == 1, "%s not on during the call (%d)", name,
         g_privilegeDuringCall);
      ok(PrivilegeEnabled(name) == 0, "%s still on after the call", name);
    }
  }
  ok(checked > 0, "no privilege could be watched");
  g_watched = kTimeZonePrivilege;
  g_verdict = TRUE;

  // The token handle is closed again: repeated calls leave the handle count unchanged.
  DWORD handlesBefore = 0, handlesAfter = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
  for (int i = 0; i < 20; ++i) ApplyZoneWith(record, kPlainOnly, kTimeZonePrivilege);
  GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
  ok(handlesAfter <= handlesBefore + 2, "handles grew from %lu to %lu", handlesBefore, handlesAfter);
}

}  // namespace

int main() {
  TranslatesEveryField();
  PassesMonthZeroDatesUnchanged();
  VerdictAndPrivilege();
  return wintest::Summary();
}
