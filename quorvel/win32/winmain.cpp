#include "quorvel.h"
#include "startup.h"
#include "winutils.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  RestrictDllSearchToSystem();
  TurnOnLoadMitigations();
  bool forced = IsForceSwitch(arguments);
  // The saved zone is looked up on every start, with or without the switch.
  ZoneRecord saved = LoadSavedZone("TZ0");
  if (DecideStartup(!IsEmptyZone(saved), forced, ReadStartupFlag) == StartupAction::kSilentStart) {
    if (!ApplyZone(saved)) ShowResourceMessage(IDS_ACCESS_DENIED_SET);
    return 0;
  }
  // Where nobody can see the window station, nobody can answer the dialog: the start ends
  // without one and writes nothing.
  if (IsWindowStationVisible()) {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ZONE_DIALOG), nullptr, ZoneDialogProc, 0);
  }
  return 0;
}
