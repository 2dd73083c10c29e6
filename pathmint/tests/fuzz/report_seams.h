// What the fuzz targets share: Require, which names the property that failed and aborts, and the
// report seams. A box is recorded, and the end of the process returns to the guarded call through
// longjmp, so that a usage error is an outcome a target checks, not the end of the run; a box or
// an end outside a guarded call is a finding. Included by the one source file of each target.
#ifndef PATHMINT_FUZZ_REPORT_SEAMS_H
#define PATHMINT_FUZZ_REPORT_SEAMS_H

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "report.h"

namespace seams {

inline void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
  }
}

struct Box {
  std::string text, caption;
  ReportIcon icon;
};

// What the last guarded call reported.
struct Reports {
  std::jmp_buf jump;
  bool armed = false;
  bool ended = false;
  int endCode = 0;
  std::vector<Box> boxes;
};
inline Reports g_reports;

// Runs body, which may report and end the process. The code between here and the seams must hold
// nothing with a destructor: leaving it through longjmp skips no clean-up, and the leak checker
// stays on.
template <typename Body>
void Guarded(const Body& body) {
  g_reports.boxes.clear();
  g_reports.ended = false;
  g_reports.armed = true;
  if (setjmp(g_reports.jump) == 0) body();
  g_reports.armed = false;
}

}  // namespace seams

void ShowReportBox(const char* text, const char* caption, ReportIcon icon) {
  seams::Require(seams::g_reports.armed, "a box outside a guarded call");
  seams::g_reports.boxes.push_back(seams::Box{text ? text : "(null)", caption ? caption : "(null)",
                                              icon});
}

void EndProcessNow(int exitCode) {
  seams::Require(seams::g_reports.armed, "the process ended outside a guarded call");
  seams::g_reports.ended = true;
  seams::g_reports.endCode = exitCode;
  std::longjmp(seams::g_reports.jump, 1);
}

#endif
