// The start-up sequence: environment, command line, current directory, argument file, checks.
#include <windows.h>

#include <cstring>

#include "exact_path.h"
#include "exact_text.h"
#include "folder_path.h"
#include "link_settings.h"

namespace {

const char kDirectoryTooLong[] =
    "The current directory is too long for Pathmint.\n"
    "Start it from a directory with a shorter path.";

// Reports of texts the code page cannot hold; the process ends right after.
TextStream g_inexact = {nullptr, 0, 0, false};

}  // namespace

void LinkSettings::CheckCommandLine() {
  // The runtime splits the narrow line (under Windows) into the arguments: where it differs from
  // the caller's Unicode line, an argument or even the split itself is a look-alike's. The
  // program's own name is no argument, and may be in a folder the code page cannot hold.
  uint32_t codePoint = 0;
  const size_t position = FirstInexactAnsi(CommandLineArguments(GetCommandLineW()),
                                           CommandLineArguments(GetCommandLineA()), &codePoint);
  if (position != 0) {
    UsageError(InexactCommandLineText(&g_inexact, GetACP(), codePoint, position), -1);
  }
}

void LinkSettings::CaptureCurrentDirectory() {
  // The directory is where a one-time link later starts its target, so a shortened or missing
  // one is refused rather than used.
  char dir[kCurrentDirSize];
  const DWORD length = GetCurrentDirectoryA(sizeof dir, dir);
  if (length == 0) {
    ErrorExit("Pathmint cannot determine the current directory.", -1);
  }
  if (length >= sizeof dir) {
    ErrorExit(kDirectoryTooLong, -1);
  }
  // Relative names are resolved against the narrow directory: one that stands for another folder
  // is replaced by its short name, under which the run works where the user is, or refused.
  WCHAR wide[kCurrentDirSize * 2];
  char exact[kCurrentDirSize];
  const DWORD wideLength = GetCurrentDirectoryW(sizeof wide / sizeof *wide, wide);
  if (wideLength == 0 || wideLength >= sizeof wide / sizeof *wide ||
      !ExactAnsiPath(dir, wide, exact, sizeof exact) ||
      (std::strcmp(exact, dir) != 0 && !SetCurrentDirectoryA(exact))) {
    ErrorExit(InexactDirectoryText(&g_inexact, GetACP()), -1);
  }
  if (!StoreCurrentDirectory(exact, IsAnsiLeadByte)) {
    ErrorExit(kDirectoryTooLong, -1);
  }
}

int LinkSettings::Load(int argc, const char* const* argv, const char* const* environment) {
  CheckCommandLine();
  ApplyEnvironment(environment);
  // The first element is the program itself and is never parsed.
  if (argv && argc > 1) {
    SetArguments(argv + 1, argc - 1);
  } else {
    SetArguments(nullptr, 0);
  }
  Parse();
  CaptureCurrentDirectory();
  m_bDebugOutput = m_bDebugFlag.m_bValue;
  ReadArgumentFile(m_szCmdFile.m_szValue);
  return Validate();
}
