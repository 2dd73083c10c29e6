// quorvel's zone dialog under Wine, watched from outside: its localised texts and the check box
// on a first start, Cancel and the close box writing nothing, a catalogue of three hundred
// hostile zones, listed exactly, never written to, and put back byte for byte afterwards, and a
// long name of two-byte characters, saved cut between characters.
//
//   quorvel_wine_dialog.exe                 everything, in the language Wine gives this process
//   quorvel_wine_dialog.exe --texts LANGID CODEPAGE
//                                           the first start's texts and the two-byte name; fails
//                                           unless the user's language is LANGID (hex) and the
//                                           ANSI code page CODEPAGE, so that a locale that did
//                                           not take effect cannot pass as English
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

#include "quorvel_test.h"

using namespace quorvel;
using wintest::Section;

namespace {

// The display names of the prefix's zones as the registry holds them: plain texts, each listed as
// it stands.
std::vector<std::string> CatalogueDisplayNames() {
  std::vector<std::string> out;
  for (const CatalogueZone& z : ReadCatalogue()) out.push_back(z.display);
  return out;
}

void check_listed_(const char* file, int line, std::vector<std::string> entries,
                   std::vector<std::string> want) {
  std::sort(entries.begin(), entries.end());
  std::sort(want.begin(), want.end());
  if (ok_(file, line)(entries == want, "%u entries listed, %u expected", unsigned(entries.size()),
                      unsigned(want.size()))) {
    return;
  }
  for (size_t i = 0, shown = 0; i < entries.size() && i < want.size() && shown < 3; ++i) {
    if (entries[i] != want[i] && ++shown) {
      trace("entry [%.60s] where [%.60s] was expected", entries[i].c_str(), want[i].c_str());
    }
  }
}
#define check_listed(...) check_listed_(__FILE__, __LINE__, __VA_ARGS__)

// A first start (no program key): the dialog with its texts, every zone listed with the zone in
// force preselected, the box ticked; Cancel or the close box ends it and writes nothing.
void FirstStart(bool closeBox) {
  Section(closeBox ? "first start, closed by the caption's close box" : "first start, Cancel");
  DeleteProgramKey();
  const DialogTexts* want = UserTexts();
  if (!ok(want != nullptr, "the user's language 0x%04x has no known texts",
          GetUserDefaultUILanguage())) {
    return;
  }
  AddZoneInForce();
  QuorvelRun r = RunQuorvel("", [&](HWND dialog) {
    const int ids[] = {IDC_PROMPT, IDC_SHOW_AT_STARTUP, IDOK, IDCANCEL};
    for (int i = 0; i < 4; ++i) {
      std::string got = wintest::WindowText(GetDlgItem(dialog, ids[i]), CP_UTF8);
      ok(got == want->texts[i], "control %d reads \"%s\", want \"%s\"", ids[i], got.c_str(),
         want->texts[i]);
    }
    std::string got = wintest::WindowText(dialog, CP_UTF8);
    ok(got == kDialogCaption, "caption \"%s\"", got.c_str());
    wintest::Click(dialog, closeBox ? 0 : IDCANCEL);
  });
  check_run(r, 1, false);
  ok(r.dialog.check == BST_CHECKED, "check box %ld on a first start", long(r.dialog.check));
  check_listed(r.dialog.entries, CatalogueDisplayNames());
  ok(r.dialog.selected == ZoneInForce(), "selected '%s'", r.dialog.selected.c_str());
  RemoveZones(kZoneInForceKey);
  ok(KeySnapshot() == "absent", "the program key was written: %s", KeySnapshot().c_str());
}

// ---- a catalogue of hostile zones

const char kPrefix[] = "zzQuorvelCampaign ";
const int kZones = 300;

// Every subkey, value name, type and byte below key, in enumeration order.
void Dump(HKEY key, const std::string& path, std::string* out) {
  DWORD maxName = 0, maxData = 0, maxSub = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &maxSub, nullptr, nullptr, &maxName,
                   &maxData, nullptr, nullptr);
  std::vector<char> name(maxName + 2);
  std::vector<BYTE> data(maxData + 2);
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueA(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) !=
        ERROR_SUCCESS) {
      break;
    }
    *out += path + "=" + std::string(name.data(), nameSize) + "|" + std::to_string(type) + "|";
    out->append(reinterpret_cast<const char*>(data.data()), dataSize);
    *out += '\n';
  }
  std::vector<char> sub(maxSub + 2);
  for (DWORD i = 0;; ++i) {
    DWORD subSize = static_cast<DWORD>(sub.size());
    if (RegEnumKeyExA(key, i, sub.data(), &subSize, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    std::string child(sub.data(), subSize);
    *out += path + "\\" + child + "\n";
    HKEY h;
    if (RegOpenKeyExA(key, child.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
      Dump(h, path + "\\" + child, out);
      RegCloseKey(h);
    }
  }
}

std::string CatalogueDump() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCatalogue, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  std::string out = "present\n";
  Dump(key, "", &out);
  RegCloseKey(key);
  return out;
}

// Random bytes for a name: no zero byte, which would end it early.
std::string NameBytes(size_t n, unsigned seed) {
  std::string out = wintest::RandomBytes(n, seed);
  std::replace(out.begin(), out.end(), '\0', 'z');
  return out;
}

std::string Number(int i) {
  char buf[8];
  snprintf(buf, sizeof buf, "%03d", i);
  return buf;
}

// Zone i, of a shape chosen by i, so that every shape occurs many times among the 300: values
// of every registry type and of every size from nothing to a megabyte, texts cut at the field,
// unterminated, non-ASCII, duplicated; rules too short, too long, of the wrong type. *listed gets
// the entry the zone list shows for it, empty when it shows none.
bool AddCampaignZone(int i, std::string* listed) {
  const std::string n = Number(i);
  std::string key = kPrefix + n;
  Value display = Text("(UTC+01:00) Campaign " + n), standard = Text("Campaign Std " + n),
        daylight = Text("Campaign Dlt " + n),
        rule = Raw(REG_BINARY, wintest::RandomBytes(44, unsigned(i)));
  *listed = "(UTC+01:00) Campaign " + n;
  switch (i % 20) {
    case 1:
      display = Text("%SystemRoot% Campaign " + n, REG_EXPAND_SZ);
      *listed = "%SystemRoot% Campaign " + n;  // not expanded
      standard = Text("%TEMP%", REG_EXPAND_SZ);
      rule = Raw(REG_BINARY, wintest::RandomBytes(43, 1));
      break;
    case 2:
      display = Raw(REG_MULTI_SZ, "Multi " + n + std::string("\0second\0\0", 9));
      *listed = "Multi " + n;
      standard = Raw(REG_MULTI_SZ, std::string("\0\0", 2));
      rule = Raw(REG_BINARY, wintest::RandomBytes(45, 2));
      break;
    case 3:
      display = Raw(REG_BINARY, "Binary " + n);  // no terminator
      *listed = "Binary " + n;
      standard = Raw(REG_BINARY, std::string(600, 'S'));
      rule = Text("not a rule");
      break;
    case 4:
      display = Raw(REG_DWORD, std::string("D", 1) + n.substr(0, 3));
      *listed = "D" + n;
      standard = Raw(REG_DWORD, std::string("\0\0\0\0", 4));
      rule = Raw(REG_DWORD, "rule");
      break;
    case 5:
      display = Raw(REG_QWORD, "Q" + n + "qqqq");
      *listed = "Q" + n + "qqqq";
      daylight = Raw(REG_QWORD, std::string(8, '\xFF'));
      rule = Raw(REG_QWORD, wintest::RandomBytes(8, 5));
      break;
    case 6:
      display = Raw(REG_NONE, "");
      listed->clear();
      standard = Absent();
      break;
    case 7:
      display = Text("");
      listed->clear();
      key = kPrefix + std::string(100, 'K');  // and a long key name
      break;
    case 8:
      display = Absent();
      listed->clear();
      rule = Absent();
      break;
    case 9:
      display = Text(n + std::string(508, 'a'));   // 511 bytes
      *listed = n + std::string(508, 'a');
      standard = Text(n + std::string(509, 'b'));  // 512
      daylight = Text(n + std::string(510, 'c'));  // 513
      break;
    case 10:
      display = Raw(REG_BINARY, n + std::string(509, 'B'));  // 512 bytes, no terminator
      *listed = n + std::string(508, 'B');
      break;
    case 11:
      display = Text(n + std::string(4093, 'L'));
      *listed = n + std::string(508, 'L');
      break;
    case 12:
      // Non-zero bytes of every value, 64 KB of them in the first few zones; listed, the first 508.
      display = Raw(REG_BINARY, n + NameBytes(i < 20 ? 65536 : 700, unsigned(i)));
      *listed = n + NameBytes(508, unsigned(i));
      break;
    case 13:
      display = Text("Zone \xE9\xE8\xFC\x80\x9F " + n);
      *listed = "Zone \xE9\xE8\xFC\x80\x9F " + n;
      standard = Text("Std \xC0\xFF " + n);
      break;
    case 14:
      display = Raw(REG_LINK, "Link " + n);
      *listed = "Link " + n;
      break;
    case 15:
      display = Raw(REG_RESOURCE_LIST, "Resources " + n + std::string("\0tail", 5));
      *listed = "Resources " + n;
      break;
    case 16:
      display = Text(n + std::string(i < 20 ? (1 << 20) : 2000, 'M'));
      *listed = n + std::string(508, 'M');
      break;
    case 17:
      standard = Text(std::string(i < 20 ? 65536 : 3000, 's'));
      daylight = Raw(REG_BINARY, wintest::RandomBytes(i < 20 ? 65536 : 3000, 3));
      break;
    case 18:
      rule = Raw(REG_BINARY, wintest::RandomBytes(i < 20 ? (1 << 20) : 100, 4));
      break;
    case 19:
      display = Text("(UTC+01:00) Campaign 000");  // the same name as zone 0
      *listed = "(UTC+01:00) Campaign 000";
      break;
  }
  return AddZone(key, display, standard, daylight, rule);
}

void HostileCatalogue() {
  // A run that stopped half-way may have left its copy or its zones behind.
  RestoreCatalogue();
  RemoveZones(kPrefix);
  const std::string original = CatalogueDump();
  if (!ok(original.size() > 1000 && SaveCatalogue(), "the prefix's catalogue cannot be copied"))
    return;

  Section("three hundred zones of every shape: the dialog lists those with a display name");
  std::vector<std::string> listed = CatalogueDisplayNames();
  bool added = true;
  for (int i = 0; i < kZones; ++i) {
    std::string entry;
    added = AddCampaignZone(i, &entry) && added;
    if (!entry.empty()) listed.push_back(entry);
  }
  ok(added, "the zones could not all be added");
  DeleteProgramKey();
  const std::string before = CatalogueDump();
  // OK on the zone whose display name is a megabyte long: it is listed, and saved, cut to 511
  // bytes.
  const std::string cut = "016" + std::string(508, 'M');
  QuorvelRun r = RunQuorvel("", [&](HWND dialog) {
    ok(SelectZone(dialog, cut), "the megabyte name is not listed cut to 511 bytes");
    wintest::Click(dialog, IDOK);
  });
  check_run(r, 1, true);
  check_listed(r.dialog.entries, listed);
  ok(std::count(r.dialog.entries.begin(), r.dialog.entries.end(), "(UTC+01:00) Campaign 000") ==
         1 + kZones / 20,
     "duplicate display names are not each listed");
  ok(ProgramValue("TZ0") == Field(cut), "TZ0 is not the cut name in its field");
  ok(CatalogueDump() == before, "the catalogue was written to");

  Section("silent start with that zone saved");
  SetProgramValue("State", Dword(0));
  const std::string key = KeySnapshot();
  check_run(RunQuorvel(""), 0, true);
  ok(KeySnapshot() == key, "the program key changed: %s", KeySnapshot().c_str());
  ok(CatalogueDump() == before, "the catalogue was written to");

  Section("a zone whose rule is not its 44 bytes: remembered, never applied");
  const std::string damaged = "(UTC+01:00) Campaign 018";  // a rule of a megabyte
  r = RunQuorvel("/x", [&](HWND dialog) {
    ok(SelectZone(dialog, damaged), "the zone is not listed");
    wintest::Click(dialog, IDOK);
  });
  check_run(r, 1, kRefusedZone);
  ok(ProgramValue("TZ0") == Field(damaged), "TZ0 is not the zone chosen");
  check_run(RunQuorvel(""), 0, kRefusedZone);
  DeleteProgramKey();

  Section("the catalogue is put back exactly");
  RemoveZones(kPrefix);
  const bool same = CatalogueDump() == original;
  ok(same, "the catalogue differs after the zones were removed");
  if (!same) RestoreCatalogue();
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kBackupRoot);
  ok(CatalogueDump() == original, "the catalogue is not as it was");
}

