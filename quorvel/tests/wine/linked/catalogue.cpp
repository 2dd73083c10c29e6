// The zone catalogue functions against the real registry of the private prefix: zone keys are
// added for a test and removed again, and the catalogue is put back after the tests that empty
// or remove it.
#include <algorithm>

#include "zone_fixture.h"

using namespace fixture;

void ShowResourceMessage(UINT id) { RecordMessage(id); }

namespace {

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}
std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The zone in force planted among the test zones, removed with them.
const std::string kInForceKey = kTestPrefix + std::string("In Force");

void FullCatalogueSortedWithZoneInForce() {
  wintest::Section("full catalogue, sorted, zone in force preselected");
  DeleteProgramKey();
  Messages().clear();
  AddZoneInForce(kInForceKey);
  std::vector<CatalogueZone> zones = ReadCatalogue();
  ZoneWindow w;
  ok(FillZoneList(w.handle()) == 1, "FillZoneList did not report a listed zone");
  std::vector<std::string> entries = w.Entries();
  std::vector<std::string> displays;
  for (const CatalogueZone& z : zones) displays.push_back(z.display);
  ok(zones.size() > 100, "prefix catalogue has only %u zones", static_cast<unsigned>(zones.size()));
  ok(entries.size() == displays.size(), "%u entries for %u zones",
     static_cast<unsigned>(entries.size()), static_cast<unsigned>(displays.size()));
  std::vector<std::string> a = entries, b = displays;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  ok(a == b, "list entries are not the catalogue's display names");
  bool sorted = true;
  for (size_t i = 1; i < entries.size(); ++i)
    sorted = sorted && lstrcmpiA(entries[i - 1].c_str(), entries[i].c_str()) <= 0;
  ok(sorted, "entries are not in the control's sorted order");
  ok(entries != displays, "entries are in registry order, not sorted by the control");
  ok(w.Selected() == ZoneInForce(), "selected '%s'", w.Selected().c_str());
  ok(Messages().empty(), "%u messages shown", static_cast<unsigned>(Messages().size()));
  RemoveTestZones();
}

// The zone in force is the one whose key the platform names: beside a zone with the standard name
// in force, and where its own standard name is in another language than the one the platform
// gives (a catalogue installed in English, names in force in the user's display language).
void ZoneInForceFoundByItsKeyName() {
  wintest::Section("the zone in force found by its key name");
  DeleteProgramKey();
  const std::string key = KeyNameInForce(), display = DisplayOfKeyInForce();
  if (!ok(!display.empty(), "the key name in force [%s] names no zone", key.c_str())) return;
  AddZoneInForce(kInForceKey);
  {
    ZoneWindow w;
    FillZoneList(w.handle());
    ok(w.Selected() == display, "beside the standard name in force: selected '%s', want '%s'",
       w.Selected().c_str(), display.c_str());
  }
  RemoveTestZones();
  if (!ok(SaveCatalogue(), "cannot save the catalogue")) return;
  ok(AddZone(key, Absent(), Text("Heure normale de Quorvel"), Absent(), Absent()),
     "cannot change the standard name of %s", key.c_str());
  {
    ZoneWindow w;
    FillZoneList(w.handle());
    ok(w.Selected() == display, "another standard name: selected '%s', want '%s'",
       w.Selected().c_str(), display.c_str());
  }
  ok(RestoreCatalogue(), "the catalogue could not be put back");
}

