// quorvel's Windows side, one file per concern:
//   winmain.cpp      WinMain: the start-up decision
//   dialog.cpp       ZoneDialogProc
//   catalogue.cpp    FindZoneByDisplayName, FillZoneList, ReadSelectedZone
//   apply_zone.cpp   ApplyZone
//   program_key.cpp  ReadStartupFlag, SaveStartupFlag, LoadSavedZone, SaveSelectedZone
//   strings.cpp      FindStringModule, LoadResourceString, ShowResourceMessage, ApplyDialogTexts
#ifndef QUORVEL_H
#define QUORVEL_H

#include <windows.h>

#include "resource.h"
#include "zone_record.h"

// dialog.cpp
INT_PTR CALLBACK ZoneDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// catalogue.cpp
ZoneRecord FindZoneByDisplayName(const char* name);
int FillZoneList(HWND dialog);
ZoneRecord ReadSelectedZone(HWND dialog);

// apply_zone.cpp
bool ApplyZone(ZoneRecord record);

// program_key.cpp
int ReadStartupFlag();
void SaveStartupFlag(HWND dialog);
ZoneRecord LoadSavedZone(const char* valueName);
void SaveSelectedZone(HWND dialog, const char* valueName);

// strings.cpp
// Shows the message id in a warning box; nothing where nobody can see the window station.
void ShowResourceMessage(UINT id);
void ApplyDialogTexts(HWND dialog);

#endif
