#include "link_path.h"

#include "command_line_split.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Extended(const char* input, size_t capacity = kPathBufferSize) {
  std::vector<char> buffer(capacity, '\0');
  strncpy(buffer.data(), input, capacity - 1);
  EXPECT_TRUE(EnsureLinkExtension(buffer.data(), capacity)) << input;
  return buffer.data();
}

TEST(EnsureLinkExtension, AppendsUnlessTheNameEndsInTheExtension) {
  struct Case {
    const char* input;
    const char* expected;
  };
  const Case cases[] = {
      {"Report", "Report.lnk"},
      {"Report.LnK", "Report.LnK"},
      {"Report.LNK", "Report.LNK"},
      {"Report.lnk", "Report.lnk"},
      {"Report.txt", "Report.txt.lnk"},
      {"Report.", "Report..lnk"},
      {"C:\\My.Files\\Report", "C:\\My.Files\\Report.lnk"},
      {"C:\\Desktop\\App", "C:\\Desktop\\App.lnk"},
      {"C:\\Desktop\\App.LNK", "C:\\Desktop\\App.LNK"},
      {"Report.lnk.txt", "Report.lnk.txt.lnk"},
      {"Report.lnkx", "Report.lnkx.lnk"},
      {"Report.ln", "Report.ln.lnk"},
      {"Report.lnk ", "Report.lnk .lnk"},
      {".lnk", ".lnk"},
      {"Tools\\App", "Tools\\App.lnk"},
      // Only a to z compare without case: a byte above 0x7F is not folded.
      {"Report.\xECnk", "Report.\xECnk.lnk"},
  };
  for (const Case& c : cases) EXPECT_EQ(Extended(c.input), c.expected) << c.input;
}

TEST(EnsureLinkExtension, RefusesWhatDoesNotFitAndLeavesThePathAlone) {
  // 255 characters plus ".lnk" are 259: the longest text a 260-byte buffer holds.
  std::string fits(255, 'a');
  EXPECT_EQ(Extended(fits.c_str()), fits + ".lnk");

  std::string tooLong(256, 'a');
  char buffer[kPathBufferSize];
  strcpy(buffer, tooLong.c_str());
  EXPECT_FALSE(EnsureLinkExtension(buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer), tooLong);

  // A 259-character name that already carries the extension needs no room.
  std::string full = std::string(255, 'b') + ".LNK";
  strcpy(buffer, full.c_str());
  EXPECT_TRUE(EnsureLinkExtension(buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer), full);

  // A buffer without a terminator is not read past its end.
  memset(buffer, 'c', sizeof buffer);
  EXPECT_FALSE(EnsureLinkExtension(buffer, sizeof buffer));
}

TEST(JoinFolderPath, PutsOneBackslashBetweenFolderAndName) {
  char out[kPathBufferSize];
  ASSERT_TRUE(JoinFolderPath(out, sizeof out, "C:\\Users\\Public\\Desktop", "Tools\\App"));
  EXPECT_STREQ(out, "C:\\Users\\Public\\Desktop\\Tools\\App");
  // The name is not trimmed: a leading backslash stays.
  ASSERT_TRUE(JoinFolderPath(out, sizeof out, "C:\\Desk", "\\App"));
  EXPECT_STREQ(out, "C:\\Desk\\\\App");

  std::string folder(200, 'f');
  std::string name(58, 'n');  // 200 + 1 + 58 = 259
  ASSERT_TRUE(JoinFolderPath(out, sizeof out, folder.c_str(), name.c_str()));
  EXPECT_EQ(strlen(out), 259u);
  name += 'n';
  EXPECT_FALSE(JoinFolderPath(out, sizeof out, folder.c_str(), name.c_str()));
  EXPECT_STREQ(out, "");
}

TEST(CopyPathText, CopiesWhatFitsAndRefusesTheRest) {
  char out[8];
  EXPECT_TRUE(CopyPathText(out, sizeof out, "1234567"));
  EXPECT_STREQ(out, "1234567");
  EXPECT_FALSE(CopyPathText(out, sizeof out, "12345678"));
  EXPECT_STREQ(out, "");
  EXPECT_TRUE(CopyPathText(out, sizeof out, nullptr));
  EXPECT_STREQ(out, "");
}

std::string Line(const char* target, const char* arguments, const char* link) {
  char out[kPathBufferSize];
  EXPECT_TRUE(BuildRelaunchLine(out, sizeof out, target, arguments, link));
  return out;
}

TEST(BuildRelaunchLine, PlainValuesGiveTheLineByteForByte) {
  EXPECT_EQ(Line("C:\\Tools\\app.exe", "x y", "C:\\Users\\me\\Desktop\\App.lnk"),
            "-exec /T:\"C:\\Tools\\app.exe\" /A:\"x y\" /L:\"C:\\Users\\me\\Desktop\\App.lnk\"");
  EXPECT_EQ(Line("C:\\Tools\\app.exe", nullptr, "App.lnk"),
            "-exec /T:\"C:\\Tools\\app.exe\" /L:\"App.lnk\"");
  EXPECT_EQ(Line("C:\\Tools\\app.exe", "", "App.lnk"),
            "-exec /T:\"C:\\Tools\\app.exe\" /L:\"App.lnk\"");
  // Backslashes that stand before anything but a quote are not doubled.
  EXPECT_EQ(Line("\\\\server\\share\\a b.exe", "-v \\\\x", "\\\\server\\l.lnk"),
            "-exec /T:\"\\\\server\\share\\a b.exe\" /A:\"-v \\\\x\" /L:\"\\\\server\\l.lnk\"");
}