// Where the key name in force names no zone, the standard names are compared, the last zone
// with the name in force winning.
void LaterZoneWithTheSameStandardNameWins() {
  wintest::Section("no zone under the key name in force; two share the standard name in force");
  DeleteProgramKey();
  if (!EmptyTheCatalogue()) return;
  std::string inForce = StandardNameInForce();
  // Enumerated in this order; ASCII case differs from the name in force in both.
  AddTestZone("A", Text("(UTC+13:45) Quorvel Earlier"), Text(Lower(inForce)), Text("D"), Raw(REG_BINARY, Rule(1)));
  AddTestZone("B", Text("(UTC+13:45) Quorvel Later"), Text(Upper(inForce)), Text("D"), Raw(REG_BINARY, Rule(2)));
  // The name in force and one letter more: names are compared whole, never the zone in force.
  AddTestZone("C", Text("(UTC+13:45) Quorvel Accented"), Text(inForce + "\xC9"), Text("D"), Raw(REG_BINARY, Rule(3)));
  {
    ZoneWindow w;
    FillZoneList(w.handle());
    ok(DisplayOfKeyInForce().empty(), "the key name in force names a test zone");
    ok(w.Selected() == "(UTC+13:45) Quorvel Later", "selected '%s'", w.Selected().c_str());
  }
  ok(RestoreCatalogue(), "the catalogue could not be put back");
}

void SavedZoneWinsAndMustMatchExactly() {
  wintest::Section("saved zone");
  AddTestZone("Saved", Text("(UTC-11:15) Quorvel Saved Zone"), Text("Quorvel Saved Std"),
          Text("Quorvel Saved Dlt"), Raw(REG_BINARY, Rule(7)));
  AddZoneInForce(kInForceKey);
  struct Case {
    const char* what;
    bool hasKey;
    Value tz0;
    const char* selected;  // nullptr: the zone in force
  } cases[] = {
      {"saved zone wins over the zone in force", true, Text("(UTC-11:15) Quorvel Saved Zone"),
       "(UTC-11:15) Quorvel Saved Zone"},
      {"saved without a terminator", true, Raw(REG_BINARY, "(UTC-11:15) Quorvel Saved Zone"),
       "(UTC-11:15) Quorvel Saved Zone"},
      {"saved name differs in case", true, Text("(utc-11:15) quorvel saved zone"), nullptr},
      {"saved zone gone", true, Text("(UTC-11:15) Quorvel Vanished Zone"), nullptr},
      {"saved name empty", true, Raw(REG_SZ, std::string(512, '\0')), nullptr},
      {"no TZ0", true, Absent(), nullptr},
      {"no program key", false, Absent(), nullptr},
  };
  for (const Case& c : cases) {
    DeleteProgramKey();
    if (c.hasKey) SetProgramValue("State", Dword(1));
    if (c.tz0.present) SetProgramValue("TZ0", c.tz0);
    ZoneRecord saved = LoadSavedZone("TZ0");
    ZoneWindow w;
    FillZoneList(w.handle());
    std::string want = c.selected ? c.selected : ZoneInForce();
    ok(w.Selected() == want, "%s: selected '%s', want '%s'", c.what, w.Selected().c_str(),
       want.c_str());
    if (c.selected) {
      ok(strcmp(saved.displayName, c.selected) == 0 && strcmp(saved.standardName, "Quorvel Saved Std") == 0 &&
             strcmp(saved.daylightName, "Quorvel Saved Dlt") == 0 &&
             memcmp(saved.rule, Rule(7).data(), kZoneRuleSize) == 0,
         "%s: LoadSavedZone gave '%s'", c.what, saved.displayName);
    } else {
      ok(IsAllZero(&saved, sizeof saved), "%s: LoadSavedZone gave a zone ('%s')", c.what,
         saved.displayName);
    }
  }
  DeleteProgramKey();
  RemoveTestZones();
}

