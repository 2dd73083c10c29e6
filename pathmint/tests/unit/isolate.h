// Test support: the report seams and the three actions for the native tests.
//
// Reports end the process, so code that may report runs in a child process (RunIsolated); the
// child's boxes, its end and notes about its state come back to the test as an Outcome.
#ifndef PATHMINT_TEST_ISOLATE_H
#define PATHMINT_TEST_ISOLATE_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "report.h"

struct BoxRecord {
  std::string text;
  std::string caption;
  ReportIcon icon;
};

struct Outcome {
  bool returned = false;     // the body ran to its end
  bool endedNow = false;     // EndProcessNow was called
  int endCode = 0;           // with this code
  bool exited = false;       // the process ended through exit() or by returning
  int exitStatus = 0;        // its status (8 bits)
  bool crashed = false;      // ended by a signal
  std::vector<BoxRecord> boxes;
  std::vector<std::string> notes;
  std::string standardError;
};

// Runs body in a forked child and collects what it reported.
Outcome RunIsolated(const std::function<void()>& body);
// Records a line about the child's state (only inside RunIsolated).
void Note(const std::string& text);

// The last action the settings asked for, and the status the fakes return.
struct ActionCall {
  std::string action;  // "create", "exec", "delete" or "" (none)
  std::string target, arguments, linkFile, iconPath, currentDir;  // "(null)" for null
  int32_t iconIndex = 0, isFolder = 0, specialFolder = 0, oneTime = 0;
};
extern ActionCall g_lastAction;
extern int32_t g_actionStatus;

// The tokens, each in brackets: a label for SCOPED_TRACE.
std::string TokenLabel(const std::vector<const char*>& tokens);
// The body ran to its end without a box and noted exactly these lines.
void ExpectReturned(const Outcome& o, const std::vector<std::string>& notes);
// The body ended the process with -1 after exactly one error box under caption: its text.
std::string ExpectErrorEnd(const Outcome& o, const char* caption);

#endif
