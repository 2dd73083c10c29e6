// What both programs do before anything else, one function per file, linked by both:
//   dll_search.cpp         RestrictDllSearchToSystem
//   station_visible.cpp    IsWindowStationVisible
//   service_session.cpp    IsInServiceSession
//   set_mitigation.cpp     SetMitigationPolicy
//   load_mitigations.cpp   TurnOnLoadMitigations
//   redirection_guard.cpp  TurnOnRedirectionGuard
//   stack_guard.cpp        __stack_chk_guard and __stack_chk_fail, what -fstack-protector uses
//   stack_guard_seed.cpp   SeedStackGuard
//   stack_guard_entry.cpp  StackGuardedStartup, the programs' entry point (PROGRAM_LINK_FLAGS)
//   kernel32_function.cpp  Kernel32Function (and Kernel32Call, its typed form)
#ifndef WINUTILS_H
#define WINUTILS_H

#include <windows.h>

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

// Sets the process mitigation policy (a PROCESS_MITIGATION_POLICY value) to flags, the DWORD of
// its PROCESS_MITIGATION_*_POLICY record. False where the platform lacks the call or refuses it
// (a Windows older than the policy). A policy once set holds for the whole process.
bool SetMitigationPolicy(int policy, unsigned long flags);

// Right after RestrictDllSearchToSystem: DLLs only from local files of at least medium integrity,
// System32's copy before any other (Windows 10 1607 and later), and no legacy injected DLLs
// (AppInit DLLs, window hooks' DLLs; Windows 8 and later). Where a policy is refused the program
// runs on without it.
void TurnOnLoadMitigations();

// Redirection Guard (Windows 10 22H2, Windows 11), enforced: from now on a file name that passes
// through a junction or symbolic link made by a non-administrator fails with
// ERROR_UNTRUSTED_MOUNT_POINT (448). Inherited by every process started afterwards.
void TurnOnRedirectionGuard();

// A kernel32 function, found by its name at run time: one that an older Windows lacks, or one the
// programs do not import (the stack guard's). Null where it is missing.
FARPROC Kernel32Function(const char* name);
template <typename Function>
Function Kernel32Call(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(Kernel32Function(name)));
}

// Sets the stack cookie (__stack_chk_guard) from this run's time, ids, counters and stack address.
// Only where no protected function is on the stack: from the entry point.
void SeedStackGuard();

#endif