void PrefixOfAnotherDisplayName() {
  wintest::Section("display name that begins another");
  AddTestZone("P1", Text("(UTC+14:30) Quorvel Prefix Extended"), Text("P1"), Text("P1"), Raw(REG_BINARY, Rule(11)));
  AddTestZone("P2", Text("(UTC+14:30) Quorvel Prefix"), Text("P2"), Text("P2"), Raw(REG_BINARY, Rule(12)));
  const char* names[] = {"(UTC+14:30) Quorvel Prefix", "(UTC+14:30) Quorvel Prefix Extended"};
  for (const char* name : names) {
    DeleteProgramKey();
    SetProgramValue("TZ0", Text(name));
    ZoneWindow w;
    FillZoneList(w.handle());
    ok(w.Selected() == name, "saved '%s', selected '%s'", name, w.Selected().c_str());
    ZoneRecord r = ReadSelectedZone(w.handle());
    ok(strcmp(r.displayName, name) == 0, "ReadSelectedZone gave '%s'", r.displayName);
  }
  // Lookups are exact: neither the beginning nor another case finds a zone.
  const char* misses[] = {"(UTC+14:30) Quorvel Pre", "(UTC+14:30) QUORVEL PREFIX", ""};
  for (const char* miss : misses) {
    ZoneRecord r = FindZoneByDisplayName(miss);
    ok(IsAllZero(&r, sizeof r), "'%s' found '%s'", miss, r.displayName);
  }
  DeleteProgramKey();
  RemoveTestZones();
}

void MissingValuesNeverCarryOver() {
  wintest::Section("zone keys with missing values");
  DeleteProgramKey();
  Messages().clear();
  size_t before = ReadCatalogue().size();
  AddTestZone("M1 Full", Text("(UTC+12:45) Quorvel Full"), Text("Full Std"), Text("Full Dlt"), Raw(REG_BINARY, Rule(21)));
  AddTestZone("M2 Bare", Absent(), Absent(), Absent(), Absent());
  AddTestZone("M3 No rule", Text("(UTC+12:45) Quorvel No Rule"), Absent(), Text("NR Dlt"), Absent());
  AddTestZone("M4 Short rule", Text("(UTC+12:45) Quorvel Short Rule"), Text("SR Std"), Absent(),
          Raw(REG_BINARY, Rule(31).substr(0, 40)));
  AddTestZone("M5 Long rule", Text("(UTC+12:45) Quorvel Long Rule"), Text("LR Std"), Absent(),
          Raw(REG_BINARY, Rule(41) + "xxxx"));

  ZoneRecord full = FindZoneByDisplayName("(UTC+12:45) Quorvel Full");
  ok(strcmp(full.standardName, "Full Std") == 0 && strcmp(full.daylightName, "Full Dlt") == 0 &&
         memcmp(full.rule, Rule(21).data(), kZoneRuleSize) == 0,
     "full zone read wrongly");
  struct Case {
    const char* display;
    const char* standard;
    const char* daylight;
  } cases[] = {
      {"(UTC+12:45) Quorvel No Rule", "", "NR Dlt"},
      {"(UTC+12:45) Quorvel Short Rule", "SR Std", ""},
      {"(UTC+12:45) Quorvel Long Rule", "LR Std", ""},
  };
  for (const Case& c : cases) {
    ZoneRecord r = FindZoneByDisplayName(c.display);
    ok(strcmp(r.displayName, c.display) == 0, "'%s' not found", c.display);
    ok(strcmp(r.standardName, c.standard) == 0, "%s: standard name '%s'", c.display, r.standardName);
    ok(strcmp(r.daylightName, c.daylight) == 0, "%s: daylight name '%s'", c.display, r.daylightName);
    ok(IsAllZero(r.rule, kZoneRuleSize), "%s: rule taken from elsewhere", c.display);
    ok(IsAllZero(r.displayName + strlen(r.displayName), kZoneNameSize - strlen(r.displayName)),
       "%s: bytes after the display name", c.display);
  }
  // The key without values names no zone: it is not listed, and the empty name finds nothing.
  ZoneRecord none = FindZoneByDisplayName("");
  ok(IsAllZero(&none, sizeof none), "empty name found a zone");
  ZoneWindow w;
  FillZoneList(w.handle());
  std::vector<std::string> entries = w.Entries();
  ok(entries.size() == before + 4, "%u entries, want %u", static_cast<unsigned>(entries.size()),
     static_cast<unsigned>(before + 4));
  ok(std::count(entries.begin(), entries.end(), std::string()) == 0, "an empty entry is listed");
  ok(std::count(entries.begin(), entries.end(), "(UTC+12:45) Quorvel Full") == 1,
     "a zone is listed twice");
  ok(Messages().empty(), "%u messages shown", static_cast<unsigned>(Messages().size()));
  RemoveTestZones();
}

