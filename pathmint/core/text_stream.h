// The text stream the usage text is written to: it grows as it is written, in C-runtime memory,
// because the text has no fixed bound (a value shown in it may be as long as the command line).
#ifndef PATHMINT_TEXT_STREAM_H
#define PATHMINT_TEXT_STREAM_H

#include <cstddef>
#include <cstdint>

// A plain value without constructor or destructor: an instance lives for the whole process and
// keeps its memory for the next text. When memory runs out, the text keeps what was written up
// to then and takes nothing more (it is cut, never overrun).
struct TextStream {
  // Empties the text.
  void Clear();
  void Put(char c);
  // A null text writes nothing.
  void Put(const char* text);
  // The value in decimal, with a minus sign when negative.
  void PutDecimal(int32_t value);
  // The text written since the last Clear, zero-terminated.
  const char* Text() const;

  char* m_pText;       // null until something was written
  size_t m_iLength;    // bytes written, without the terminator
  size_t m_iCapacity;  // bytes of m_pText
  bool m_bCut;         // memory ran out: nothing more is taken until Clear
};

#endif
