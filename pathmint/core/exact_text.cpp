#include "exact_text.h"

namespace {

// "U+" and the code point in at least four upper-case hexadecimal digits.
void PutCodePoint(TextStream* out, uint32_t codePoint) {
  char digits[8];
  size_t at = sizeof digits;
  do {
    digits[--at] = "0123456789ABCDEF"[codePoint & 0xF];
    codePoint >>= 4;
  } while (codePoint != 0 || at > sizeof digits - 4);
  out->Put("U+");
  for (; at < sizeof digits; ++at) out->Put(digits[at]);
}

void PutCodePage(TextStream* out, const char* what, unsigned codePage) {
  out->Clear();
  out->Put(what);
  out->Put(" holds a character that code page ");
  out->PutDecimal(static_cast<int32_t>(codePage));
  out->Put(" cannot represent");
}

}  // namespace

const char* InexactCommandLineText(TextStream* out, unsigned codePage, uint32_t codePoint,
                                   size_t position) {
  PutCodePage(out, "The command line", codePage);
  out->Put(": ");
  if (codePoint != 0) {
    PutCodePoint(out, codePoint);
    out->Put(", ");
  }
  out->Put("character ");
  out->PutDecimal(static_cast<int32_t>(position));
  out->Put(" of the arguments.");
  return out->Text();
}

const char* InexactDirectoryText(TextStream* out, unsigned codePage) {
  PutCodePage(out, "The current directory", codePage);
  out->Put(".\nStart Pathmint from another directory.");
  return out->Text();
}
