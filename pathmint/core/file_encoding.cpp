#include "file_encoding.h"

namespace {

// A lead byte: how many continuation bytes follow it, and the range of the first one.
struct Lead {
  unsigned char first, last;  // the lead bytes of this row
  int continuations;
  unsigned char low, high;
};

// The well-formed sequences of the Unicode standard (C0, C1 and F5-FF lead nothing).
constexpr Lead kLeads[] = {
    {0xC2, 0xDF, 1, 0x80, 0xBF}, {0xE0, 0xE0, 2, 0xA0, 0xBF}, {0xE1, 0xEC, 2, 0x80, 0xBF},
    {0xED, 0xED, 2, 0x80, 0x9F}, {0xEE, 0xEF, 2, 0x80, 0xBF}, {0xF0, 0xF0, 3, 0x90, 0xBF},
    {0xF1, 0xF3, 3, 0x80, 0xBF}, {0xF4, 0xF4, 3, 0x80, 0x8F},
};

}  // namespace

void EncodingScan::Take(const unsigned char* bytes, size_t size) {
  for (size_t i = 0; i < size && !Settled(); ++i) TakeByte(bytes[i]);
}

void EncodingScan::TakeByte(unsigned char byte) {
  if (m_headBytes < sizeof m_head) m_head[m_headBytes++] = byte;
  if (m_invalid) return;
  if (m_pending > 0) {
    m_invalid = byte < m_low || byte > m_high;
    --m_pending;
    m_low = 0x80;
    m_high = 0xBF;
    return;
  }
  if (byte < 0x80) return;
  for (const Lead& lead : kLeads) {
    if (byte >= lead.first && byte <= lead.last) {
      m_pending = lead.continuations;
      m_low = lead.low;
      m_high = lead.high;
      m_multiByte = true;
      return;
    }
  }
  m_invalid = true;
}

bool EncodingScan::HasUtf16Mark() const {
  return m_headBytes >= 2 && ((m_head[0] == 0xFF && m_head[1] == 0xFE) ||
                              (m_head[0] == 0xFE && m_head[1] == 0xFF));
}

bool EncodingScan::HasUtf8Mark() const {
  return m_headBytes == 3 && m_head[0] == 0xEF && m_head[1] == 0xBB && m_head[2] == 0xBF;
}

bool EncodingScan::Settled() const {
  // The head decides first: until it is whole, a mark may still come of it.
  return HasUtf16Mark() || (m_headBytes == sizeof m_head && (HasUtf8Mark() || m_invalid));
}

FileEncoding EncodingScan::Encoding() const {
  if (HasUtf16Mark()) return FileEncoding::Utf16;
  if (HasUtf8Mark()) return FileEncoding::Utf8;
  // A sequence cut off by the end of the file is no UTF-8 either.
  return !m_invalid && m_pending == 0 && m_multiByte ? FileEncoding::Utf8 : FileEncoding::Ansi;
}
