// A target for the tests: records that it ran, where, and with which arguments, then ends.
// It writes to the file named by the environment variable PATHMINT_MARKER (or marker.txt in its
// current directory): the current directory, then every argument after the program name, each
// text followed by a zero byte, so that quotes, blanks and backslashes are recorded exactly.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  char where[MAX_PATH * 2];
  DWORD length = GetEnvironmentVariableA("PATHMINT_MARKER", where, sizeof where);
  if (length == 0 || length >= sizeof where) lstrcpyA(where, "marker.txt");

  char cwd[MAX_PATH * 2];
  length = GetCurrentDirectoryA(sizeof cwd, cwd);
  if (length == 0 || length >= sizeof cwd) cwd[0] = '\0';

  // Written to a side file first, then moved into place: a reader never sees half a record.
  char partial[MAX_PATH * 2 + 8];
  wsprintfA(partial, "%s.part", where);
  FILE* f = fopen(partial, "wb");
  if (!f) return 2;
  fwrite(cwd, 1, lstrlenA(cwd) + 1, f);
  for (int i = 1; i < argc; ++i) fwrite(argv[i], 1, lstrlenA(argv[i]) + 1, f);
  if (fclose(f) != 0) return 2;
  return MoveFileExA(partial, where, MOVEFILE_REPLACE_EXISTING) ? 0 : 2;
}
