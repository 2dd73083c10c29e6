// The program key functions against the current user's registry of the private prefix.
#include "zone_fixture.h"

using namespace fixture;

void ShowResourceMessage(UINT id) { RecordMessage(id); }

namespace {

void StartupFlagReadsAsStored() {
  wintest::Section("ReadStartupFlag");
  struct Case {
    const char* what;
    bool hasKey;
    Value state;
    int want;
  } cases[] = {
      {"no program key", false, Absent(), 1},
      {"no State value", true, Absent(), 1},
      {"State 1", true, Dword(1), 1},
      {"State 0", true, Dword(0), 0},
      {"State 2", true, Dword(2), 0},
      {"State 0xFFFFFFFF", true, Dword(0xFFFFFFFF), 0},
      {"State 0x101", true, Dword(0x101), 0},
      {"State of 8 bytes holding 1", true, Raw(REG_QWORD, std::string("\1\0\0\0\0\0\0\0", 8)), 1},
      {"State of 8 bytes holding 0", true, Raw(REG_QWORD, std::string(8, '\0')), 1},
      // Only a REG_DWORD of 4 bytes is a flag; any other value shows the dialog, like none.
      {"State 1 stored as 4 binary bytes", true, Raw(REG_BINARY, Dword(1).bytes), 1},
      {"State 0 stored as 4 binary bytes", true, Raw(REG_BINARY, Dword(0).bytes), 1},
      {"State \"1\" as text", true, Text("1"), 1},
      {"State \"0\" as text", true, Text("0"), 1},
      {"State 0 of 2 bytes typed REG_DWORD", true, Raw(REG_DWORD, std::string(2, '\0')), 1},
      {"State 0 as REG_DWORD_BIG_ENDIAN", true, Raw(REG_DWORD_BIG_ENDIAN, Dword(0).bytes), 1},
  };
  for (const Case& c : cases) {
    DeleteProgramKey();
    if (c.hasKey) SetProgramValue("Other", Text("x"));
    if (c.state.present) SetProgramValue("State", c.state);
    int got = ReadStartupFlag();
    ok(got == c.want, "%s: %d, want %d", c.what, got, c.want);
  }
}

void StartupFlagWrittenFromTheCheckBox() {
  wintest::Section("SaveStartupFlag");
  ZoneWindow w;
  for (int round = 0; round < 2; ++round) {
    for (bool on : {false, true}) {
      if (round == 0) DeleteProgramKey();  // the key is created when it is missing
      w.SetCheck(on);
      SaveStartupFlag(w.handle());
      ok(ProgramValue("State") == Dword(on ? 1 : 0), "box %s: State", on ? "ticked" : "cleared");
      ok(ReadStartupFlag() == (on ? 1 : 0), "flag does not read back");
    }
  }
}

void SelectedZoneSavedAsWholeField() {
  wintest::Section("SaveSelectedZone and LoadSavedZone");
  DeleteProgramKey();
  Messages().clear();
  AddTestZone("K1", Text("(UTC+05:55) Quorvel Key Zone"), Text("Key Std"), Text("Key Dlt"),
          Raw(REG_BINARY, Rule(61)));
  ZoneWindow w;
  FillZoneList(w.handle());

  // With a selection: the display name, then zeros, 512 bytes in all.
  ok(SelectZone(w.handle(), "(UTC+05:55) Quorvel Key Zone"), "cannot select the test zone");
  SaveSelectedZone(w.handle(), "TZ0");
  ok(ProgramValue("TZ0") == Field("(UTC+05:55) Quorvel Key Zone"), "TZ0 after a selection");
  ZoneRecord r = LoadSavedZone("TZ0");
  ok(strcmp(r.displayName, "(UTC+05:55) Quorvel Key Zone") == 0 &&
         strcmp(r.standardName, "Key Std") == 0 && strcmp(r.daylightName, "Key Dlt") == 0 &&
         memcmp(r.rule, Rule(61).data(), kZoneRuleSize) == 0,
     "saved zone loads as '%s'", r.displayName);

  // Without a selection: 512 zero bytes, which count as no saved zone.
  w.List(CB_SETCURSEL, static_cast<WPARAM>(-1));
  SaveSelectedZone(w.handle(), "TZ0");
  ok(ProgramValue("TZ0") == Field(""), "TZ0 without a selection");
  r = LoadSavedZone("TZ0");
  ok(IsAllZero(&r, sizeof r), "empty TZ0 loads a zone");

  // Text typed into the edit field is never read: only the list selection counts.
  SetWindowTextA(GetWindow(GetDlgItem(w.handle(), IDC_ZONE_LIST), GW_CHILD),
                 "(UTC+05:55) Quorvel Key Zone");
  r = ReadSelectedZone(w.handle());
  ok(IsAllZero(&r, sizeof r), "typed text was read as a selection");

  // Other value names are used as given.
  ok(SelectZone(w.handle(), "(UTC+05:55) Quorvel Key Zone"), "cannot select the test zone");
  SaveSelectedZone(w.handle(), "TZ1");
  r = LoadSavedZone("TZ1");
  ok(strcmp(r.displayName, "(UTC+05:55) Quorvel Key Zone") == 0, "TZ1 does not round-trip");
  ok(Messages().empty(), "%u messages shown", static_cast<unsigned>(Messages().size()));
  DeleteProgramKey();
  RemoveTestZones();
}

// Replaces the program key's permissions by one entry: everyone may do `access`, nothing more.
bool GrantOnProgramKey(DWORD access) {
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD sidSize = sizeof sid;
  BYTE aclBuffer[256];
  ACL* acl = reinterpret_cast<ACL*>(aclBuffer);
  SECURITY_DESCRIPTOR sd;
  HKEY key;
  bool good = CreateWellKnownSid(WinWorldSid, nullptr, sid, &sidSize) &&
              InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION) &&
              AddAccessAllowedAce(acl, ACL_REVISION, access, sid) &&
              InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) &&
              RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, WRITE_DAC, &key) == ERROR_SUCCESS;
  if (good) {
    good = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                             &sd) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  return ok(good, "cannot set the permissions 0x%08lx of the program key", access);
}

