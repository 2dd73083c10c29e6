#include <windows.h>

#include "winutils.h"

bool RestrictDllSearchToSystem() {
  // Looked up at run time: systems before the call was added lack it, and the program must still
  // start there.
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const FARPROC found = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
  if (found &&
      reinterpret_cast<SetDirectories>(reinterpret_cast<void (*)()>(found))(
          LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return true;
  }
  SetDllDirectoryA("");
  return false;
}
