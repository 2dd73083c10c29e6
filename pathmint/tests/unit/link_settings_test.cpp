// The option set of pathmint, its checks, the settings dump and the choice of the action.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../expected_texts.h"
#include "actions.h"
#include "command_line_split.h"
#include "isolate.h"
#include "link_settings.h"

namespace {

using texts::Defaults;
using texts::kSummary;
using texts::Usage;

// Parses tokens into a fresh settings record and validates it, in a child process. Notes the
// special folder when validation passed.
Outcome ParseAndValidate(const std::vector<const char*>& tokens) {
  return RunIsolated([&] {
    LinkSettings settings;
    CommandLineApp::SetArguments(tokens.data(), static_cast<int>(tokens.size()));
    settings.Parse();
    settings.m_bDebugOutput = settings.m_bDebugFlag.m_bValue;
    settings.Validate();
    Note(std::to_string(settings.m_iSpecialFolder));
  });
}

using texts::kFolderCount;
using texts::kMissingL;
using texts::kMissingT;
using texts::kSelfDestructive;

TEST(LinkSettings, InitialUsageTextAndTitle) {
  Outcome o = RunIsolated([] {
    LinkSettings settings;
    Note(settings.UsageText(kMissingL));
    Note(settings.m_szTitle);
    Note(std::to_string(settings.m_bUseMessageBox) + std::to_string(Registry().m_iCount));
  });
  EXPECT_EQ(o.notes, (std::vector<std::string>{Usage(kMissingL), "Velmora Pathmint", "118"}));
}

TEST(LinkSettings, UsageTextShowsValuesTakenBeforeTheError) {
  Outcome o = ParseAndValidate({"/T:C:\\My Tools\\app.exe", "/desktop", "/N:3", "/A", "-q %s",
                                "-I:%n", "/F", "set.ini", "/clean", "/debug", "readme.txt"});
  EXPECT_EQ(o.endCode, -1);
  ASSERT_EQ(o.boxes.size(), 1u);
  EXPECT_EQ(o.boxes[0].caption, "Velmora Pathmint");
  EXPECT_EQ(o.boxes[0].icon, ReportIcon::Error);
  Defaults d;
  d.target = "C:\\My Tools\\app.exe";
  d.desktop = "on";
  d.index = "3";
  d.arguments = "-q %s";
  d.icon = "%n";
  d.file = "set.ini";
  d.clean = "on";
  EXPECT_EQ(o.boxes[0].text, Usage("Unexepected argument \"readme.txt\"", d));
}

struct ValidateCase {
  std::vector<const char*> tokens;
  int specialFolder;    // when the checks pass
  const char* usage;    // UsageError message, or null
  const char* alone;    // error text shown alone, or null
};

TEST(LinkSettings, ValidateChecksInOrder) {
  const ValidateCase cases[] = {
      {{}, 0, kMissingL, nullptr},
      {{"/L:a"}, 0, kMissingT, nullptr},
      {{"/L:a", "/T:"}, 0, kMissingT, nullptr},
      {{"/L:", "/T:b"}, 0, kMissingL, nullptr},
      {{"/L:a", "/T:b"}, 0xFFFF, nullptr, nullptr},
      {{"/L:a", "/T:b", "/common"}, 0xFFFF, nullptr, nullptr},
      {{"/L:a", "/T:b", "/favorites"}, 6, nullptr, nullptr},
      {{"/L:a", "/T:b", "/favorites", "/common"}, 6, nullptr, nullptr},
      {{"/L:a", "/T:b", "/desktop"}, 16, nullptr, nullptr},
      {{"/L:a", "/T:b", "/desktop", "/common"}, 25, nullptr, nullptr},
      {{"/L:a", "/T:b", "/programs"}, 2, nullptr, nullptr},
      {{"/L:a", "/T:b", "/programs", "/common"}, 23, nullptr, nullptr},
      {{"/L:a", "/T:b", "/start"}, 11, nullptr, nullptr},
      {{"/L:a", "/T:b", "/start", "/common"}, 22, nullptr, nullptr},
      {{"/L:a", "/T:b", "/startup"}, 7, nullptr, nullptr},
      {{"/L:a", "/T:b", "/common", "/startup"}, 24, nullptr, nullptr},
      // More than one folder is refused before anything else is checked.
      {{"/desktop", "/startup", "/L:a", "/T:b"}, 0, nullptr, kFolderCount},
      {{"/desktop", "/favorites"}, 0, nullptr, kFolderCount},
      {{"/programs", "/start", "/folder", "/clean"}, 0, nullptr, kFolderCount},
      {{"/folder", "/L:a"}, 0xFFFF, nullptr, nullptr},
      {{"/folder", "/L:a", "/programs"}, 2, nullptr, nullptr},
      {{"/folder", "/clean", "/L:a"}, 0, kSelfDestructive, nullptr},
      {{"/folder", "/clean", "/T:x"}, 0, kMissingL, nullptr},
      {{"/clean", "/L:a", "/T:b"}, 0xFFFF, nullptr, nullptr},
      {{"/delfile", "/T:x"}, 0xFFFF, nullptr, nullptr},
      {{"/delfile", "/T:x", "/common", "/startup"}, 24, nullptr, nullptr},
      {{"/delfile"}, 0, kMissingT, nullptr},
      {{"/delfile", "/T:"}, 0, kMissingT, nullptr},
      // A deletion always needs its target, also with the folder flag.
      {{"/delfile", "/folder"}, 0, kMissingT, nullptr},
      {{"/delfile", "/folder", "/L:a"}, 0, kMissingT, nullptr},
      {{"/delfile", "/folder", "/T:x"}, 0xFFFF, nullptr, nullptr},
      {{"/delfile", "/folder", "/clean", "/T:x"}, 0, kSelfDestructive, nullptr},
      {{"/exec", "/T:x"}, 0, kMissingL, nullptr},
      {{"/exec", "/T:x", "/L:y"}, 0xFFFF, nullptr, nullptr},
      {{"/fileformat", "/L:y", "/T:x"}, 0xFFFF, nullptr, nullptr},
  };
  for (const ValidateCase& c : cases) {
    SCOPED_TRACE(TokenLabel(c.tokens));
    Outcome o = ParseAndValidate(c.tokens);
    ASSERT_FALSE(o.crashed);
    if (!c.usage && !c.alone) {
      ExpectReturned(o, {std::to_string(c.specialFolder)});
      continue;
    }
    const std::string text = ExpectErrorEnd(o, "Velmora Pathmint");
    if (c.alone) {
      EXPECT_EQ(text, c.alone);
    } else {
      std::string head = std::string("Error: ") + c.usage + "\nUsage: " + kSummary + "\n\n";
      EXPECT_EQ(text.substr(0, head.size()), head);
    }
  }
}

TEST(LinkSettings, DumpComesFirstAndShowsNullTexts) {
  Outcome o = ParseAndValidate({"/debug", "/L:a"});
  ASSERT_EQ(o.boxes.size(), 2u);
  EXPECT_EQ(o.boxes[0].icon, ReportIcon::Information);
  EXPECT_EQ(o.boxes[0].caption, "Velmora Pathmint");
  texts::Dump linkOnly;
  linkOnly.link = "a";
  EXPECT_EQ(o.boxes[0].text, texts::DumpText(linkOnly));
  EXPECT_EQ(o.boxes[1].text, Usage(kMissingT, texts::DefaultsOf(linkOnly)));
  EXPECT_EQ(o.endCode, -1);

  // Every line set; the argument file shows only whether one was named.
  Outcome all = ParseAndValidate({"/debug", "/start", "/common", "/fileformat", "/clean", "/exec",
                                  "/delfile", "/F", "f.ini", "/T:t", "/A:%s %d", "/L:l", "/I:i",
                                  "/N:-3"});
  ASSERT_EQ(all.boxes.size(), 1u);
  texts::Dump every;
  every.start = every.common = every.fileformat = every.clean = every.exec = every.cmdFile = true;
  every.target = "t";
  every.arguments = "%s %d";
  every.link = "l";
  every.icon = "i";
  every.index = -3;
  EXPECT_EQ(all.boxes[0].text, texts::DumpText(every));
  EXPECT_EQ(all.notes, std::vector<std::string>{"22"});

  // Without the debug switch there is no dump.
  Outcome quiet = ParseAndValidate({"/L:a", "/T:b"});
  EXPECT_TRUE(quiet.boxes.empty());
}

TEST(LinkSettings, LongDumpIsCut) {
  std::string target = "/T:" + std::string(3000, 'x');
  Outcome o = ParseAndValidate({"/debug", "/L:a", target.c_str()});
  ASSERT_EQ(o.boxes.size(), 1u);
  EXPECT_EQ(o.boxes[0].text.size(), 2047u);
  EXPECT_TRUE(o.returned);
}

TEST(LinkSettings, RunChoosesOneActionAndMapsItsStatus) {
  LinkSettings settings;
  settings.m_szTarget.m_szValue = "C:\\app.exe";
  settings.m_szArguments.m_szValue = "-x";
  settings.m_szLinkFile.m_szValue = "App";
  settings.m_szIconPath.m_szValue = "C:\\icons.dll";
  settings.m_iIconIndex.m_iValue = 4;
  settings.m_iSpecialFolder = 25;
  settings.m_bOneTimeLink.m_bValue = 1;
  ASSERT_TRUE(settings.StoreCurrentDirectory("C:\\work"));

  const struct {
    int32_t status;
    int result;
  } statuses[] = {{kStatusFailed, 1}, {-1, 1}, {0, 0}, {1, 0}};
  for (const auto& s : statuses) {
    g_actionStatus = s.status;
    g_lastAction = ActionCall();
    EXPECT_EQ(settings.Run(), s.result) << s.status;
    EXPECT_EQ(g_lastAction.action, "create");
  }
  g_actionStatus = 0;
  EXPECT_EQ(g_lastAction.target, "C:\\app.exe");
  EXPECT_EQ(g_lastAction.arguments, "-x");
  EXPECT_EQ(g_lastAction.linkFile, "App");
  EXPECT_EQ(g_lastAction.iconPath, "C:\\icons.dll");
  EXPECT_EQ(g_lastAction.iconIndex, 4);
  EXPECT_EQ(g_lastAction.isFolder, 0);
  EXPECT_EQ(g_lastAction.specialFolder, 25);
  EXPECT_EQ(g_lastAction.oneTime, 1);

  settings.m_bDeleteFile.m_bValue = 1;
  EXPECT_EQ(settings.Run(), 0);
  EXPECT_EQ(g_lastAction.action, "delete");
  EXPECT_EQ(g_lastAction.specialFolder, 25);
  EXPECT_EQ(g_lastAction.target, "C:\\app.exe");

  settings.m_bExecute.m_bValue = 1;
  g_actionStatus = kStatusFailed;
  EXPECT_EQ(settings.Run(), 1);
  EXPECT_EQ(g_lastAction.action, "exec");
  EXPECT_EQ(g_lastAction.target, "C:\\app.exe");
  EXPECT_EQ(g_lastAction.arguments, "-x");
  EXPECT_EQ(g_lastAction.linkFile, "App");
  EXPECT_EQ(g_lastAction.currentDir, "C:\\work\\");
  g_actionStatus = kStatusFailed;
}

TEST(LinkSettings, CurrentDirectoryGetsOneBackslashOrIsRefused) {
  LinkSettings settings;
  const std::string d258(258, 'd');
  const std::string d259(259, 'd');
  const struct {
    std::string dir;
    bool stored;
    std::string result;
  } cases[] = {
      {"C:\\work", true, "C:\\work\\"},
      {"C:\\", true, "C:\\"},
      {"\\\\server\\share\\dir", true, "\\\\server\\share\\dir\\"},
      {d258, true, d258 + "\\"},
      {d258 + "\\", true, d258 + "\\"},
      {d259, false, ""},
      {d259 + "\\", false, ""},
      {"", false, ""},
  };
  for (const auto& c : cases) {
    std::strcpy(settings.m_szCurrentDir, "old");
    EXPECT_EQ(settings.StoreCurrentDirectory(c.dir.c_str()), c.stored) << c.dir.size();
    EXPECT_EQ(settings.m_szCurrentDir, c.result) << c.dir.size();
  }
  EXPECT_FALSE(settings.StoreCurrentDirectory(nullptr));
  EXPECT_TRUE(settings.StoreCurrentDirectory("C:\\\x95\x5C", IsCp932LeadByte));  // ends in 表
  EXPECT_STREQ(settings.m_szCurrentDir, "C:\\\x95\x5C\\");
}

TEST(CopyText, CutsToTheBuffer) {
  char buffer[8];
  EXPECT_STREQ(CopyText(buffer, sizeof buffer, "short"), "short");
  EXPECT_STREQ(CopyText(buffer, sizeof buffer, "exactly"), "exactly");
  EXPECT_STREQ(CopyText(buffer, sizeof buffer, "too long by far"), "too lon");
  EXPECT_STREQ(CopyText(buffer, sizeof buffer, nullptr), "");
}

}  // namespace