// A policy may grant users reading and setting the values of the program key, and no more: the
// choice made on OK is saved there and read back.
void KeyOfReadAndSetValueOnly() {
  wintest::Section("a program key that grants reading and setting values only");
  const char kZone[] = "(UTC+05:55) Quorvel Granted Zone";
  AddTestZone("G1", Text(kZone), Text("Granted Std"), Text("Granted Dlt"), Raw(REG_BINARY, Rule(71)));
  for (DWORD access : {DWORD(KEY_READ | KEY_SET_VALUE), DWORD(KEY_QUERY_VALUE | KEY_SET_VALUE)}) {
    wintest::Context context("access 0x%08lx", access);
    DeleteProgramKey();
    SetProgramValue("State", Dword(1));
    if (!GrantOnProgramKey(access)) continue;
    ZoneWindow w;
    FillZoneList(w.handle());
    ok(SelectZone(w.handle(), kZone), "cannot select the test zone");
    w.SetCheck(false);
    SaveStartupFlag(w.handle());
    SaveSelectedZone(w.handle(), "TZ0");
    ok(ReadStartupFlag() == 0, "the cleared box was not kept");
    ZoneRecord r = LoadSavedZone("TZ0");
    ok(strcmp(r.displayName, kZone) == 0, "the zone chosen was not kept: '%s'", r.displayName);
    GrantOnProgramKey(KEY_ALL_ACCESS);
    ok(ProgramValue("State") == Dword(0) && ProgramValue("TZ0") == Field(kZone),
       "the values are not as saved: %s", KeySnapshot().c_str());
  }
  DeleteProgramKey();
  RemoveTestZones();
}

}  // namespace

int main() {
  ok(RestoreCatalogue(), "the catalogue could not be put back");
  RemoveTestZones();
  StartupFlagReadsAsStored();
  StartupFlagWrittenFromTheCheckBox();
  SelectedZoneSavedAsWholeField();
  KeyOfReadAndSetValueOnly();
  DeleteProgramKey();
  return wintest::Summary();
}
