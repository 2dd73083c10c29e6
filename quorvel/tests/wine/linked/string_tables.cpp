// quorvel's string loading against its real string tables: the program file is loaded as a data
// file and its module handed to the loading functions, which are built into this test program.
#include <string.h>

#include <string>
#include <vector>

#include "../quorvel_test.h"

// The functions under test (this also gives the linked zone parts their ShowResourceMessage).
#include "../../../win32/strings.cpp"

using quorvel::English;
using quorvel::kDialogTexts;
using wintest::Section;

namespace {

// The 27 languages of the tables.
const LANGID kAllLanguages[] = {0x0401, 0x0404, 0x0405, 0x0406, 0x0407, 0x0408, 0x0409,
                                0x040B, 0x040C, 0x040D, 0x040E, 0x0410, 0x0411, 0x0412,
                                0x0413, 0x0414, 0x0415, 0x0416, 0x0419, 0x041B, 0x041D,
                                0x041E, 0x041F, 0x0424, 0x0804, 0x0816, 0x0C0A};

std::wstring Wide(const char* utf8) { return wintest::Wide(utf8, CP_UTF8); }

std::wstring EntryText(const unsigned char* entry) {
  std::wstring out;
  const unsigned char* units = StringEntryUnits(entry);
  for (unsigned i = 0; i < StringEntryLength(entry); ++i)
    out += static_cast<wchar_t>(units[2 * i] | (units[2 * i + 1] << 8));
  return out;
}

// The entry of id in the table of one language, found through the resource functions.
const unsigned char* EntryIn(HMODULE module, LANGID language, UINT id) {
  HRSRC block = FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), language);
  return block ? FindStringEntry(module, block, id) : nullptr;
}

void EnglishTable(HMODULE quorvel) {
  Section("the English table, loaded and converted");
  SetThreadLocale(MAKELCID(0x0409, SORT_DEFAULT));
  ResourceText text = "a text that is longer than any of the strings it is replaced by";
  for (UINT id = 103; id <= 116; ++id) {
    const char* want = English(id);
    bool loaded = LoadResourceString(text, quorvel, id);
    ok(loaded && text == want, "id %u: loaded %d, \"%s\"", id, loaded, text.c_str());
    ok(text.size() == strlen(want) && text.c_str()[text.size()] == '\0',
       "id %u: length %u counts the bytes, a zero byte follows", id, (unsigned)text.size());
  }
}

void MissingStrings(HMODULE quorvel) {
  Section("empty entries and missing blocks leave the text as it was");
  std::vector<UINT> ids;
  for (UINT id = 96; id <= 102; ++id) ids.push_back(id);
  for (UINT id = 117; id <= 127; ++id) ids.push_back(id);
  for (UINT id : {0u, 95u, 128u, 200u, 65535u}) ids.push_back(id);
  for (UINT id : ids) {
    ResourceText text = "unchanged";
    ok(!LoadResourceString(text, quorvel, id), "id %u is not loaded", id);
    ok(text == "unchanged", "id %u leaves the text: \"%s\"", id, text.c_str());
    ok(EntryIn(quorvel, 0x0409, id) == nullptr, "id %u has no English entry", id);
  }
}

void TablesOfEachLanguage(HMODULE quorvel) {
  Section("the dialog texts and warning 108 of several tables, found by language");
  for (const quorvel::DialogTexts& lang : kDialogTexts) {
    for (UINT id = 104; id <= 108; ++id) {
      const unsigned char* entry = EntryIn(quorvel, lang.language, id);
      ok(entry && EntryText(entry) == Wide(lang.texts[id - 104]), "language 0x%04x id %u is \"%s\"",
         lang.language, id, lang.texts[id - 104]);
    }
  }
  Section("block 8 is the same in all 27 tables");
  for (LANGID language : kAllLanguages) {
    for (UINT id = 112; id <= 116; ++id) {
      const unsigned char* entry = EntryIn(quorvel, language, id);
      ok(entry && EntryText(entry) == Wide(English(id)), "language 0x%04x id %u", language, id);
    }
    for (UINT id = 117; id <= 127; ++id) {
      ok(EntryIn(quorvel, language, id) == nullptr, "language 0x%04x id %u is empty", language, id);
    }
  }
}

// The text as the ANSI code page holds it, or "" where it holds only look-alikes of some of its
// characters (the conversion does not come back to the text).
std::string Showable(const char* utf8) {
  const std::string ansi = wintest::Narrow(Wide(utf8));
  return wintest::Wide(ansi) == Wide(utf8) ? ansi : "";
}

