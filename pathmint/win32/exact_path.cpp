#include "exact_path.h"

#include "exact_text.h"
#include "link_path.h"

size_t ExactAnsiCharacter(const WCHAR* character, size_t units, char* out) {
  // A UTF-8 code page holds every character and takes neither the flag nor the question.
  const bool utf8 = GetACP() == CP_UTF8;
  BOOL usedDefault = FALSE;
  const int count = WideCharToMultiByte(CP_ACP, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                                        character, static_cast<int>(units), out,
                                        static_cast<int>(kCharacterBytes), nullptr,
                                        utf8 ? nullptr : &usedDefault);
  return count > 0 && !usedDefault ? static_cast<size_t>(count) : 0;
}

size_t FirstInexactAnsi(const WCHAR* wide, const char* narrow, uint32_t* codePoint) {
  return FirstInexactCharacter<WCHAR>(wide, narrow, ExactAnsiCharacter, codePoint);
}

namespace {

// The short name of the item wide names, converted exactly, into out (capacity bytes).
bool ShortAnsiName(const WCHAR* wide, char* out, size_t capacity) {
  WCHAR shortName[kPathBufferSize];
  const DWORD length = GetShortPathNameW(wide, shortName, kPathBufferSize);
  return length > 0 && length < kPathBufferSize &&
         ExactText<WCHAR>(shortName, ExactAnsiCharacter, out, capacity);
}

// An item not made yet (a shortcut or folder to create) has no short name: its folder's short
// name, then its own name, which must be exact.
bool ShortFolderName(const WCHAR* wide, char* out, size_t capacity) {
  const WCHAR* leaf = nullptr;
  for (const WCHAR* at = wide; *at; ++at) {
    if (*at == L'\\') leaf = at;
  }
  if (!leaf || !leaf[1] || leaf - wide >= static_cast<ptrdiff_t>(kPathBufferSize)) return false;
  WCHAR folder[kPathBufferSize];
  lstrcpynW(folder, wide, static_cast<int>(leaf - wide) + 1);
  char shortFolder[kPathBufferSize];
  char name[kPathBufferSize];
  return ShortAnsiName(folder, shortFolder, sizeof shortFolder) &&
         ExactText<WCHAR>(leaf + 1, ExactAnsiCharacter, name, sizeof name) &&
         JoinFolderPath(out, capacity, shortFolder, name);
}

}  // namespace

bool ExactAnsiPath(const char* narrow, const WCHAR* wide, char* out, size_t capacity) {
  uint32_t codePoint = 0;
  if (capacity == 0) return false;
  if (FirstInexactAnsi(wide, narrow, &codePoint) == 0) return CopyPathText(out, capacity, narrow);
  if (ShortAnsiName(wide, out, capacity) || ShortFolderName(wide, out, capacity)) return true;
  out[0] = '\0';
  return false;
}
