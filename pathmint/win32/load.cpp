// The start-up sequence: environment, command line, current directory, argument file, checks.
#include <windows.h>

#include "folder_path.h"
#include "link_settings.h"

int LinkSettings::Load(int argc, const char* const* argv, const char* const* environment) {
  ApplyEnvironment(environment);
  // The first element is the program itself and is never parsed.
  if (argv && argc > 1) {
    SetArguments(argv + 1, argc - 1);
  } else {
    SetArguments(nullptr, 0);
  }
  Parse();

  // The directory is where a one-time link later starts its target, so a shortened or missing
  // one is refused rather than used.
  char dir[kCurrentDirSize];
  DWORD length = GetCurrentDirectoryA(sizeof dir, dir);
  if (length == 0) {
    ErrorExit("Pathmint cannot determine the current directory.", -1);
  }
  if (length >= sizeof dir || !StoreCurrentDirectory(dir, IsAnsiLeadByte)) {
    ErrorExit("The current directory is too long for Pathmint.\n"
              "Start it from a directory with a shorter path.", -1);
  }

  m_bDebugOutput = m_bDebugFlag.m_bValue;
  ReadArgumentFile(m_szCmdFile.m_szValue);
  return Validate();
}
