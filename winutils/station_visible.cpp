#include <windows.h>

#include "winutils.h"

bool IsWindowStationVisible() {
  if (IsInServiceSession()) return false;
  USEROBJECTFLAGS flags;
  ZeroMemory(&flags, sizeof flags);
  const HWINSTA station = GetProcessWindowStation();
  if (!station || !GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, nullptr)) {
    return true;
  }
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}
