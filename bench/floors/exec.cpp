// Platform floor of the second half of a self-removing shortcut: launch the target through the
// shell, then delete the shortcut file.
//   bench_floor_exec TARGET LINKFILE
#include <windows.h>
#include <shellapi.h>
#include <stdlib.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  HINSTANCE launched = ShellExecuteA(nullptr, nullptr, __argv[1], nullptr, nullptr, SW_SHOW);
  BOOL deleted = DeleteFileA(__argv[2]);
  return (reinterpret_cast<INT_PTR>(launched) > 32 && deleted) ? 0 : 1;
}
