// Platform floor of the zone selector's silent start: read the saved zone name from the program
// key, find that zone in the catalogue, and make it the machine's zone with the privilege on;
// a warning box when the platform refuses. Ends with 0 when the zone was set, 1 otherwise.
#include <windows.h>
#include <string.h>

namespace {

const char kZones[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
const char kProgramKey[] = "SOFTWARE\\Corvant\\Brell Quorvel Utility";

// Reads a text value into a cleared 512-byte field; the field keeps a terminator.
void ReadText(HKEY key, const char* value, char* out) {
  DWORD size = 512;
  memset(out, 0, size);
  RegQueryValueExA(key, value, nullptr, nullptr, reinterpret_cast<BYTE*>(out), &size);
  out[511] = '\0';
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char saved[512] = "";
  HKEY program;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &program) != ERROR_SUCCESS) return 1;
  ReadText(program, "TZ0", saved);
  RegCloseKey(program);

  HKEY zones;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kZones, 0, KEY_READ, &zones) != ERROR_SUCCESS) return 1;
  char name[512], display[512], std[512], dlt[512];
  BYTE tzi[44];
  bool found = false;
  for (DWORD i = 0; !found; ++i) {
    DWORD nameSize = sizeof name;
    if (RegEnumKeyExA(zones, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY zone;
    if (RegOpenKeyExA(zones, name, 0, KEY_READ, &zone) != ERROR_SUCCESS) break;
    ReadText(zone, "Display", display);
    if (strcmp(display, saved) == 0) {
      ReadText(zone, "Std", std);
      ReadText(zone, "Dlt", dlt);
      DWORD size = sizeof tzi;
      found = RegQueryValueExA(zone, "TZI", nullptr, nullptr, tzi, &size) == ERROR_SUCCESS;
    }
    RegCloseKey(zone);
  }
  RegCloseKey(zones);
  if (!found) return 1;

  TIME_ZONE_INFORMATION info;
  memset(&info, 0, sizeof info);
  memcpy(&info.Bias, tzi, 4);
  memcpy(&info.StandardBias, tzi + 4, 4);
  memcpy(&info.DaylightBias, tzi + 8, 4);
  memcpy(&info.StandardDate, tzi + 12, 16);
  memcpy(&info.DaylightDate, tzi + 28, 16);
  MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, dlt, -1, info.DaylightName, 31);
  MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, std, -1, info.StandardName, 31);

  HANDLE token = nullptr;
  TOKEN_PRIVILEGES privileges;
  privileges.PrivilegeCount = 1;
  OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
  LookupPrivilegeValueA(nullptr, "SeTimeZonePrivilege", &privileges.Privileges[0].Luid);
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  BOOL applied = SetTimeZoneInformation(&info);
  privileges.Privileges[0].Attributes = 0;
  AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  if (token) CloseHandle(token);
  // The zone selector warns when the zone cannot be set; so does its floor.
  if (!applied) {
    MessageBoxA(nullptr, "Access Denied, Unable to Set Time Zone Information.", nullptr, MB_OK | MB_ICONWARNING);
    return 1;
  }
  return 0;
}
