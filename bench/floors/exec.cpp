// Platform floor of the second half of a self-removing shortcut: launch the target through the
// shell in a single-threaded apartment (after asking whether this is a 32-bit program on 64-bit
// Windows, whose System32 targets go through Sysnative), then delete the shortcut file.
//   bench_floor_exec TARGET LINKFILE
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <stdlib.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  HINSTANCE launched = ShellExecuteA(nullptr, nullptr, __argv[1], nullptr, nullptr, SW_SHOW);
  if (SUCCEEDED(com)) CoUninitialize();
  BOOL deleted = DeleteFileA(__argv[2]);
  return (reinterpret_cast<INT_PTR>(launched) > 32 && deleted) ? 0 : 1;
}