TEST(BuildRelaunchLine, EscapesQuotesAndBackslashesBeforeThem) {
  struct Case {
    const char* arguments;
    const char* written;  // the /A: field as it appears in the line
  };
  const Case cases[] = {
      {"say \"hi\"", "/A:\"say \\\"hi\\\"\""},
      {"C:\\Temp\\", "/A:\"C:\\Temp\\\\\""},
      {"a\\\"b", "/A:\"a\\\\\\\"b\""},
      {"\"", "/A:\"\\\"\""},
      {"\\\\", "/A:\"\\\\\\\\\""},
      {"\"two words\" C:\\Temp\\", "/A:\"\\\"two words\\\" C:\\Temp\\\\\""},
  };
  for (const Case& c : cases) {
    std::string line = Line("t.exe", c.arguments, "l.lnk");
    EXPECT_EQ(line, std::string("-exec /T:\"t.exe\" ") + c.written + " /L:\"l.lnk\"") << c.arguments;
  }
}

void ExpectRoundTrip(const std::string& target, const std::string& arguments,
                     const std::string& link, LeadByteTest isLeadByte = nullptr) {
  char out[kPathBufferSize];
  ASSERT_TRUE(BuildRelaunchLine(out, sizeof out, target.c_str(), arguments.c_str(), link.c_str(),
                                isLeadByte));
  std::vector<std::string> expected = {"-exec", "/T:" + target};
  if (!arguments.empty()) expected.push_back("/A:" + arguments);
  expected.push_back("/L:" + link);
  EXPECT_EQ(SplitCommandLine(out, isLeadByte), expected) << "line: " << out;
}

TEST(BuildRelaunchLine, WalksTheTwoByteCharactersOfCodePage932) {
  // 表, ソ and 予 end in 0x5C, a backslash's byte, which is no backslash to the splitting.
  const char* values[] = {"\x97\x5C\x92\xE8\x95\x5C", "\x83\x5C", "\x97\x5C\\",
                          "C:\\jp\\\x95\x5C", "\"\x95\x5C\" \x83\x5C\\\"\x83\x5C\\"};
  for (const char* v : values) ExpectRoundTrip(v, v, v, IsCp932LeadByte);
  char out[kPathBufferSize];  // half a character would take the closing quote
  EXPECT_FALSE(BuildRelaunchLine(out, sizeof out, "t", "a\x95", "l", IsCp932LeadByte));
}

TEST(BuildRelaunchLine, SplittingGivesBackEveryValue) {
  const char* values[] = {"plain",       "two words", "C:\\Temp\\",   "\"quoted\"",
                          "a\\\"b",      "\\",        "\\\\\"\\\\",   "tab\there",
                          "end\\\\",     "\"",        "\" \\ \"\\ ", "/L:\"x\""};
  for (const char* target : values) {
    for (const char* arguments : values) ExpectRoundTrip(target, arguments, "C:\\D\\App.lnk");
    ExpectRoundTrip("app.exe", "", target);
    ExpectRoundTrip("app.exe", target, target);
  }

  // Random values over the characters that matter to the splitting.
  std::mt19937 random(20071212);
  const char alphabet[] = {'a', ' ', '\t', '\\', '"', '/', ':'};
  for (int round = 0; round < 2000; ++round) {
    std::string v[3];
    for (std::string& s : v) {
      size_t length = random() % 20;
      for (size_t i = 0; i < length; ++i) s += alphabet[random() % sizeof alphabet];
    }
    ExpectRoundTrip("t" + v[0], v[1], v[2] + ".lnk");
  }
}

TEST(BuildRelaunchLine, RefusesALineThatDoesNotFit) {
  // "-exec /T:\"\" /L:\"\"" is 17 characters; with the link name L, a target of 241 gives 259.
  std::string target(241, 't');
  char out[kPathBufferSize];
  ASSERT_TRUE(BuildRelaunchLine(out, sizeof out, target.c_str(), nullptr, "L"));
  EXPECT_EQ(strlen(out), 259u);
  target += 't';
  EXPECT_FALSE(BuildRelaunchLine(out, sizeof out, target.c_str(), nullptr, "L"));
  EXPECT_STREQ(out, "");

  // The escaped length counts: 100 quotes are written as 200 characters.
  std::string quotes(100, '"');
  std::string args(59, 'a');
  EXPECT_TRUE(BuildRelaunchLine(out, sizeof out, "t", args.c_str(), "L"));
  EXPECT_FALSE(BuildRelaunchLine(out, sizeof out, "t", (args + quotes).c_str(), "L"));
  EXPECT_STREQ(out, "");
}

}  // namespace
