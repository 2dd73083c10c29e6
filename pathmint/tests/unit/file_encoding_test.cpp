// The encoding told from a file's bytes: marks, UTF-8 as editors recognise it, and the ANSI text
// that must stay ANSI (Western single bytes, Shift-JIS pairs), taken whole and in pieces.
#include "file_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// The bytes taken in pieces of `piece` bytes, as long as more could change the result.
EncodingScan Scan(const std::string& bytes, size_t piece) {
  EncodingScan scan;
  for (size_t at = 0; at < bytes.size() && !scan.Settled(); at += piece) {
    scan.Take(reinterpret_cast<const unsigned char*>(bytes.data() + at),
              std::min(piece, bytes.size() - at));
  }
  return scan;
}

TEST(FileEncoding, MarksThenValidUtf8WithAMultiByteSequence) {
  const struct {
    FileEncoding encoding;
    bool settled;  // no byte added could change it
    std::vector<std::string> files;
  } groups[] = {
      // ASCII, UTF-16 without its mark, sequences cut off by the end, half a mark
      {FileEncoding::Ansi, false,
       {"", "[LINK CONFIG]\r\n", std::string(9, '\0'), "[\0L\0"s, "Caf\xC3", "ab\xE8\xA1",
        "ab\xF0\x9F\x98", "\x80", "\xEF\xBB", "\xFF", "\xFE"}},
      {FileEncoding::Utf8, false,
       {"C:\\Caf\xC3\xA9.txt", "\xE8\xA1\xA8", "\xF0\x9F\x98\x80",
        "\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF"}},  // U+D7FF, U+E000, U+10FFFF
      // é of code page 1252, also after UTF-8; Shift-JIS pairs whose second byte is a backslash
      // (表, ソ, one led by a UTF-8 lead byte), あい
      {FileEncoding::Ansi, true,
       {"Caf\xE9!", "Caf\xC3\xA9 Caf\xE9!", "C:\\\x95\\\\", "C:\\\x83\\", "C:\\\xE0\\",
        "\x82\xA0\x82\xA2"}},
      // overlong forms, surrogates, past U+10FFFF, no lead at all, lone continuation bytes, a
      // lead byte without its continuation
      {FileEncoding::Ansi, true,
       {"a\xC0\xAF", "a\xC1\xBF", "a\xE0\x80\xAF", "a\xE0\x9F\xBF", "a\xF0\x80\x80\xAF",
        "a\xF0\x8F\xBF\xBF", "a\xED\xA0\x80", "a\xED\xBF\xBF", "a\xF4\x90\x80\x80",
        "a\xF5\x80\x80\x80", "ab\xFF", "ab\xBF", "\xBF\xC3\xA9", "\xC3\xA9\xA9", "\xC3 b"}},
      // byte-order marks decide whatever follows
      {FileEncoding::Utf8, true,
       {"\xEF\xBB\xBF", "\xEF\xBB\xBF[LINK CONFIG]", "\xEF\xBB\xBF" "Caf\xE9"}},
      {FileEncoding::Utf16, true, {"\xFF\xFE", "\xFF\xFE[\0"s, "\xFE\xFF\0["s}},
  };
  for (const auto& g : groups) {
    for (const std::string& bytes : g.files) {
      SCOPED_TRACE(testing::PrintToString(bytes));
      for (size_t piece : {bytes.size() + 1, size_t(1), size_t(2), size_t(3)}) {
        EXPECT_EQ(Scan(bytes, piece).Encoding(), g.encoding) << piece;
        EXPECT_EQ(Scan(bytes, piece).Settled(), g.settled) << piece;
      }
    }
  }
}

}  // namespace
