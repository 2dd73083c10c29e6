#include "text_stream.h"

#include <cstdlib>
#include <cstring>

namespace {
constexpr size_t kFirstCapacity = 1024;

// Room for count more bytes and the terminator; false when the memory cannot be had.
bool Reserve(TextStream* s, size_t count) {
  if (count > SIZE_MAX / 2 - s->m_iLength) return false;
  size_t need = s->m_iLength + count + 1;
  if (need <= s->m_iCapacity) return true;
  size_t capacity = s->m_iCapacity ? s->m_iCapacity : kFirstCapacity;
  while (capacity < need) capacity *= 2;
  char* grown = static_cast<char*>(std::realloc(s->m_pText, capacity));
  if (!grown) return false;
  s->m_pText = grown;
  s->m_iCapacity = capacity;
  return true;
}

void PutBytes(TextStream* s, const char* bytes, size_t count) {
  if (s->m_bCut || count == 0) return;
  if (!Reserve(s, count)) {
    // Keep as much as the memory already held takes.
    s->m_bCut = true;
    size_t room = s->m_iCapacity > s->m_iLength ? s->m_iCapacity - s->m_iLength - 1 : 0;
    if (count > room) count = room;
    if (count == 0) return;
  }
  std::memcpy(s->m_pText + s->m_iLength, bytes, count);
  s->m_iLength += count;
  s->m_pText[s->m_iLength] = '\0';
}
}  // namespace

void TextStream::Clear() {
  m_iLength = 0;
  m_bCut = false;
  if (m_pText) m_pText[0] = '\0';
}

void TextStream::Put(char c) {
  PutBytes(this, &c, 1);
}

void TextStream::Put(const char* text) {
  if (text) PutBytes(this, text, std::strlen(text));
}

void TextStream::PutDecimal(int32_t value) {
  // Digits from the end of the buffer; the magnitude in unsigned arithmetic, so INT32_MIN is whole.
  char digits[12];
  size_t at = sizeof digits;
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    digits[--at] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits[--at] = '-';
  PutBytes(this, digits + at, sizeof digits - at);
}

const char* TextStream::Text() const {
  return m_pText ? m_pText : "";
}
