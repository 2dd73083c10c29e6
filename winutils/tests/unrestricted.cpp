// The DLL search test's control: a program that loads version.dll by its name without restricting
// the search first, as any program does that does not call RestrictDllSearchToSystem. Run beside
// the markers, it must load the one planted there. Exit code 0 when the load succeeded.
#include <windows.h>

int main() {
  return LoadLibraryA("version.dll") ? 0 : 1;
}
