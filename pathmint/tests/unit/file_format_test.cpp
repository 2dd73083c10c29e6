// The argument-file format text.
#include <gtest/gtest.h>

#include <string>

#include "file_format.h"

namespace {

TEST(FileFormatText, ExactText) {
  char buffer[kFileFormatBufferSize];
  int length = BuildFileFormatText(buffer, sizeof buffer);
  const std::string value = "\t\t; Value is either 1 or 0.  Default value is 0.\n";
  const std::string expected =
      "Configuration file format:\n\n[LINK.CONFIG]\nVersion=1.0\t; File version identifier.\n"
      "Target=\t\t; Path to target executable.\nArguments=\t; Argument list (OPTIONAL).\n"
      "LinkPath=\t; Name of shortcut file.\n"
      "IconPath=\t; Path to binary containing icon resource (OPTIONAL).\n"
      "\t\t; Default value is target executable.\n"
      "IconIndex=\t; Icon resource index (OPTIONAL).\n\t\t; Default value is 0.\n"
      "Folder=\t\t; Setting used to specify shortcut is a folder (OPTIONAL).\n" + value +
      "Desktop=\t\t; Shortcut path is relative to the 'Desktop' folder (OPTIONAL).\n" + value +
      "Farvorites=\t; Shortcut path is relative to the 'Favorites' folder (OPTIONAL).\n" +
      value + "Programs=\t; Shortcut path is relative to the 'Programs' folder (OPTIONAL).\n" +
      value + "Start=\t\t; Shortcut path is relative to the 'Start Menu' folder (OPTIONAL).\n" +
      value + "Startup=\t\t; Shortcut path is relative to the 'StartUp' folder (OPTIONAL).\n" +
      value +
      "Common=\t\t; Used with relative specifier to indicate common directory location. "
      "(OPTIONAL).\n" +
      value +
      "Clean=\t\t; Used to idicate that the shortcut should be deleted after use (OPTIONAL).\n" +
      value;
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
