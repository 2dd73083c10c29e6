// The two ways in which the option framework and the settings leave their reports: a message box
// and the end of the process. The program's versions (win32/report.cpp) are MessageBoxA without an
// owner window and ExitProcess; the native tests supply their own.
#ifndef PATHMINT_REPORT_H
#define PATHMINT_REPORT_H

enum class ReportIcon { Error, Information };

// Shows text in a modal box with an OK button, captioned caption. Returns when it is closed.
void ShowReportBox(const char* text, const char* caption, ReportIcon icon);

// Ends the process at once with exitCode (-1 becomes the 32-bit exit status 0xFFFFFFFF).
[[noreturn]] void EndProcessNow(int exitCode);

#endif
