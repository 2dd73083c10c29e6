// How a text file is encoded, told from its bytes alone, as editors tell it: by a byte-order mark,
// else by whether the bytes are valid UTF-8 holding at least one multi-byte sequence. ANSI text of
// the Western code pages (é as one byte) is not valid UTF-8, and double-byte text (Shift-JIS)
// practically never is; pure ASCII is ANSI. The bytes come in pieces of any size, so that a file
// of any length is read through a fixed buffer.
#ifndef PATHMINT_FILE_ENCODING_H
#define PATHMINT_FILE_ENCODING_H

#include <cstddef>

enum class FileEncoding { Ansi, Utf16, Utf8 };

class EncodingScan {
 public:
  // Takes the next size bytes of the file.
  void Take(const unsigned char* bytes, size_t size);
  // True when no further byte can change Encoding(): a mark, or bytes that are not UTF-8.
  bool Settled() const;
  // The encoding of a file that holds exactly the bytes taken so far.
  FileEncoding Encoding() const;

 private:
  bool HasUtf16Mark() const;
  bool HasUtf8Mark() const;
  void TakeByte(unsigned char byte);

  unsigned char m_head[3] = {};  // the first bytes, where a mark would be
  size_t m_headBytes = 0;
  // The continuation bytes the current sequence still needs, and the range of the next one
  // (narrower after some lead bytes: no overlong form, surrogate or code point past U+10FFFF).
  int m_pending = 0;
  unsigned char m_low = 0x80, m_high = 0xBF;
  bool m_multiByte = false;
  bool m_invalid = false;
};

#endif