void OversizedAndUnterminatedText() {
  wintest::Section("oversized and unterminated values");
  DeleteProgramKey();
  std::string longDisplay = "(UTC+13:15) Quorvel Long " + std::string(700, 'L') + " end";
  std::string longStd = std::string(600, 'S');
  std::string exact = "(UTC+13:15) Quorvel Exact " + std::string(512 - 26, 'E');  // 512 bytes
  AddTestZone("L1", Text(longDisplay), Text(longStd), Raw(REG_SZ, std::string(530, 'D')), Raw(REG_BINARY, Rule(51)));
  AddTestZone("L2", Raw(REG_BINARY, exact), Raw(REG_SZ, "Unterminated Std"), Text("X"), Raw(REG_BINARY, Rule(52)));
  std::string cutDisplay = longDisplay.substr(0, 511);
  std::string cutExact = exact.substr(0, 511);

  ZoneRecord r = FindZoneByDisplayName(cutDisplay.c_str());
  ok(r.displayName == cutDisplay, "long display name: found '%.40s'", r.displayName);
  ok(strnlen(r.standardName, kZoneNameSize) == 511 && r.standardName[0] == 'S',
     "long standard name not cut to 511 bytes");
  ok(strnlen(r.daylightName, kZoneNameSize) == 511, "unterminated long daylight name not cut");
  ok(memcmp(r.rule, Rule(51).data(), kZoneRuleSize) == 0, "rule of the long zone");
  r = FindZoneByDisplayName(cutExact.c_str());
  ok(r.displayName == cutExact, "512-byte display name without terminator not found");
  ok(strcmp(r.standardName, "Unterminated Std") == 0, "unterminated standard name '%s'",
     r.standardName);
  ok(IsAllZero(r.standardName + 16, kZoneNameSize - 16), "bytes after the standard name");
  r = FindZoneByDisplayName(longDisplay.c_str());
  ok(IsAllZero(&r, sizeof r), "the uncut long name matched");

  // Listed cut; choosing it, saving it and loading it again give the same zone.
  ZoneWindow w;
  FillZoneList(w.handle());
  std::vector<std::string> entries = w.Entries();
  ok(std::count(entries.begin(), entries.end(), cutDisplay) == 1, "cut long name not listed");
  ok(std::count(entries.begin(), entries.end(), cutExact) == 1, "cut exact name not listed");
  ok(SelectZone(w.handle(), cutDisplay), "cannot select the long entry");
  r = ReadSelectedZone(w.handle());
  ok(r.displayName == cutDisplay, "ReadSelectedZone of the long entry");
  SaveSelectedZone(w.handle(), "TZ0");
  ok(ProgramValue("TZ0") == Field(cutDisplay), "TZ0 of the long entry");
  r = LoadSavedZone("TZ0");
  ok(r.displayName == cutDisplay, "saved long zone not loaded back");

  // A saved value longer than the field is cut the same way.
  SetProgramValue("TZ0", Text(longDisplay));
  r = LoadSavedZone("TZ0");
  ok(r.displayName == cutDisplay, "overlong TZ0 not cut to its field");
  DeleteProgramKey();
  RemoveTestZones();
}

void EmptyCatalogue() {
  wintest::Section("empty catalogue, then one zone that is not the zone in force");
  DeleteProgramKey();
  Messages().clear();
  if (!EmptyTheCatalogue()) return;
  {
    ZoneWindow w;
    ok(FillZoneList(w.handle()) == 0, "empty catalogue listed a zone");
    ok(w.List(CB_GETCOUNT) == 0, "entries in the list");
    ok(Messages().empty(), "%u messages shown for an empty catalogue",
       static_cast<unsigned>(Messages().size()));
  }
  // One zone, not the one in force: listed, and nothing is preselected.
  AddTestZone("Other", Text("(UTC+13:45) Quorvel Other"), Text("Quorvel Other Std"), Text("D"),
              Raw(REG_BINARY, Rule(5)));
  {
    ZoneWindow w;
    ok(FillZoneList(w.handle()) == 1, "the zone was not listed");
    ok(w.Entries() == std::vector<std::string>{"(UTC+13:45) Quorvel Other"}, "%u entries",
       static_cast<unsigned>(w.Entries().size()));
    ok(w.Selected() == "<none>", "selected '%s'", w.Selected().c_str());
  }
  ok(RestoreCatalogue(), "the catalogue could not be put back");
}

