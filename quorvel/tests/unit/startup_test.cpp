// The "/x" switch and the start-up decision.
#include <gtest/gtest.h>

#include "startup.h"

namespace {

TEST(ForceSwitch, OnlyTheExactTextTurnsItOn) {
  struct Case {
    const char* arguments;
    bool on;
  } cases[] = {
      {"/x", true},   {"/X", true},    {"/x ", false}, {"-x", false},  {" /x", false},
      {"/xx", false}, {"", false},     {"/", false},   {"x", false},   {"/x /x", false},
      {"/y", false},  {"\\x", false},  {"/x\t", false}, {"/\xD8", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsForceSwitch(c.arguments), c.on) << '"' << c.arguments << '"';
  EXPECT_FALSE(IsForceSwitch(nullptr));
}

int g_flag = 0;
int g_flagReads = 0;
int ReadFlag() {
  ++g_flagReads;
  return g_flag;
}

TEST(StartupDecision, FollowsTheTableAndReadsTheFlagOnlyWhenItDecides) {
  struct Case {
    bool saved;
    bool forced;
    int flag;
    StartupAction action;
    int flagReads;
  } cases[] = {
      {false, false, 0, StartupAction::kShowDialog, 0},
      {false, true, 0, StartupAction::kShowDialog, 0},
      {false, false, 1, StartupAction::kShowDialog, 0},
      {true, true, 0, StartupAction::kShowDialog, 0},
      {true, true, 1, StartupAction::kShowDialog, 0},
      {true, false, 1, StartupAction::kShowDialog, 1},
      {true, false, 7, StartupAction::kShowDialog, 1},  // any non-zero answer shows the dialog
      {true, false, 0, StartupAction::kSilentStart, 1},
  };
  for (const Case& c : cases) {
    g_flag = c.flag;
    g_flagReads = 0;
    EXPECT_EQ(DecideStartup(c.saved, c.forced, ReadFlag), c.action)
        << "saved " << c.saved << " forced " << c.forced << " flag " << c.flag;
    EXPECT_EQ(g_flagReads, c.flagReads)
        << "saved " << c.saved << " forced " << c.forced << " flag " << c.flag;
  }
}

}  // namespace
