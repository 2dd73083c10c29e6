#include "quorvel.h"

// Not built yet: the catalogue reads as unavailable, so no zone is ever listed or found.
ZoneRecord FindZoneByDisplayName(const char*) {
  ZoneRecord empty = {};
  return empty;
}

int FillZoneList(HWND) { return 0; }

ZoneRecord ReadSelectedZone(HWND) {
  ZoneRecord empty = {};
  return empty;
}
