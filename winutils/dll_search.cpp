#include <windows.h>

#include "winutils.h"

bool RestrictDllSearchToSystem() {
  // Looked up at run time: systems before the call was added lack it, and the program must still
  // start there.
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  const auto set = Kernel32Call<SetDirectories>("SetDefaultDllDirectories");
  if (set && set(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  SetDllDirectoryA("");
  return false;
}
