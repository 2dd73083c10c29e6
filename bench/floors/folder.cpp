// Platform floor of a folder: one CreateDirectoryA. Built a second time with FLOOR_FOLDER_COM,
// which opens and closes a COM apartment around it as the shortcut creator's actions do.
//   bench_floor_folder DIR
#include <windows.h>
#include <stdlib.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
#ifdef FLOOR_FOLDER_COM
  CoInitialize(nullptr);
#endif
  BOOL made = CreateDirectoryA(__argv[1], nullptr);
#ifdef FLOOR_FOLDER_COM
  CoUninitialize();
#endif
  return made ? 0 : 1;
}
