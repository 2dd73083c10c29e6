// The argument file's rules, read through a profile reader of the test's own: the one section,
// the keys in order, the defaults, the cuts and the copies; and the format box.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "../expected_texts.h"
#include "argument_file.h"
#include "isolate.h"
#include "link_settings.h"

namespace {

// The file as the platform's reader would see it: values by section and key, and every call.
std::map<std::string, std::string> g_values;  // "section/key" -> value
std::vector<std::string> g_calls;             // "file|section|key|size or fallback"
std::string g_inexactKey;                     // the key whose value is not the file's

const std::string* Find(const char* section, const char* key) {
  auto found = g_values.find(std::string(section) + "/" + key);
  return found == g_values.end() ? nullptr : &found->second;
}

void Reset(std::map<std::string, std::string> values) {
  g_values = std::move(values);
  g_calls.clear();
}

}  // namespace

// The reader copies at most size - 1 characters and a terminator, as the platform's does.
void ReadProfileText(const char* file, const char* section, const char* key, char* buffer,
                     unsigned size) {
  g_calls.push_back(std::string(file) + "|" + section + "|" + key + "|" + std::to_string(size));
  const std::string* value = Find(section, key);
  std::string text = value ? value->substr(0, size - 1) : std::string();
  std::memcpy(buffer, text.c_str(), text.size() + 1);
}

int ReadProfileInteger(const char* file, const char* section, const char* key, int fallback) {
  g_calls.push_back(std::string(file) + "|" + section + "|" + key + "|" +
                    std::to_string(fallback));
  const std::string* value = Find(section, key);
  return value ? std::stoi(*value) : fallback;
}

bool ProfileKeyExact(const char*, const char*, const char* key) {
  return g_inexactKey != key;
}

