#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "code_page.h"
#include "quorvel.h"
#include "string_block.h"
#include "strings.h"
#include "winutils.h"

namespace {

// The modules searched for strings, in order. quorvel has one: its own program file; nothing adds
// others, so the list is never written and needs no lock.
HMODULE ResourceModule(unsigned index) { return index == 0 ? GetModuleHandleA(nullptr) : nullptr; }

// How the code page of the UTF-16 to ANSI conversion is found. Chosen once per process, at the
// first conversion; simultaneous first uses settle on the rule that was published first.
enum CodePageRule : LONG { kRuleUnset = 0, kRuleThreadAcp = 1, kRuleLocaleInfo = 2 };
volatile LONG g_codePageRule = kRuleUnset;

LONG ChooseCodePageRule() {
  OSVERSIONINFOA version;
  ZeroMemory(&version, sizeof version);
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
      version.dwMajorVersion >= 5) {
    return kRuleThreadAcp;
  }
  return kRuleLocaleInfo;
}

UINT ConversionCodePage() {
  LONG rule = InterlockedCompareExchange(&g_codePageRule, kRuleUnset, kRuleUnset);
  if (rule == kRuleUnset) {
    LONG chosen = ChooseCodePageRule();
    LONG before = InterlockedCompareExchange(&g_codePageRule, chosen, kRuleUnset);
    rule = before == kRuleUnset ? chosen : before;
  }
  if (rule == kRuleThreadAcp) return CP_THREAD_ACP;  // resolved by the platform at each call
  char digits[7];
  int n = GetLocaleInfoA(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, digits, sizeof digits);
  if (n <= 0 || digits[0] == '\0') return GetACP();
  digits[sizeof digits - 1] = '\0';
  UINT codePage = CodePageFromDigits(digits, sizeof digits);
  return codePage != 0 ? codePage : GetACP();
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

bool LoadResourceString(ResourceText& text, HMODULE module, UINT id) {
  WORD block = StringBlockNumber(static_cast<std::uint16_t>(id));
  HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(block), RT_STRING);
  if (resource == nullptr) return false;
  const unsigned char* entry = FindStringEntry(module, resource, id);
  if (entry == nullptr) return false;
  // The entry lies wholly inside the block (checked by the walk). Resource data is aligned, and
  // every entry starts at an even offset, so its code units can be read in place.
  const WCHAR* units = reinterpret_cast<const WCHAR*>(StringEntryUnits(entry));
  int count = StringEntryLength(entry);
  UINT codePage = ConversionCodePage();
  int bytes = WideCharToMultiByte(codePage, 0, units, count, nullptr, 0, nullptr, nullptr);
  char* out = bytes > 0 ? text.Replace(static_cast<std::size_t>(bytes)) : nullptr;
  if (out == nullptr) {
    // The conversion failed, or there is no memory for its result: the text is empty, the load
    // still counts.
    text.clear();
    return true;
  }
  int written = WideCharToMultiByte(codePage, 0, units, count, out, bytes, nullptr, nullptr);
  text.Cut(written > 0 ? static_cast<std::size_t>(written) : 0);
  return true;
}

void ShowResourceMessage(UINT id) {
  // A box where nobody can see it would never be closed, and the program would never end.
  if (!IsWindowStationVisible()) return;
  ResourceText text;
  HMODULE module = FindStringModule(id, 0);
  if (module != nullptr) LoadResourceString(text, module, id);
  MessageBoxA(nullptr, text.c_str(), nullptr, MB_OK | MB_ICONWARNING);
}

void ApplyDialogTexts(HWND dialog) {
  static const struct {
    int control;
    UINT id;
  } kRows[] = {
      {IDC_PROMPT, IDS_PROMPT},
      {IDC_SHOW_AT_STARTUP, IDS_SHOW_AT_STARTUP},
      {IDOK, IDS_OK},
      {IDCANCEL, IDS_CANCEL},
  };
  // One text serves all rows: a missing string leaves the previous row's text in place.
  ResourceText text;
  for (const auto& row : kRows) {
    HMODULE module = FindStringModule(row.id, 0);
    if (module != nullptr) LoadResourceString(text, module, row.id);
    SetDlgItemTextA(dialog, row.control, text.c_str());
  }
}
