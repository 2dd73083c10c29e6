#include "apply_zone.h"

#include <cstring>

#include "winutils.h"
#include "zone_rule.h"
#include "zone_text.h"

const char kTimeZonePrivilege[] = "SeTimeZonePrivilege";

namespace {

// How long the broadcast waits for each window; a hung one is skipped at once.
const UINT kAnnounceTimeoutMs = 2000;

void CopyDate(const ZoneDate& from, SYSTEMTIME* to) {
  to->wYear = from.year;
  to->wMonth = from.month;
  to->wDayOfWeek = from.dayOfWeek;
  to->wDay = from.day;
  to->wHour = from.hour;
  to->wMinute = from.minute;
  to->wSecond = from.second;
  to->wMilliseconds = from.milliseconds;
}

// The whole text (up to its terminator, never past the field) is converted into a buffer wide
// enough for it; the name field receives the first 32 units.
void ConvertName(const char (&text)[kZoneNameSize], WCHAR (&field)[kZoneNameUnits]) {
  WCHAR wide[kZoneNameSize + 1];
  std::memset(wide, 0, sizeof wide);
  int length = static_cast<int>(strnlen(text, kZoneNameSize));
  if (length > 0) {
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, length, wide, static_cast<int>(kZoneNameSize));
  }
  FitZoneName(wide, field);
}

}  // namespace

void BuildTimeZoneInformation(const ZoneRecord& record, TIME_ZONE_INFORMATION* info) {
  std::memset(info, 0, sizeof *info);
  ZoneRule rule = DecodeZoneRule(record.rule);
  info->Bias = rule.bias;
  info->StandardBias = rule.standardBias;
  info->DaylightBias = rule.daylightBias;
  CopyDate(rule.standardDate, &info->StandardDate);
  CopyDate(rule.daylightDate, &info->DaylightDate);
  ConvertName(record.daylightName, info->DaylightName);
  ConvertName(record.standardName, info->StandardName);
}

bool BuildDynamicTimeZoneInformation(const ZoneRecord& record, DYNAMIC_TIME_ZONE_INFORMATION* info) {
  std::memset(info, 0, sizeof *info);
  TIME_ZONE_INFORMATION plain;
  BuildTimeZoneInformation(record, &plain);
  info->Bias = plain.Bias;
  std::memcpy(info->StandardName, plain.StandardName, sizeof info->StandardName);
  info->StandardDate = plain.StandardDate;
  info->StandardBias = plain.StandardBias;
  std::memcpy(info->DaylightName, plain.DaylightName, sizeof info->DaylightName);
  info->DaylightDate = plain.DaylightDate;
  info->DaylightBias = plain.DaylightBias;
  info->DynamicDaylightTimeDisabled = FALSE;
  // The whole key name and its terminator must fit: a cut name would name another zone, or none.
  const size_t length = strnlen(record.keyName, kZoneNameSize);
  if (length >= kZoneNameSize) return false;
  const int units = static_cast<int>(sizeof info->TimeZoneKeyName / sizeof info->TimeZoneKeyName[0]);
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, record.keyName, static_cast<int>(length) + 1,
                          info->TimeZoneKeyName, units) == 0) {
    std::memset(info->TimeZoneKeyName, 0, sizeof info->TimeZoneKeyName);
    return false;
  }
  return true;
}

bool ApplyZoneWith(const ZoneRecord& record, const TimeZoneSetters& setters,
                   const char* privilegeName) {
  // A damaged or half-written rule would set another zone (zeros: UTC without daylight time)
  // under this zone's name.
  if (!record.ruleRead) return false;
  TIME_ZONE_INFORMATION info;
  DYNAMIC_TIME_ZONE_INFORMATION dynamicInfo;
  if (setters.dynamic) {
    if (!BuildDynamicTimeZoneInformation(record, &dynamicInfo)) return false;
  } else {
    BuildTimeZoneInformation(record, &info);
  }

  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    token = nullptr;
  }
  TOKEN_PRIVILEGES privilege;
  std::memset(&privilege, 0, sizeof privilege);
  privilege.PrivilegeCount = 1;
  bool known = LookupPrivilegeValueA(nullptr, privilegeName, &privilege.Privileges[0].Luid);
  // Without the privilege the setter is still called and alone decides the outcome.
  if (token && known) {
    privilege.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token, FALSE, &privilege, 0, nullptr, nullptr);
  }
  const bool accepted =
      (setters.dynamic ? setters.dynamic(&dynamicInfo) : setters.plain(&info)) != FALSE;
  if (token && known) {
    privilege.Privileges[0].Attributes = 0;
    AdjustTokenPrivileges(token, FALSE, &privilege, 0, nullptr, nullptr);
  }
  if (token) CloseHandle(token);
  if (accepted && setters.announce) setters.announce();
  return accepted;
}

void AnnounceZoneChange() {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_ABORTIFHUNG, kAnnounceTimeoutMs,
                      &result);
}

TimeZoneSetters PlatformTimeZoneSetters() {
  // Looked up at run time, so that the program still starts where the platform lacks the dynamic
  // call; converted through the one function type that may stand for any other.
  TimeZoneSetters setters = {SetTimeZoneInformation, nullptr, AnnounceZoneChange};
  setters.dynamic = Kernel32Call<DynamicTimeZoneSetter>("SetDynamicTimeZoneInformation");
  return setters;
}

bool ApplyZone(ZoneRecord record) {
  return ApplyZoneWith(record, PlatformTimeZoneSetters(), kTimeZonePrivilege);
}
