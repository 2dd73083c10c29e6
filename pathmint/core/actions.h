// The three actions of a run, chosen by LinkSettings::Run. Each returns a status in the COM
// result convention: 0 or more is success, a negative value is failure.
//   win32/shortcut.cpp   CreateShortcut
//   win32/exec.cpp       ExecuteOneTimeLink
//   win32/delete.cpp     ShellDeleteFile
#ifndef PATHMINT_ACTIONS_H
#define PATHMINT_ACTIONS_H

#include <cstdint>

// The program's own failure status (E_FAIL).
constexpr int32_t kStatusFailed = static_cast<int32_t>(0x80004005u);
// Special-folder identifier meaning "no special folder": the name is used as it stands.
constexpr int32_t kNoSpecialFolder = 0xFFFF;

// Writes a shortcut (or, with isFolder, creates a directory) at linkFile, below specialFolder
// unless that is kNoSpecialFolder. With oneTime the shortcut starts this program with an "-exec"
// line that runs target and then removes the shortcut.
int32_t CreateShortcut(const char* target, const char* arguments, const char* linkFile,
                       const char* iconPath, int32_t iconIndex, int32_t isFolder,
                       int32_t specialFolder, int32_t oneTime);

// Launches target with arguments in currentDir, then deletes the shortcut linkFile for good. A
// 32-bit program on 64-bit Windows launches a target below System32 as the 64-bit shell would.
int32_t ExecuteOneTimeLink(const char* target, const char* arguments, const char* linkFile,
                           const char* currentDir);

// Deletes target (below specialFolder unless kNoSpecialFolder) through the shell, silently and
// into the Recycle Bin where the shell can.
int32_t ShellDeleteFile(int32_t specialFolder, const char* target);

#endif
