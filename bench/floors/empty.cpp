// Floor: the empty GUI program. It loads, runs the C runtime's start-up and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
