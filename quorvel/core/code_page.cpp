#include "code_page.h"

unsigned CodePageFromDigits(const char* text, unsigned maxChars) {
  // Unsigned arithmetic: a stray character gives a wrong number, never undefined behaviour.
  unsigned value = 0;
  for (unsigned i = 0; i < maxChars && text[i] != '\0'; ++i) {
    value = value * 10u + (static_cast<unsigned>(static_cast<unsigned char>(text[i])) - '0');
  }
  return value;
}
