#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "quorvel.h"
#include "string_block.h"
#include "strings.h"
#include "winutils.h"

namespace {

// The modules searched for strings, in order. quorvel has one: its own program file; nothing adds
// others, so the list is never written and needs no lock.
HMODULE ResourceModule(unsigned index) { return index == 0 ? GetModuleHandleA(nullptr) : nullptr; }

const LANGID kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// Converts UTF-16 text into the ANSI code page, with which the narrow controls and message boxes
// decode it: exactly, or not at all. A character the code page lacks is never replaced by a
// look-alike or the default character. A code page of UTF-8 holds every character and takes no
// such flags.
int ToAnsiExactly(const WCHAR* units, int count, char* out, int size) {
  const bool utf8 = GetACP() == CP_UTF8;
  BOOL usedDefault = FALSE;
  int bytes = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, units, count, out, size,
                                  nullptr, utf8 ? nullptr : &usedDefault);
  return usedDefault ? 0 : bytes;
}

}  // namespace

ResourceText::ResourceText(const char* text) {
  std::size_t size = std::strlen(text);
  char* bytes = Replace(size);
  if (bytes != nullptr) std::memcpy(bytes, text, size);
}

ResourceText::~ResourceText() {
  std::free(m_text);
}

char* ResourceText::Replace(std::size_t size) {
  char* bytes = size < SIZE_MAX ? static_cast<char*>(std::realloc(m_text, size + 1)) : nullptr;
  if (bytes == nullptr) {
    clear();
    return nullptr;
  }
  std::memset(bytes, 0, size + 1);
  m_text = bytes;
  m_size = size;
  return bytes;
}

void ResourceText::Cut(std::size_t size) {
  if (size >= m_size) return;
  m_size = size;
  m_text[size] = '\0';
}

bool ResourceText::operator==(const char* other) const {
  return std::strlen(other) == m_size && std::memcmp(c_str(), other, m_size) == 0;
}

HMODULE FindStringModule(UINT id, LANGID language) {
  WORD block = StringBlockNumber(static_cast<std::uint16_t>(id));
  for (unsigned i = 0;; ++i) {
    HMODULE module = ResourceModule(i);
    if (module == nullptr) return nullptr;
    HRSRC resource = FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(block), language);
    if (resource != nullptr && FindStringEntry(module, resource, id) != nullptr) return module;
  }
}

const unsigned char* FindStringEntry(HMODULE module, HRSRC resource, UINT id) {
  HGLOBAL loaded = LoadResource(module, resource);
  if (loaded == nullptr) return nullptr;
  const void* data = LockResource(loaded);
  if (data == nullptr) return nullptr;
  DWORD size = SizeofResource(module, resource);
  return FindStringEntry(static_cast<const unsigned char*>(data), size,
                         static_cast<std::uint16_t>(id));
}

StringLoad LoadResourceString(ResourceText& text, HMODULE module, UINT id, LANGID language) {
  WORD block = StringBlockNumber(static_cast<std::uint16_t>(id));
  HRSRC resource =
      language == 0 ? FindResourceA(module, MAKEINTRESOURCEA(block), RT_STRING)
                    : FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(block), language);
  if (resource == nullptr) return kNoString;
  const unsigned char* entry = FindStringEntry(module, resource, id);
  if (entry == nullptr) return kNoString;
  // The entry lies wholly inside the block (checked by the walk). Resource data is aligned, and
  // every entry starts at an even offset, so its code units can be read in place.
  const WCHAR* units = reinterpret_cast<const WCHAR*>(StringEntryUnits(entry));
  int count = StringEntryLength(entry);
  int bytes = ToAnsiExactly(units, count, nullptr, 0);
  if (bytes == 0 && count > 0) {
    text.clear();
    return kNotShowable;
  }
  char* out = bytes > 0 ? text.Replace(static_cast<std::size_t>(bytes)) : nullptr;
  if (out == nullptr) {
    // An empty entry, or no memory for the text: the text is empty, the load still counts.
    text.clear();
    return kLoaded;
  }
  int written = ToAnsiExactly(units, count, out, bytes);
  text.Cut(written > 0 ? static_cast<std::size_t>(written) : 0);
  return written > 0 ? kLoaded : kNotShowable;
}

LANGID ShownLanguage(const UINT* ids, std::size_t count) {
  ResourceText text;
  for (std::size_t i = 0; i < count; ++i) {
    HMODULE module = FindStringModule(ids[i], 0);
    if (module != nullptr && LoadResourceString(text, module, ids[i], 0) == kNotShowable) {
      return kEnglishUs;
    }
  }
  return 0;
}

void ShowResourceMessage(UINT id) {
  // A box where nobody can see it would never be closed, and the program would never end.
  if (!IsWindowStationVisible()) return;
  const LANGID language = ShownLanguage(&id, 1);
  ResourceText text;
  HMODULE module = FindStringModule(id, language);
  if (module != nullptr) LoadResourceString(text, module, id, language);
  MessageBoxA(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONWARNING);
}

void ApplyDialogTexts(HWND dialog) {
  static const int kControls[] = {IDC_PROMPT, IDC_SHOW_AT_STARTUP, IDOK, IDCANCEL};
  static const UINT kIds[] = {IDS_PROMPT, IDS_SHOW_AT_STARTUP, IDS_OK, IDS_CANCEL};
  // The dialog speaks one language: English where any of its texts cannot be shown.
  const LANGID language = ShownLanguage(kIds, sizeof kIds / sizeof kIds[0]);
  // One text serves all rows: a missing string leaves the previous row's text in place.
  ResourceText text;
  for (std::size_t i = 0; i < sizeof kIds / sizeof kIds[0]; ++i) {
    HMODULE module = FindStringModule(kIds[i], language);
    if (module != nullptr) LoadResourceString(text, module, kIds[i], language);
    SetDlgItemTextA(dialog, kControls[i], text.c_str());
  }
}
