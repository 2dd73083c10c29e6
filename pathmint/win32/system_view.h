// The system folder's two views: on 64-bit Windows a 32-bit program is shown the 32-bit system
// folder, SysWOW64, where it names the Windows directory's System32, and reaches the 64-bit one
// through Sysnative, a name that only 32-bit programs see.
#ifndef PATHMINT_SYSTEM_VIEW_H
#define PATHMINT_SYSTEM_VIEW_H

#include <cstddef>

// Writes into out (capacity bytes) the name by which a 32-bit program on 64-bit Windows reaches
// the file that target names for 64-bit programs: for a target below the Windows directory's
// System32 (the same characters of the ANSI code page, letter case ignored), the same file below
// Sysnative, when that is a file. Returns false, out left empty, for any other target, in a 64-bit
// program and on 32-bit Windows, and when the name does not fit: the target is then used as it
// stands.
bool NativeSystemName(const char* target, char* out, size_t capacity);

#endif