// A display name of two-byte characters longer than its field: listed, and saved on OK, cut
// between two characters, never through one (a half character would name no zone, and the
// choice would be lost). Needs an ANSI code page of two-byte characters (the Japanese run).
void LongTwoByteName() {
  Section("a long name of two-byte characters");
  if (!IsDBCSLeadByte(0x82)) {
    skip("the ANSI code page %u has no two-byte characters", GetACP());
    return;
  }
  const std::string key = "zzQuorvelTwoByte";
  std::string name = "(UTC+09:00) ";
  for (int i = 0; i < 300; ++i) name += "\x82\xA0";  // 600 bytes of one character
  const std::string cut = name.substr(0, 510);         // 511 would split a character
  ok(AddZone(key, Text(name), Text("Two Byte Std"), Text("Two Byte Dlt"),
             Raw(REG_BINARY, std::string(44, '\0'))),
     "cannot add the zone");
  DeleteProgramKey();
  QuorvelRun r = RunQuorvel("", [&](HWND dialog) {
    ok(SelectZone(dialog, cut), "the name is not listed cut to 510 bytes");
    wintest::Click(dialog, IDOK);
  });
  check_run(r, 1, true);
  ok(ProgramValue("TZ0") == Field(cut), "TZ0 is not the name cut between characters");
  DeleteProgramKey();
  RemoveZones(key);
}

