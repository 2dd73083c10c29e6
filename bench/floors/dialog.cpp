// Floors of the zone dialog: the modal dialog 129 with nothing in it (bench_floor_dialog), and the
// same dialog with every zone of the catalogue read and listed (bench_floor_dialog_zones, built
// with FLOOR_DIALOG_ZONES: the registry walk and the list filling that the zone list needs).
// The dialog ends itself as soon as it is shown, unless the argument text is "stay": then it
// stays up until Cancel (sent by the timing tool once it has seen the dialog ready).
#include <windows.h>
#include <string.h>

namespace {

bool g_stay = false;

#ifdef FLOOR_DIALOG_ZONES
void ListZones(HWND dialog) {
  HKEY zones;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones",
                    0, KEY_READ, &zones) != ERROR_SUCCESS) {
    return;
  }
  char name[512];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name;
    if (RegEnumKeyExA(zones, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY zone;
    if (RegOpenKeyExA(zones, name, 0, KEY_READ, &zone) != ERROR_SUCCESS) break;
    char display[512] = "";
    DWORD size = sizeof display - 1;
    RegQueryValueExA(zone, "Display", nullptr, nullptr, reinterpret_cast<BYTE*>(display), &size);
    SendDlgItemMessageA(dialog, 1000, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(display));
    RegCloseKey(zone);
  }
  RegCloseKey(zones);
}
#endif

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
#ifdef FLOOR_DIALOG_ZONES
      ListZones(dialog);
#endif
      return TRUE;
    case WM_SHOWWINDOW:
      // Shown: end through the message loop, as a click on Cancel would.
      if (wParam && !g_stay) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      (void)lParam;
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR args, int) {
  g_stay = strcmp(args, "stay") == 0;
  DialogBoxParamA(instance, MAKEINTRESOURCEA(129), nullptr, DialogProc, 0);
  return 0;
}
