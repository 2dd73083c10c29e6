// quorvel's start-up across runs, watched from outside: what OK writes to the program key, how
// the next start reads it, and the decision between the dialog and the silent start by the
// "/x" switch and the stored start-up flag; and the starts where nobody sees the window station.
#include "quorvel_test.h"

using namespace quorvel;
using wintest::Section;

namespace {

// A zone other than the one in force, so that its preselection shows that it was saved.
const char kChosen[] = "(UTC+09:00) Osaka, Sapporo, Tokyo";

void FlowAcrossRuns() {
  DeleteProgramKey();
  AddZoneInForce();

  Section("OK with the box cleared and another zone chosen");
  QuorvelRun r = RunQuorvel("", [](HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_SHOW_AT_STARTUP, BM_SETCHECK, BST_UNCHECKED, 0);
    ok(SelectZone(dialog, kChosen), "'%s' is not listed", kChosen);
    wintest::Click(dialog, IDOK);
  });
  check_run(r, 1, true);
  // Both values are written whether or not the zone could be applied.
  ok(ProgramValue("State") == Dword(0), "State after OK");
  ok(ProgramValue("TZ0") == Field(kChosen), "TZ0 after OK");
  const std::string saved = KeySnapshot();

  Section("the next start is silent and applies the saved zone");
  check_run(RunQuorvel(""), 0, true);
  ok(KeySnapshot() == saved, "the silent start changed the program key");

  Section("/X shows the dialog with the box cleared and the saved zone selected; Cancel");
  r = RunQuorvel("/X");
  check_run(r, 1, false);
  ok(r.dialog.check == BST_UNCHECKED, "check box %ld", long(r.dialog.check));
  ok(r.dialog.selected == kChosen, "selected '%s'", r.dialog.selected.c_str());
  ok(KeySnapshot() == saved, "Cancel changed the program key");

  Section("/x, OK with no selection: no zone applied, an empty name saved");
  r = RunQuorvel("/x", [](HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_ZONE_LIST, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    wintest::Click(dialog, IDOK);
  });
  check_run(r, 1, false);
  ok(ProgramValue("State") == Dword(0), "State after OK without selection");
  ok(ProgramValue("TZ0") == Field(""), "TZ0 after OK without selection");

  Section("an empty saved name shows the dialog though the flag is off");
  r = RunQuorvel("");
  check_run(r, 1, false);
  ok(r.dialog.selected == ZoneInForce(), "selected '%s'", r.dialog.selected.c_str());
  DeleteProgramKey();
  RemoveZones(kZoneInForceKey);
}

// With a zone saved, the switch and the stored flag decide between the dialog and the silent
// start, which writes nothing.
void DecisionTable() {
  const struct {
    const char* arguments;
    const char* what;  // the stored flag
    Value state;
    bool dialog;
  } cases[] = {
      // The switch is "/x" in either case, exactly.
      {"/x", "State 0", Dword(0), true},
      {"/X", "State 0", Dword(0), true},
      {"/x ", "State 0", Dword(0), false},
      {"-x", "State 0", Dword(0), false},
      {"/xx", "State 0", Dword(0), false},
      {"", "State 0", Dword(0), false},
      // Without it, only a flag of 1, or none at all, shows the dialog.
      {"", "State 1", Dword(1), true},
      {"", "State 2", Dword(2), false},
      {"", "State of 8 bytes", Raw(REG_QWORD, std::string(8, '\0')), true},
      {"", "State \"1\" as text", Text("1"), true},
      {"", "State 0 as 4 binary bytes", Raw(REG_BINARY, Dword(0).bytes), true},
      {"", "no State", Absent(), true},
  };
  for (const auto& c : cases) {
    Section(("arguments \"" + std::string(c.arguments) + "\", " + c.what).c_str());
    DeleteProgramKey();
    SetProgramValue("TZ0", Field(kChosen));
    if (c.state.present) SetProgramValue("State", c.state);
    const std::string before = KeySnapshot();
    // The warning's icon is read once, on the plain silent start.
    wintest::RunOptions options;
    options.boxIcons = !c.dialog && c.arguments[0] == '\0';
    QuorvelRun r = RunQuorvel(c.arguments, nullptr, options);
    check_run(r, c.dialog ? 1 : 0, !c.dialog);
    if (c.dialog) {
      const LRESULT check = c.state == Dword(0) ? BST_UNCHECKED : BST_CHECKED;
      ok(r.dialog.check == check, "check box %ld, want %ld", long(r.dialog.check), long(check));
      ok(r.dialog.selected == kChosen, "selected '%s'", r.dialog.selected.c_str());
    }
    ok(KeySnapshot() == before, "the program key changed: %s", KeySnapshot().c_str());
  }
  DeleteProgramKey();
}

// Where nobody sees the window station, a start that would show the dialog ends at once and a
// silent start shows nothing, whatever the apply gives: each ends with 0 and writes nothing.
void Unattended() {
  DeleteProgramKey();
  wintest::RunOptions hidden;
  hidden.hiddenStation = true;
  hidden.timeoutMs = 10000;
  const char* const what[] = {"the first start", "/x with a zone saved", "the silent start"};
  const char* const arguments[] = {"", "/x", ""};
  for (int i = 0; i < 3; ++i) {
    Section((std::string("unattended: ") + what[i]).c_str());
    const std::string before = KeySnapshot();
    const wintest::Outcome o = RunQuorvel(arguments[i], nullptr, hidden).run;
    ok(o.ended && o.exitCode == 0, "ended %d, exit code 0x%08lX (start error %lu)", o.ended,
       o.exitCode, o.startError);
    ok(KeySnapshot() == before, "the program key changed: %s", KeySnapshot().c_str());
    SetProgramValue("TZ0", Field(kChosen));
    SetProgramValue("State", Dword(0));
  }
  DeleteProgramKey();
}

}  // namespace

int main() {
  FlowAcrossRuns();
  DecisionTable();
  Unattended();
  return wintest::Summary();
}
