#include "startup.h"

bool IsForceSwitch(const char* arguments) {
  return arguments != nullptr && arguments[0] == '/' &&
         (arguments[1] == 'x' || arguments[1] == 'X') && arguments[2] == '\0';
}

StartupAction DecideStartup(bool savedZoneFound, bool forceSwitch, int (*readStartupFlag)()) {
  if (!savedZoneFound) return StartupAction::kShowDialog;
  if (forceSwitch) return StartupAction::kShowDialog;
  if (readStartupFlag() != 0) return StartupAction::kShowDialog;
  return StartupAction::kSilentStart;
}
