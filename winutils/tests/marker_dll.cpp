// A DLL that must never be loaded: the Wine test plants it under the names of DLLs the programs
// pull in. Loaded, it appends its own full name and a line end to the file named by
// DLL_MARKER_RECORD.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  char record[MAX_PATH], line[MAX_PATH + 1];
  const DWORD named = GetEnvironmentVariableA("DLL_MARKER_RECORD", record, sizeof record);
  if (reason != DLL_PROCESS_ATTACH || named == 0 || named >= sizeof record) return TRUE;
  DWORD length = GetModuleFileNameA(self, line, MAX_PATH);
  line[length++] = '\n';
  const HANDLE file = CreateFileA(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    WriteFile(file, line, length, &length, nullptr);
    CloseHandle(file);
  }
  return TRUE;
}