// Wine grants every registry access, so an unreadable catalogue is stood in for by a missing one:
// opening the key fails either way.
void UnreadableCatalogue() {
  wintest::Section("catalogue key cannot be opened (missing, standing in for access denied)");
  DeleteProgramKey();
  if (!ok(SaveCatalogue(), "cannot save the catalogue")) return;
  ok(RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCatalogue) == ERROR_SUCCESS, "cannot remove the catalogue");

  Messages().clear();
  {
    ZoneWindow w;
    ok(FillZoneList(w.handle()) == 0, "FillZoneList listed a zone");
    ok(w.List(CB_GETCOUNT) == 0, "entries in the list");
    // The program key does not exist, so loading the saved zone walks nothing.
    ok(Messages() == std::vector<UINT>{IDS_ACCESS_DENIED_READ}, "FillZoneList: %u messages",
       static_cast<unsigned>(Messages().size()));
    Messages().clear();
    ZoneRecord r = ReadSelectedZone(w.handle());
    ok(IsAllZero(&r, sizeof r), "ReadSelectedZone found a zone");
    ok(Messages() == std::vector<UINT>{IDS_ACCESS_DENIED_READ}, "ReadSelectedZone: %u messages",
       static_cast<unsigned>(Messages().size()));
  }
  Messages().clear();
  ZoneRecord r = FindZoneByDisplayName("(UTC+00:00) Monrovia, Reykjavik");
  ok(IsAllZero(&r, sizeof r), "FindZoneByDisplayName found a zone");
  ok(Messages() == std::vector<UINT>{IDS_ACCESS_DENIED_READ}, "FindZoneByDisplayName: %u messages",
     static_cast<unsigned>(Messages().size()));

  Messages().clear();
  r = LoadSavedZone("TZ0");
  ok(IsAllZero(&r, sizeof r) && Messages().empty(), "LoadSavedZone without a program key walked");
  SetProgramValue("TZ0", Text("(UTC+00:00) Monrovia, Reykjavik"));
  r = LoadSavedZone("TZ0");
  ok(IsAllZero(&r, sizeof r), "LoadSavedZone found a zone");
  ok(Messages() == std::vector<UINT>{IDS_ACCESS_DENIED_READ}, "LoadSavedZone: %u messages",
     static_cast<unsigned>(Messages().size()));
  // Filling the list now shows the message twice: its own walk and the saved zone's lookup.
  Messages().clear();
  {
    ZoneWindow w;
    FillZoneList(w.handle());
    ok(Messages().size() == 1, "FillZoneList with a program key: %u messages",
       static_cast<unsigned>(Messages().size()));
  }
  DeleteProgramKey();
  ok(RestoreCatalogue(), "the catalogue could not be put back");
}

}  // namespace

int main() {
  // A run that stopped half-way may have left test zones or a saved catalogue behind.
  ok(RestoreCatalogue(), "the catalogue could not be put back");
  RemoveTestZones();

  FullCatalogueSortedWithZoneInForce();
  ZoneInForceFoundByItsKeyName();
  LaterZoneWithTheSameStandardNameWins();
  SavedZoneWinsAndMustMatchExactly();
  PrefixOfAnotherDisplayName();
  MissingValuesNeverCarryOver();
  OversizedAndUnterminatedText();
  EmptyCatalogue();
  UnreadableCatalogue();

  RemoveTestZones();
  DeleteProgramKey();
  ok(ReadCatalogue().size() > 100, "catalogue not back after the tests");
  return wintest::Summary();
}
