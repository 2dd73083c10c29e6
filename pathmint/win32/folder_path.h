// The names the actions hand the platform: below one of the shell's special folders, or resolved
// against the working directory where the platform needs a fully qualified name.
#ifndef PATHMINT_FOLDER_PATH_H
#define PATHMINT_FOLDER_PATH_H

#include <cstddef>
#include <cstdint>

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
// elsewhere. Returns false, out left empty, when it cannot be composed or does not fit.
bool LinkFilePath(int32_t specialFolder, const char* linkFile, char* out, size_t capacity);

// The name the shell's delete is given for target. The shell wants fully qualified names: given a
// relative one it may delete for good instead of into the Recycle Bin. Returns false, out left
// empty, when it cannot be composed or does not fit.
bool DeletePath(int32_t specialFolder, const char* target, char* out, size_t capacity);

#endif