namespace {

const char* const kTextKeys[] = {"Target", "Arguments", "LinkPath", "IconPath"};
const char* const kIntegerKeys[] = {"IconIndex", "Folder",  "Desktop", "Favorites", "Programs",
                                    "Start",     "Startup", "Common",  "Clean"};

TEST(ArgumentFile, ReadsEveryKeyOfTheOneSectionInOrder) {
  Reset({});
  LinkSettings settings;
  settings.ApplyArgumentFile("C:\\work\\set.ini");
  std::vector<std::string> want;
  for (const char* key : kTextKeys) want.push_back(std::string("C:\\work\\set.ini|LINK CONFIG|") + key + "|511");
  for (const char* key : kIntegerKeys) want.push_back(std::string("C:\\work\\set.ini|LINK CONFIG|") + key + "|-1");
  EXPECT_EQ(g_calls, want);
}

// Each key on its own sets its own field and nothing else; the spelling of the format text and
// keys the file has no place for set nothing.
TEST(ArgumentFile, EachKeySetsItsField) {
  struct Case {
    const char* section;
    const char* key;
    const char* value;
    void (*set)(texts::Dump&);
  } cases[] = {
      {"LINK CONFIG", "Target", "C:\\Tools\\app.exe", [](texts::Dump& d) { d.target = "C:\\Tools\\app.exe"; }},
      {"LINK CONFIG", "Arguments", "-x -y", [](texts::Dump& d) { d.arguments = "-x -y"; }},
      {"LINK CONFIG", "LinkPath", "nodir\\Start Here", [](texts::Dump& d) { d.link = "nodir\\Start Here"; }},
      {"LINK CONFIG", "IconPath", "C:\\icons.dll", [](texts::Dump& d) { d.icon = "C:\\icons.dll"; }},
      {"LINK CONFIG", "IconIndex", "7", [](texts::Dump& d) { d.index = 7; }},
      {"LINK CONFIG", "Folder", "1", [](texts::Dump& d) { d.folder = true; }},
      {"LINK CONFIG", "Desktop", "1", [](texts::Dump& d) { d.desktop = true; }},
      {"LINK CONFIG", "Favorites", "1", [](texts::Dump& d) { d.favorites = true; }},
      {"LINK CONFIG", "Programs", "1", [](texts::Dump& d) { d.programs = true; }},
      {"LINK CONFIG", "Start", "1", [](texts::Dump& d) { d.start = true; }},
      {"LINK CONFIG", "Startup", "1", [](texts::Dump& d) { d.startup = true; }},
      {"LINK CONFIG", "Common", "1", [](texts::Dump& d) { d.common = true; }},
      {"LINK CONFIG", "Clean", "1", [](texts::Dump& d) { d.clean = true; }},
      {"LINK CONFIG", "Farvorites", "1", [](texts::Dump&) {}},
      {"LINK CONFIG", "Debug", "0", [](texts::Dump&) {}},
      {"LINK CONFIG", "Exec", "1", [](texts::Dump&) {}},
      {"LINK.CONFIG", "Target", "C:\\x.exe", [](texts::Dump&) {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    Reset({{std::string(c.section) + "/" + c.key, c.value}});
    Outcome o = RunIsolated([] {
      LinkSettings settings;
      settings.m_bDebugOutput = 1;
      settings.m_bDebugFlag.m_bValue = 1;
      settings.m_szLinkFile.m_szValue = "cmd-link";
      settings.m_szTarget.m_szValue = "cmd-target";
      settings.ApplyArgumentFile("set.ini");
      settings.Validate();
    });
    texts::Dump want;
    want.link = "cmd-link";
    want.target = "cmd-target";
    c.set(want);
    ASSERT_FALSE(o.boxes.empty());
    EXPECT_EQ(o.boxes[0].text, texts::DumpText(want));
  }
}

TEST(ArgumentFile, FileValuesReplaceCommandLineValues) {
  LinkSettings settings;
  const char* commandTarget = "C:\\cmd.exe";
  settings.m_szTarget.m_szValue = commandTarget;
  settings.m_szArguments.m_szValue = "cmd-args";
  settings.m_bIsDesktop.m_bValue = 1;
  settings.m_bIsStartup.m_bValue = 1;
  settings.m_iIconIndex.m_iValue = 3;
  Reset({{"LINK CONFIG/Target", ""},        // an empty text keeps the command line's
         {"LINK CONFIG/IconIndex", "-5"},   // a negative number keeps it too
         {"LINK CONFIG/Desktop", "0"},      // 0 turns a flag off
         {"LINK CONFIG/Startup", "2"},      // any other number is on, and is kept as it is
         {"LINK CONFIG/Arguments", "-a"},
         {"LINK CONFIG/LinkPath", "App"},
         {"LINK CONFIG/IconPath", "C:\\i.dll"}});
  settings.ApplyArgumentFile("set.ini");
  EXPECT_EQ(settings.m_szTarget.m_szValue, commandTarget);
  EXPECT_EQ(settings.m_iIconIndex.m_iValue, 3);
  EXPECT_EQ(settings.m_bIsDesktop.m_bValue, 0);
  EXPECT_EQ(settings.m_bIsStartup.m_bValue, 2);
  // Each text is a copy of its own, owned by the record.
  EXPECT_STREQ(settings.m_szArguments.m_szValue, "-a");
  EXPECT_STREQ(settings.m_szLinkFile.m_szValue, "App");
  EXPECT_STREQ(settings.m_szIconPath.m_szValue, "C:\\i.dll");
  EXPECT_EQ(settings.m_szArguments.m_szValue, settings.m_szFileArguments);
  EXPECT_EQ(settings.m_szLinkFile.m_szValue, settings.m_szFileLinkFile);
  EXPECT_EQ(settings.m_szIconPath.m_szValue, settings.m_szFileIconPath);
}

// A value longer than 254 characters is refused, not cut, and so is any value the reader gives
// other than the file holds it: no action runs.
TEST(ArgumentFile, LongerOrInexactValuesAreRefused) {
  for (size_t length : {253u, 254u, 255u, 300u}) {
    Reset({{"LINK CONFIG/Arguments", std::string(length, 'y')}});
    LinkSettings settings;
    settings.ApplyArgumentFile("set.ini");
    g_lastAction = ActionCall();
    settings.Run();
    EXPECT_EQ(g_lastAction.arguments, length <= 254 ? std::string(length, 'y') : "");
  }
  std::vector<const char*> keys(std::begin(kTextKeys), std::end(kTextKeys));
  keys.insert(keys.end(), std::begin(kIntegerKeys), std::end(kIntegerKeys));
  for (const char* key : keys) {
    SCOPED_TRACE(key);
    Reset({{"LINK CONFIG/Target", "C:\\x.exe"}, {"LINK CONFIG/LinkPath", "App"}});
    g_inexactKey = key;
    // An ANSI file is read as it stands; only a Unicode one is converted.
    for (FileEncoding encoding : {FileEncoding::Ansi, FileEncoding::Utf16}) {
      LinkSettings settings;
      settings.ApplyArgumentFile("set.ini", encoding);
      g_lastAction = ActionCall();
      settings.Run();
      EXPECT_EQ(g_lastAction.action, encoding == FileEncoding::Ansi ? "create" : "");
    }
  }
  g_inexactKey.clear();
}

TEST(ArgumentFile, FormatOnTheReportChannel) {
  for (int useBox : {1, 0}) {
    Outcome o = RunIsolated([useBox] {
      LinkSettings settings;
      settings.m_bUseMessageBox = useBox;
      settings.ShowFileFormat();
    });
    EXPECT_TRUE(o.returned);
    if (!useBox) {
      // Where nobody could answer a box: the text and a newline on standard error.
      EXPECT_TRUE(o.boxes.empty());
      EXPECT_EQ(o.standardError, texts::FormatText() + "\n");
      continue;
    }
    ASSERT_EQ(o.boxes.size(), 1u);
    EXPECT_EQ(o.boxes[0].text, texts::FormatText());
    EXPECT_EQ(o.boxes[0].caption, texts::kCaption);
    EXPECT_EQ(o.boxes[0].icon, ReportIcon::Information);
    EXPECT_EQ(o.standardError, "");
  }
}

}  // namespace
