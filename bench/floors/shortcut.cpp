// Platform floor of a shortcut: the shell calls that writing one takes, nothing else.
//   bench_floor_shortcut TARGET LINKFILE
// Built a second time with FLOOR_DESKTOP (bench_floor_shortcut_desktop): LINKFILE is then a name
// below the user's desktop folder, whose path the shell gives.
#include <windows.h>
#include <shlobj.h>
#include <stdlib.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  CoInitialize(nullptr);
  const char* linkFile = __argv[2];
#ifdef FLOOR_DESKTOP
  char path[MAX_PATH] = "";
  LPITEMIDLIST folder = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &folder))) {
    SHGetPathFromIDListA(folder, path);
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
      allocator->Free(folder);
      allocator->Release();
    }
  }
  size_t used = strlen(path);
  if (used + 1 + strlen(linkFile) >= sizeof path) return 2;
  path[used] = '\\';
  strcpy(path + used + 1, linkFile);
  linkFile = path;
#endif
  IShellLinkA* link = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link));
  if (SUCCEEDED(hr)) {
    IPersistFile* file = nullptr;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(hr)) {
      link->SetPath(__argv[1]);
      WCHAR wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, linkFile, -1, wide, MAX_PATH);
      hr = file->Save(wide, TRUE);
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return FAILED(hr) ? 1 : 0;
}
