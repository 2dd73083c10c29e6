// What both programs do before anything else, one function per file, linked by both:
//   dll_search.cpp       RestrictDllSearchToSystem
//   station_visible.cpp  IsWindowStationVisible
//   service_session.cpp  IsInServiceSession
#ifndef WINUTILS_H
#define WINUTILS_H

// Makes every DLL loaded from now on, and each DLL those pull in, come from the system directory
// only: never from the program's folder or the working directory, which anyone may have written
// to. Call it first, before any DLL but kernel32 and the C runtime is touched. Returns false where
// the platform lacks the call for it; the working directory is then at least taken out of the
// search.
bool RestrictDllSearchToSystem();

// False when the process runs in a window station that nobody can see (a service, a scheduled
// task without a logged-on user, a deployment agent), or in session 0 (IsInServiceSession),
// whatever its window station says: a window shown there is never answered. True when it is
// visible, and when the platform cannot tell.
bool IsWindowStationVisible();

// True when the process runs in session 0 of Windows Vista or later, the services' session, which
// no user ever sees. False elsewhere, and when the platform cannot tell.
bool IsInServiceSession();

#endif
