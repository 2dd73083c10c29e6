// The argument-file format text.
#include <gtest/gtest.h>

#include <string>

#include "../expected_texts.h"
#include "file_format.h"

namespace {

TEST(FileFormatText, ExactText) {
  char buffer[kFileFormatBufferSize];
  int length = BuildFileFormatText(buffer, sizeof buffer);
  const std::string expected = texts::FormatText();
  EXPECT_EQ(length, 1377);
  EXPECT_EQ(std::string(buffer), expected);
  EXPECT_EQ(expected.size(), 1377u);
}

TEST(FileFormatText, CutToASmallBuffer) {
  char whole[kFileFormatBufferSize];
  BuildFileFormatText(whole, sizeof whole);
  const struct {
    int size;
    int length;
  } cases[] = {{1378, 1377}, {1377, 1376}, {30, 29}, {1, 0}};
  for (const auto& c : cases) {
    std::string buffer(static_cast<size_t>(c.size) + 1, '#');  // one guard byte after the buffer
    EXPECT_EQ(BuildFileFormatText(&buffer[0], c.size), c.length) << c.size;
    EXPECT_EQ(std::string(buffer.c_str()), std::string(whole, static_cast<size_t>(c.length)));
    EXPECT_EQ(buffer[static_cast<size_t>(c.size)], '#');
  }
  EXPECT_EQ(BuildFileFormatText(nullptr, 10), 0);
}

}  // namespace
