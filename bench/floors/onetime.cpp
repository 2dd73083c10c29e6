// Platform floor of a self-removing shortcut: a shortcut to this program itself with an "-exec"
// line naming the real target and the shortcut file.
//   bench_floor_onetime TARGET LINKFILE
#include <windows.h>
#include <shlobj.h>
#include <stdio.h>
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
      link->SetPath(__argv[0]);
      char line[MAX_PATH];
      snprintf(line, sizeof line, "-exec /T:\"%s\" /L:\"%s\"", __argv[1], __argv[2]);
      link->SetArguments(line);
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
