#include "quorvel.h"

// Not built yet: nothing is remembered; the dialog is shown and no zone counts as saved.
int ReadStartupFlag() { return 1; }

void SaveStartupFlag(HWND) {}

ZoneRecord LoadSavedZone(const char*) {
  ZoneRecord empty = {};
  return empty;
}

void SaveSelectedZone(HWND, const char*) {}
