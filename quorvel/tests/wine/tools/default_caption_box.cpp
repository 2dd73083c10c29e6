// Shows a message box without a caption of its own, as quorvel's warnings are shown, so that a
// test can read the title that the platform gives such a box.
#include <windows.h>

int main() {
  MessageBoxA(nullptr, "default caption probe", nullptr, MB_OK);
  return 0;
}