void ThreadLanguage(HMODULE quorvel) {
  // The table follows the thread's language at every load; the text is in the ANSI code page,
  // with which the narrow controls decode it, or not given at all where that code page cannot
  // hold it: never a look-alike or the default character.
  Section("the thread's language picks the table; the text is the ANSI code page's exactly");
  for (const quorvel::DialogTexts& lang : kDialogTexts) {
    SetThreadLocale(MAKELCID(lang.language, SORT_DEFAULT));
    for (UINT id = 104; id <= 108; ++id) {
      ResourceText text = "a text that an unshown string must not leave in place";
      const StringLoad loaded = LoadResourceString(text, quorvel, id);
      const std::string want = Showable(lang.texts[id - 104]);
      const StringLoad wantLoad = want.empty() ? kNotShowable : kLoaded;
      ok(loaded == wantLoad && text == want.c_str(),
         "thread language 0x%04x id %u: loaded %d (want %d), %u bytes (want %u)", lang.language, id,
         loaded, wantLoad, (unsigned)text.size(), (unsigned)want.size());
    }
    // The English table, asked for by its language, whatever the thread's.
    ResourceText text;
    ok(LoadResourceString(text, quorvel, IDS_PROMPT, 0x0409) == kLoaded &&
           text == English(IDS_PROMPT),
       "thread language 0x%04x: the English prompt is \"%s\"", lang.language, text.c_str());
  }
  SetThreadLocale(MAKELCID(0x0409, SORT_DEFAULT));
}

// A dialog with the four controls that ApplyDialogTexts fills, made in memory.
HWND MakeDialog() {
  alignas(4) static WORD buf[512];
  memset(buf, 0, sizeof buf);
  WORD* p = buf;
  DLGTEMPLATE* t = reinterpret_cast<DLGTEMPLATE*>(p);
  t->style = WS_POPUP | WS_CAPTION;
  t->cdit = 4;
  t->cx = 200;
  t->cy = 80;
  p = reinterpret_cast<WORD*>(t + 1);
  *p++ = 0;  // no menu
  *p++ = 0;  // default class
  *p++ = 0;  // no caption
  const int ids[] = {IDC_PROMPT, IDC_SHOW_AT_STARTUP, IDOK, IDCANCEL};
  for (int i = 0; i < 4; ++i) {
    p = reinterpret_cast<WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
    DLGITEMTEMPLATE* item = reinterpret_cast<DLGITEMTEMPLATE*>(p);
    item->style = WS_CHILD | WS_VISIBLE;
    item->y = static_cast<short>(i * 15);
    item->cx = 150;
    item->cy = 12;
    item->id = static_cast<WORD>(ids[i]);
    p = reinterpret_cast<WORD*>(item + 1);
    *p++ = 0xFFFF;
    *p++ = 0x0082;  // static
    for (const char* s = "template"; *s; ++s) *p++ = static_cast<WORD>(*s);
    *p++ = 0;
    *p++ = 0;  // no creation data
  }
  return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<DLGTEMPLATE*>(buf),
                                    nullptr, nullptr, 0);
}

void TextsMissingFromTheProgram() {
  // This test program carries no string tables: every lookup in its own module fails, and the
  // controls get the shared text, which stays empty.
  Section("a module without string tables");
  for (UINT id = 103; id <= 116; ++id) ok(FindStringModule(id, 0) == nullptr, "id %u is not found", id);
  HWND dialog = MakeDialog();
  if (!ok(dialog != nullptr, "the test dialog is made")) return;
  ApplyDialogTexts(dialog);
  for (int id : {IDC_PROMPT, IDC_SHOW_AT_STARTUP, IDOK, IDCANCEL}) {
    char text[64] = "?";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    ok(text[0] == '\0', "control %d is empty: \"%s\"", id, text);
  }
  DestroyWindow(dialog);
}

}  // namespace

int main() {
  std::string path = wintest::ExeDir() + "quorvel.exe";
  HMODULE quorvel = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!ok(quorvel != nullptr, "quorvel.exe loads as a data file")) return wintest::Summary();
  EnglishTable(quorvel);
  MissingStrings(quorvel);
  TablesOfEachLanguage(quorvel);
  ThreadLanguage(quorvel);
  TextsMissingFromTheProgram();
  FreeLibrary(quorvel);
  return wintest::Summary();
}
