// Reports of the option framework and the settings: message boxes without an owner window,
// and the immediate end of the process.
#include <windows.h>

#include "report.h"

void ShowReportBox(const char* text, const char* caption, ReportIcon icon) {
  UINT style = MB_OK | (icon == ReportIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION);
  MessageBoxA(nullptr, text, caption, style);
}

void EndProcessNow(int exitCode) {
  ExitProcess(static_cast<UINT>(exitCode));
}
