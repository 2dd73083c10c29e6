// A file that replaces another is written beside it under a name of its own and takes the final
// name in one step, so that the name holds either the old file, untouched, or the new one, whole.
#ifndef PATHMINT_REPLACE_FILE_H
#define PATHMINT_REPLACE_FILE_H

// True when path may be written: nothing is there, or a file that is not read-only and that no
// other process holds without sharing its deletion. The check comes first because a process with
// the right to back up files (Wine's, run as root) writes over a read-only file that Windows
// keeps.
bool MayReplace(const char* path);

// Creates an empty file of a new, unique name in the folder of path (a full name) and writes
// that name into beside (kPathBufferSize bytes). False when the folder takes no new file, or the
// folder's name leaves no room for the new file's.
bool CreateBeside(const char* path, char* beside);

// Gives the file beside the name path in one step: replacing the file there, whose attributes
// and permissions it keeps, or where none is there, as a new name written through to the disk.
// False when the name keeps what it held.
bool SwapIn(const char* beside, const char* path);

#endif
