// The encoding told from a file's bytes: marks, UTF-8 as editors recognise it, and the ANSI text
// that must stay ANSI (Western single bytes, Shift-JIS pairs), taken whole and in pieces.
#include "file_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

constexpr FileEncoding kAnsi = FileEncoding::Ansi, kUtf8 = FileEncoding::Utf8,
                       kUtf16 = FileEncoding::Utf16;

// The bytes taken in pieces of `piece` bytes, as long as more could change the result.
EncodingScan Scan(const std::string& bytes, size_t piece) {
  EncodingScan scan;
  for (size_t at = 0; at < bytes.size() && !scan.Settled(); at += piece) {
    const std::string part = bytes.substr(at, piece);
    scan.Take(reinterpret_cast<const unsigned char*>(part.data()), part.size());
  }
  return scan;
}

TEST(FileEncoding, MarksThenValidUtf8WithAMultiByteSequence) {
  const struct {
    std::string bytes;
    FileEncoding encoding;
    bool settled;  // no byte added could change it
  } cases[] = {
      {"", kAnsi, false},
      {"[LINK CONFIG]\r\nTarget=C:\\x.exe\r\n", kAnsi, false},  // ASCII
      {std::string(1000, '\0'), kAnsi, false},
      {"Target=C:\\Caf\xC3\xA9.txt", kUtf8, false},
      {"\xE8\xA1\xA8", kUtf8, false},                 // 表
      {"\xF0\x9F\x98\x80", kUtf8, false},             // beyond the first plane
      {"\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF", kUtf8, false},  // U+D7FF, U+E000, U+10FFFF
      {"Target=C:\\Caf\xE9.txt", kAnsi, true},        // é of code page 1252
      {"Caf\xC3\xA9 Caf\xE9!", kAnsi, true},          // UTF-8 first, then not
      // Shift-JIS pairs whose second byte is a backslash: 表, ソ, and one led by a UTF-8 lead
      {"C:\\\x95\\\\", kAnsi, true},
      {"C:\\\x83\\", kAnsi, true},
      {"C:\\\xE0\\", kAnsi, true},
      {"\x82\xA0\x82\xA2", kAnsi, true},              // あい
      // truncated at the end
      {"Caf\xC3", kAnsi, false},
      {"ab\xE8\xA1", kAnsi, false},
      {"ab\xF0\x9F\x98", kAnsi, false},
      {"\xC3 b", kAnsi, true},                        // not followed by its continuation
      // overlong forms, surrogates and code points past U+10FFFF
      {"a/\xC0\xAF", kAnsi, true},
      {"a/\xC1\xBF", kAnsi, true},
      {"a/\xE0\x80\xAF", kAnsi, true},
      {"a/\xE0\x9F\xBF", kAnsi, true},
      {"a/\xF0\x80\x80\xAF", kAnsi, true},
      {"a/\xF0\x8F\xBF\xBF", kAnsi, true},
      {"a/\xED\xA0\x80", kAnsi, true},
      {"a/\xED\xBF\xBF", kAnsi, true},
      {"a/\xF4\x90\x80\x80", kAnsi, true},
      {"a/\xF5\x80\x80\x80", kAnsi, true},
      {"a/\xFF", kAnsi, true},
      // a lone continuation byte
      {"\x80", kAnsi, false},                         // too short for a mark yet
      {"ab\xBF", kAnsi, true},
      {"\xC3\xA9\xA9", kAnsi, true},
      // byte-order marks decide whatever follows
      {"\xEF\xBB\xBF", kUtf8, true},
      {"\xEF\xBB\xBF[LINK CONFIG]\r\n", kUtf8, true},
      {"\xEF\xBB\xBF" "Caf\xE9", kUtf8, true},
      {"\xFF\xFE", kUtf16, true},
      {"\xFF\xFE[\0L\0"s, kUtf16, true},
      {"\xFE\xFF\0[\0L"s, kUtf16, true},
      {"\xEF\xBB", kAnsi, false},                     // half a mark
      {"\xFF", kAnsi, false},
      {"\xFE", kAnsi, false},
      {"[\0L\0I\0"s, kAnsi, false},                    // UTF-16 without its mark
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    for (size_t piece : {c.bytes.size() + 1, size_t(1), size_t(2), size_t(3)}) {
      SCOPED_TRACE(piece);
      const EncodingScan scan = Scan(c.bytes, piece);
      EXPECT_EQ(scan.Encoding(), c.encoding);
      EXPECT_EQ(scan.Settled(), c.settled);
    }
    if (!c.settled) continue;
    for (const char* more : {"\xE9", "\xC3\xA9", "x"}) {
      EXPECT_EQ(Scan(c.bytes + more, 1).Encoding(), c.encoding) << testing::PrintToString(more);
    }
  }
}

}  // namespace
