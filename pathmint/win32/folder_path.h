// The names the actions hand the platform: below one of the shell's special folders, or resolved
// against the working directory where the platform needs a fully qualified name.
#ifndef PATHMINT_FOLDER_PATH_H
#define PATHMINT_FOLDER_PATH_H

#include <cstddef>
#include <cstdint>

// The lead-byte test of the ANSI code page, the one the runtime splits the command line with: the
// narrow names of a run are walked by characters with it.
bool IsAnsiLeadByte(unsigned char first);

// Writes into out (capacity bytes) the name unchanged when specialFolder is kNoSpecialFolder,
// otherwise the special folder's path, one backslash and the name. Returns false, out left empty,
// when the folder cannot be resolved, the name is null or the path does not fit.
bool ResolveFolderPath(int32_t specialFolder, const char* name, char* out, size_t capacity);

// Writes into out (capacity bytes) name resolved against the working directory of this run, as
// the platform resolves it. Returns false, out left empty, when it cannot be resolved or the full
// name does not fit: a shortened name would be another file.
bool FullPathName(const char* name, char* out, size_t capacity);

// The file a shortcut is saved as: the composed path with its extension. A special folder's path
// is already full and is kept as it is; a name of the user's is resolved against the working
// directory, because the shortcut is saved, and a one-time shortcut later started, from
// elsewhere. A name that ends in a separator names a folder, not a shortcut. Returns false, out
// left empty, when it cannot be composed or does not fit.
bool LinkFilePath(int32_t specialFolder, const char* linkFile, char* out, size_t capacity);

// The name a folder is created by, and the shell's delete given, for name: below the special
// folder, or resolved in full like a shortcut's (the shell wants fully qualified names: given a
// relative one its delete may delete for good instead of into the Recycle Bin). Returns false,
// out left empty, when it cannot be composed or does not fit.
bool ItemPath(int32_t specialFolder, const char* name, char* out, size_t capacity);

#endif
