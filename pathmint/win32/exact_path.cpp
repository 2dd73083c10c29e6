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

bool ExactAnsiPath(const char* narrow, const WCHAR* wide, char* out, size_t capacity) {
  uint32_t codePoint = 0;
  if (capacity == 0) return false;
  if (FirstInexactAnsi(wide, narrow, &codePoint) == 0) return CopyPathText(out, capacity, narrow);
  WCHAR shortName[kPathBufferSize];
  const DWORD length = GetShortPathNameW(wide, shortName, kPathBufferSize);
  if (length > 0 && length < kPathBufferSize &&
      ExactText<WCHAR>(shortName, ExactAnsiCharacter, out, capacity)) {
    return true;
  }
  out[0] = '\0';
  return false;
}
