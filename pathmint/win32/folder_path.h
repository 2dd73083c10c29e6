// Full path of a name: below one of the shell's special folders, or resolved against the working
// directory where the platform needs a fully qualified name.
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

#endif
