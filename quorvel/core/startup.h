// What quorvel does when it starts: the "/x" switch and the choice between the dialog and the
// silent start that applies the saved zone.
#ifndef QUORVEL_STARTUP_H
#define QUORVEL_STARTUP_H

// True when the argument text (the command line after the program name) is exactly "/x",
// ASCII letter case ignored. Anything else, including trailing blanks, is not the switch.
bool IsForceSwitch(const char* arguments);

enum class StartupAction { kShowDialog, kSilentStart };

// The start-up decision, in order: no saved zone -> dialog; the switch -> dialog; otherwise the
// start-up flag decides (non-zero -> dialog). readStartupFlag is called only in that last case.
StartupAction DecideStartup(bool savedZoneFound, bool forceSwitch, int (*readStartupFlag)());

#endif
