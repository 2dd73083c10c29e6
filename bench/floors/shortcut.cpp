// Platform floor of a shortcut: the shell calls that writing one takes, nothing else.
//   bench_floor_shortcut TARGET LINKFILE
#include <windows.h>
#include <shlobj.h>
#include <stdlib.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link));
  if (SUCCEEDED(hr)) {
    IPersistFile* file = nullptr;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(hr)) {
      link->SetPath(__argv[1]);
      WCHAR wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, __argv[2], -1, wide, MAX_PATH);
      hr = file->Save(wide, TRUE);
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return FAILED(hr) ? 1 : 0;
}
