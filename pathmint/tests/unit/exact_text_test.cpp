// The check that a narrow text is exactly the Unicode one it came from, over a code page of the
// test's own: ASCII, é as one byte, 表 as two (its second byte a backslash's), a character
// outside the first plane as four; Ł has no counterpart.
#include "exact_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

size_t TestCodePage(const char16_t* c, size_t units, char* out) {
  const char* bytes = units == 2 && c[0] == 0xD83D && c[1] == 0xDE00 ? "\xF0\x9F\x98\x80"
                      : c[0] == u'\u00E9'                              ? "\xE9"
                      : c[0] == u'\u8868'                              ? "\x95\\"
                      : c[0] < 0x80 && units == 1                      ? nullptr
                                                                       : "";
  if (!bytes) {
    out[0] = static_cast<char>(c[0]);
    return 1;
  }
  std::memcpy(out, bytes, std::strlen(bytes));
  return std::strlen(bytes);
}

TEST(ExactText, FindsTheFirstCharacterWithoutItsExactBytes) {
  const struct {
    const char16_t* wide;
    const char* narrow;
    size_t position;
    uint32_t codePoint;
  } cases[] = {
      {u"/T:caf\u00E9 /L:\u8868", "/T:caf\xE9 /L:\x95\\", 0, 0},
      {u"", "", 0, 0},
      {u"/T:\U0001F600", "/T:\xF0\x9F\x98\x80", 0, 0},
      {u"/T:\u0141og.txt", "/T:Log.txt", 4, 0x141},     // the look-alike
      {u"/T:\u0141og.txt", "/T:?og.txt", 4, 0x141},     // or the default character
      {u"/L:\u8868", "/L:\x95", 4, 0x8868},            // half of it
      {u"/L:x", "/L:xy", 5, 0},                        // the narrow one goes on
      {u"/L:xy", "/L:x", 5, 'y'},
      {u"a\xD83D" u"b", "a?b", 2, 0xD83D},            // a lone surrogate has none
      {u"\xFF02x y\xFF02", "\"x y\"", 1, 0xFF02},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.narrow);
    uint32_t codePoint = 12345;
    EXPECT_EQ(FirstInexactCharacter<char16_t>(c.wide, c.narrow, TestCodePage, &codePoint),
              c.position);
    if (c.position != 0) EXPECT_EQ(codePoint, c.codePoint);
    // The exact text exists, and is the narrow one, exactly when nothing differs.
    char out[16];
    const bool exact = ExactText<char16_t>(c.wide, TestCodePage, out, sizeof out);
    EXPECT_EQ(exact && std::string(out) == c.narrow, c.position == 0);
    if (!exact) EXPECT_STREQ(out, "");
  }
  char small[4];
  EXPECT_FALSE(ExactText<char16_t>(u"\u00E9\u00E9\u00E9\u00E9", TestCodePage, small, sizeof small));
  EXPECT_TRUE(ExactText<char16_t>(u"\u00E9\u00E9\u00E9", TestCodePage, small, sizeof small));
  // The report names a character beyond the first plane by all its digits.
  TextStream s = {nullptr, 0, 0, false};
  EXPECT_STREQ(InexactCommandLineText(&s, 932, 0x1F600, 3),
               "The command line holds a character that code page 932 cannot represent: U+1F600, "
               "character 3 of the arguments.");
  std::free(s.m_pText);
}

TEST(ExactText, ArgumentsFollowTheProgramName) {
  const struct {
    const char* line;
    const char* arguments;
  } cases[] = {
      {"\"C:\\My Tools\\pathmint.exe\"  /L:x /T:y", "/L:x /T:y"},
      {"\"C:\\Tools\\pathmint.exe\"/T:x", "/T:x"},
      {"pathmint\t/L:\"a b\"", "/L:\"a b\""},
      {"\"C:\\unterminated /L:x", ""},
      {"pathmint", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(CommandLineArguments(c.line), c.arguments) << c.line;
    const std::u16string wide(c.line, c.line + std::strlen(c.line));
    EXPECT_EQ(CommandLineArguments(wide.c_str()) - wide.c_str(),
              CommandLineArguments(c.line) - c.line);
  }
}

}  // namespace