// OK on a zone whose rule is not its 44 bytes: the program refuses it on every platform, with
// warning 108 in the language of the dialog's texts.
void RefusedZoneWarning() {
  Section("warning 108 for a zone whose rule cannot be read");
  const std::string key = "zzQuorvelDamagedRule", name = "(UTC+13:00) Quorvel Damaged Rule";
  ok(AddZone(key, Text(name), Text("Damaged Std"), Text("Damaged Dlt"),
             Raw(REG_BINARY, std::string(10, '\1'))),
     "cannot add the zone");
  DeleteProgramKey();
  QuorvelRun r = RunQuorvel("", [&](HWND dialog) {
    ok(SelectZone(dialog, name), "the zone is not listed");
    wintest::Click(dialog, IDOK);
  });
  check_run(r, 1, kRefusedZone);
  DeleteProgramKey();
  RemoveZones(key);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && strcmp(argv[1], "--texts") == 0) {
    LANGID want = static_cast<LANGID>(strtoul(argv[2], nullptr, 16));
    UINT codePage = static_cast<UINT>(strtoul(argv[3], nullptr, 10));
    ok(GetUserDefaultUILanguage() == want && GetACP() == codePage,
       "the user's language is 0x%04x and the code page %u (are 0x%04x and %u; is the locale "
       "installed?)",
       want, codePage, GetUserDefaultUILanguage(), GetACP());
    FirstStart(false);
    RefusedZoneWarning();
    LongTwoByteName();
    return wintest::Summary();
  }
  FirstStart(false);
  FirstStart(true);
  HostileCatalogue();
  LongTwoByteName();
  return wintest::Summary();
}
