// The option framework: matching, values, usage text, environment, required and positional
// options, the parse flags and the two report channels.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "command_line_app.h"
#include "isolate.h"

namespace {

std::string Text(const char* text) {
  return text ? text : "(null)";
}

// An application with one option of each shape the matching rules tell apart.
struct MatchApp : CommandLineApp {
  explicit MatchApp(uint32_t parseFlags = 0)
      : CommandLineApp(parseFlags),
        debug("debug", "Debug.", 0, 0, nullptr),
        x("x", "One-letter flag.", 0, 0, nullptr),
        target("T", "Target.", nullptr, 0, nullptr),
        name("name", "Name.", "start", 0, nullptr),
        number("N", "Number.", 7, 0, nullptr) {
    m_bUseMessageBox = 1;
  }
  std::string State() const {
    return "debug=" + std::to_string(debug.m_bValue) + " x=" + std::to_string(x.m_bValue) +
           " T=" + Text(target.m_szValue) + " name=" + Text(name.m_szValue) +
           " N=" + std::to_string(number.m_iValue);
  }
  FlagOption debug;
  FlagOption x;
  StringOption target;
  StringOption name;
  IntegerOption number;
};

// Parses tokens in a child process; the outcome carries the final state as its one note.
Outcome ParseMatchApp(const std::vector<const char*>& tokens, uint32_t parseFlags = 0) {
  return RunIsolated([&] {
    MatchApp app(parseFlags);
    CommandLineApp::SetArguments(tokens.data(), static_cast<int>(tokens.size()));
    app.Parse();
    Note(app.State());
  });
}

std::string UsageOf(const char* message, const std::string& summary, const std::string& details) {
  return std::string("Error: ") + message + "\nUsage: " + summary + "\n\n" + details;
}

const char kMatchSummary[] = "[-debug] [-x] [-T:<string>] [-name:<string>] [-N:<integer>] ";

struct MatchCase {
  std::vector<const char*> tokens;
  const char* state;  // the state after a successful parse, or null
  const char* error;  // the UsageError message, or null
};

TEST(Parse, MatchingRules) {
  const MatchCase cases[] = {
      {{"-T:abc"}, "debug=0 x=0 T=abc name=start N=7", nullptr},
      {{"/T:abc"}, "debug=0 x=0 T=abc name=start N=7", nullptr},
      {{"/T", "abc"}, "debug=0 x=0 T=abc name=start N=7", nullptr},
      {{"/T=abc"}, "debug=0 x=0 T=abc name=start N=7", nullptr},
      {{"/T abc"}, "debug=0 x=0 T=abc name=start N=7", nullptr},
      {{"/Target"}, "debug=0 x=0 T=rget name=start N=7", nullptr},
      {{"/Tx"}, "debug=0 x=0 T= name=start N=7", nullptr},
      {{"/T:"}, "debug=0 x=0 T= name=start N=7", nullptr},
      {{"/T", "-debug"}, "debug=0 x=0 T=-debug name=start N=7", nullptr},
      {{"/name", "/T:x"}, "debug=0 x=0 T=(null) name=/T:x N=7", nullptr},
      {{"/name", "abc", "/debug", "/x"}, "debug=1 x=1 T=(null) name=abc N=7", nullptr},
      {{"/x:1"}, "debug=0 x=1 T=(null) name=start N=7", nullptr},
      {{"/N:12abc"}, "debug=0 x=0 T=(null) name=start N=12", nullptr},
      {{"/N:abc"}, "debug=0 x=0 T=(null) name=start N=0", nullptr},
      {{"/N:-1"}, "debug=0 x=0 T=(null) name=start N=-1", nullptr},
      {{"/N", "/T:x"}, "debug=0 x=0 T=(null) name=start N=0", nullptr},
      // A value option as the last token: the text becomes unset, the number stays.
      {{"/name"}, "debug=0 x=0 T=(null) name=(null) N=7", nullptr},
      {{"/debug", "/N"}, "debug=1 x=0 T=(null) name=start N=7", nullptr},
      {{}, "debug=0 x=0 T=(null) name=start N=7", nullptr},
      {{"/t:abc"}, nullptr, "Unknown option \"/t:abc\""},
      {{"/Debug"}, nullptr, "Unknown option \"/Debug\""},
      {{"/debug:1"}, nullptr, "Unknown option \"/debug:1\""},
      {{"/name:abc"}, nullptr, "Unknown option \"/name:abc\""},
      {{"/T:a", "/T:b"}, nullptr, "Unknown option \"/T:b\""},
      {{"/debug", "-debug"}, nullptr, "Unknown option \"-debug\""},
      {{"/"}, nullptr, "Unknown option \"/\""},
      {{"-"}, nullptr, "Unknown option \"-\""},
      {{"/debug", "readme.txt"}, nullptr, "Unexepected argument \"readme.txt\""},
      {{""}, nullptr, "Unexepected argument \"\""},
      {{"%s%n%s"}, nullptr, "Unexepected argument \"%s%n%s\""},
  };
  for (const MatchCase& c : cases) {
    SCOPED_TRACE(TokenLabel(c.tokens));
    Outcome o = ParseMatchApp(c.tokens);
    ASSERT_FALSE(o.crashed);
    if (c.state) {
      ExpectReturned(o, {c.state});
    } else {
      std::string head = std::string("Error: ") + c.error + "\nUsage: " + kMatchSummary + "\n\n";
      EXPECT_EQ(ExpectErrorEnd(o, "Application").substr(0, head.size()), head);
    }
  }
}

TEST(Parse, ErrorShowsValuesTakenBeforeIt) {
  // The values held when the stray token is met; both ends of the number range are shown whole.
  const struct {
    std::vector<const char*> tokens;
    const char* debug;
    const char* target;
    const char* number;
  } cases[] = {
      {{"/T:abc", "/N", "42", "/debug", "stray", "/name:never"}, "on", "abc", "42"},
      {{"/N", "-2147483648", "stray"}, "off", "NULL", "-2147483648"},
      {{"/N", "2147483647", "stray"}, "off", "NULL", "2147483647"},
  };
  for (const auto& c : cases) {
    Outcome o = ParseMatchApp(c.tokens);
    ASSERT_EQ(o.boxes.size(), 1u);
    EXPECT_EQ(o.boxes[0].text,
              UsageOf("Unexepected argument \"stray\"", kMatchSummary,
                      std::string("\"-debug\"\t\t Debug.  Default: ") + c.debug + "\n" +
                          "\"-x\"\t\t One-letter flag.  Default: off\n" +
                          "\"-T\"\t\t Target.  Default: " + c.target + "\n" +
                          "\"-name\"\t\t Name.  Default: start\n" +
                          "\"-N\"\t\t Number.  Default: " + c.number + "\n"));
  }
}

TEST(Parse, IgnoreFlagsSkipWhatNothingTakes) {
  Outcome unknown = ParseMatchApp({"/bogus", "/T:a", "/T:b"}, CommandLineApp::IgnoreUnknownOptions);
  ASSERT_EQ(unknown.notes.size(), 1u);
  EXPECT_EQ(unknown.notes[0], "debug=0 x=0 T=a name=start N=7");

  // Each flag covers only its own kind of token.
  Outcome stray = ParseMatchApp({"/bogus"}, CommandLineApp::IgnoreUnexpectedArguments);
  EXPECT_EQ(stray.endCode, -1);
  Outcome stray2 = ParseMatchApp({"file", "/debug"}, CommandLineApp::IgnoreUnexpectedArguments);
  ASSERT_EQ(stray2.notes.size(), 1u);
  EXPECT_EQ(stray2.notes[0], "debug=1 x=0 T=(null) name=start N=7");
  Outcome known = ParseMatchApp({"file"}, CommandLineApp::IgnoreUnknownOptions);
  EXPECT_EQ(known.endCode, -1);
}

TEST(Parse, NeverReadsPastTheGivenTokens) {
  // The vector is not null-terminated: a value option at the end must not look beyond it.
  Outcome o = RunIsolated([] {
    MatchApp app;
    const char* tokens[] = {"/T", "not-a-token"};
    CommandLineApp::SetArguments(tokens, 1);
    app.Parse();
    Note(app.State());
  });
  ASSERT_EQ(o.notes.size(), 1u);
  EXPECT_EQ(o.notes[0], "debug=0 x=0 T=(null) name=start N=7");
}

TEST(ConvertInteger, FollowsAtoi) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"0", 0},           {"12", 12},         {"-1", -1},         {"+5", 5},
      {"  \t\n42", 42},   {"12abc", 12},      {"abc", 0},         {"", 0},
      {"-", 0},           {"- 5", 0},         {"1 2", 1},         {"007", 7},
      {"2147483647", INT_MAX},                {"-2147483648", INT_MIN},
      {"99999999999999999999", INT_MAX},      {"-99999999999999999999", INT_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(ConvertInteger(c.text), c.value) << "[" << c.text << "]";
}

TEST(Options, FlagTogglesAndNeverTakesAValue) {
  Outcome o = RunIsolated([] {
    CommandLineApp app(0);
    FlagOption flag("f", "F.", 1, 0, nullptr);
    Note(std::to_string(flag.TakesValue()));
    flag.SetValue("0");
    Note(std::to_string(flag.m_bValue));
    flag.SetValue(nullptr);
    Note(std::to_string(flag.m_bValue));
    StringOption text("s", "S.", nullptr, 0, nullptr);
    Note(std::to_string(text.TakesValue()));
  });
  EXPECT_EQ(o.notes, (std::vector<std::string>{"0", "0", "1", "1"}));
}

// An application that uses every framework feature.
struct FeatureApp : CommandLineApp {
  FeatureApp()
      : CommandLineApp(0),
        input("input", "Input file.", nullptr, CommandOption::Positional | CommandOption::Required,
              nullptr),
        output("", "Output file.", "out.txt", CommandOption::Positional, nullptr),
        include("I", "Include directory.", nullptr, CommandOption::Repeatable, "INCLUDE"),
        level("level", "Level.", 3, CommandOption::Required, nullptr),
        secret("secret", "Hidden switch.", 0, CommandOption::Hidden, nullptr),
        sevench("sevench", "Seven.", 0, 0, "Quiet"),
        eightchr("eightchr", "Eight.", 0, 0, nullptr) {}
  StringOption input;
  StringOption output;
  StringOption include;
  IntegerOption level;
  FlagOption secret;
  FlagOption sevench;
  FlagOption eightchr;
};

const char kFeatureSummary[] =
    "input:<string> [<string>] [-I:<string> ...] -level:<integer> [-sevench] [-eightchr] ";

TEST(UsageText, EveryLayoutRule) {
  Outcome o = RunIsolated([] {
    FeatureApp app;
    Note(app.UsageText("Something."));
  });
  ASSERT_EQ(o.notes.size(), 1u);
  EXPECT_EQ(o.notes[0], UsageOf("Something.", kFeatureSummary,
                                "\"input\"\t\t Input file. \n"
                                "\"\"\t\t Output file.  Default: out.txt\n"
                                "\"-I\"\t\t Include directory.  ENV: $INCLUDE Default: NULL\n"
                                "\"-level\"\t\t Level. \n"
                                "\"-sevench\"\t\t Seven.  ENV: $Quiet Default: off\n"
                                "\"-eightchr\"\t Eight.  Default: off\n"));
}

TEST(Parse, PositionalRequiredAndEnvironment) {
  const char* environment[] = {"=C:=C:\\work", "include=C:\\inc", "QUIET=", "PATH=x", nullptr};
  Outcome o = RunIsolated([&] {
    FeatureApp app;
    app.ApplyEnvironment(environment);
    Note(Text(app.include.m_szValue) + " " + std::to_string(app.sevench.m_bValue));
    const char* tokens[] = {"a.c", "/level", "5", "b.o", "/I:D:\\x", "/sevench"};
    CommandLineApp::SetArguments(tokens, 6);
    app.Parse();
    Note(Text(app.input.m_szValue) + " " + Text(app.output.m_szValue) + " " +
         Text(app.include.m_szValue) + " " + std::to_string(app.level.m_iValue) + " " +
         std::to_string(app.sevench.m_bValue));
  });
  // The environment set the values without marking them as given: the command line can still
  // give them, and a flag from both is toggled back off.
  EXPECT_EQ(o.notes, (std::vector<std::string>{"C:\\inc 1", "a.c b.o D:\\x 5 0"}));
}

TEST(Parse, MissingRequiredReportsTheFirstOnly) {
  Outcome o = RunIsolated([] {
    FeatureApp app;
    CommandLineApp::SetArguments(nullptr, 0);
    app.Parse();
  });
  EXPECT_EQ(o.exitStatus, 255);
  EXPECT_TRUE(o.boxes.empty());
  EXPECT_EQ(o.standardError,
            UsageOf("Missing required argument: \"input\"", kFeatureSummary,
                    "\"input\"\t\t Input file. \n"
                    "\"\"\t\t Output file.  Default: out.txt\n"
                    "\"-I\"\t\t Include directory.  ENV: $INCLUDE Default: NULL\n"
                    "\"-level\"\t\t Level. \n"
                    "\"-sevench\"\t\t Seven.  ENV: $Quiet Default: off\n"
                    "\"-eightchr\"\t Eight.  Default: off\n") +
                "\n");

  Outcome level = RunIsolated([] {
    FeatureApp app;
    const char* tokens[] = {"a.c", "/secret"};
    CommandLineApp::SetArguments(tokens, 2);
    app.Parse();
  });
  EXPECT_EQ(level.standardError.rfind("Error: Missing required argument: \"level\"\nUsage: ", 0), 0u);

  Outcome extra = RunIsolated([] {
    FeatureApp app;
    const char* tokens[] = {"a", "b", "c"};
    CommandLineApp::SetArguments(tokens, 3);
    app.Parse();
  });
  EXPECT_EQ(extra.standardError.rfind("Error: Unexepected argument \"c\"\nUsage: ", 0), 0u);
}

// An application with one option of each combination the rules tell apart: a hidden option
// that is required, an option without a name (taken by "-" or "/" alone), a positional option
// marked Repeatable, a required number with an environment name, a positional flag that is
// required, a hidden positional number, a name holding a colon with a lower-case environment name
// (the same variable as "FOO"), and a second option named "N".
struct ShapesApp : CommandLineApp {
  explicit ShapesApp(uint32_t parseFlags)
      : CommandLineApp(parseFlags),
        q("q", "Hidden and required.", 0, CommandOption::Hidden | CommandOption::Required, nullptr),
        anonymous("", "No name.", nullptr, 0, "FOO"),
        files("files", "Files.", nullptr, CommandOption::Positional | CommandOption::Repeatable,
              nullptr),
        count("N", "Count.", -7, CommandOption::Required, "BAR"),
        mode("mode", "Mode.", 1, CommandOption::Positional | CommandOption::Required, nullptr),
        level("", "Level.", 0, CommandOption::Positional | CommandOption::Hidden, nullptr),
        pair("a:b", "Pair.", "initial", CommandOption::Repeatable, "foo"),
        twin("N", "Twin.", nullptr, 0, nullptr) {
    m_bUseMessageBox = 1;
  }
  // The values, then the Seen marks in registration order.
  std::string State() const {
    std::string seen;
    for (int i = 0; i < Registry().m_iCount; ++i) {
      seen += (Registry().m_ppOptions[i]->m_iFlags & CommandOption::Seen) ? '1' : '0';
    }
    return "q=" + std::to_string(q.m_bValue) + " anonymous=" + Text(anonymous.m_szValue) +
           " files=" + Text(files.m_szValue) + " N=" + std::to_string(count.m_iValue) +
           " mode=" + std::to_string(mode.m_bValue) + " level=" + std::to_string(level.m_iValue) +
           " pair=" + Text(pair.m_szValue) + " twin=" + Text(twin.m_szValue) + " seen=" + seen;
  }
  FlagOption q;
  StringOption anonymous;
  StringOption files;
  IntegerOption count;
  FlagOption mode;
  IntegerOption level;
  StringOption pair;
  StringOption twin;
};

const char kShapesSummary[] =
    "[-<string>] [files:<string> ...] -N:<integer> mode [-a:b:<string> ...] [-N:<string>] ";

// The detail lines with the values the visible optional texts hold.
std::string ShapesDetails(const char* anonymous, const char* files, const char* pair,
                          const char* twin) {
  return std::string("\"-\"\t\t No name.  ENV: $FOO Default: ") + anonymous + "\n" +
         "\"files\"\t\t Files.  Default: " + files + "\n" +
         "\"-N\"\t\t Count.  ENV: $BAR\n" +
         "\"mode\"\t\t Mode. \n" +
         "\"-a:b\"\t\t Pair.  ENV: $foo Default: " + pair + "\n" +
         "\"-N\"\t\t Twin.  Default: " + twin + "\n";
}

TEST(Parse, EveryCombinationOfFlags) {
  const struct {
    std::vector<const char*> tokens;
    std::vector<const char*> environment;
    uint32_t parseFlags;
    const char* state;  // after a parse that returns
    const char* error;  // else the message, and the values the usage text then shows
    const char *anonymous = "", *files = "", *pair = "", *twin = "";
  } cases[] = {
      // The hidden required option is reported, though the usage text does not name it.
      {{}, {}, 0, nullptr, "Missing required argument: \"q\"", "NULL", "NULL", "initial", "NULL"},
      // Both ignore flags leave the required check as it is.
      {{"/bogus", "stray", "x", "y", "z"}, {}, 3, nullptr, "Missing required argument: \"q\"",
       "NULL", "stray", "initial", "NULL"},
      // An environment value does not count as given, for a required option either; both
      // spellings of the name take the first entry that matches, whatever its case.
      {{"/q"}, {"=C:=C:\\x", "foo=lower", "FOO=upper", "BAR=12abc"}, 0, nullptr,
       "Missing required argument: \"N\"", "lower", "NULL", "lower", "NULL"},
      // "/N" goes to the first option of that name, then to the second; "-" alone to the option
      // without a name; plain tokens to the positional options in order, the hidden one too, and
      // a Repeatable one takes one token like any other.
      {{"/q", "/N", "5", "a.txt", "-", "value", "flag", "/N:x", "/a:b", "v", "12"}, {}, 0,
       "q=1 anonymous=value files=a.txt N=5 mode=0 level=12 pair=v twin=x seen=11111111", nullptr},
      {{"/q", "a", "b", "c", "d", "/N", "1"}, {}, 0, nullptr, "Unexepected argument \"d\"", "NULL",
       "a", "initial", "NULL"},
      {{"/q", "a", "b", "c", "d", "/N", "1"}, {}, 2,
       "q=1 anonymous=(null) files=a N=1 mode=0 level=0 pair=initial twin=(null) seen=10111100",
       nullptr},
      {{"/", "one", "/", "two"}, {}, 0, nullptr, "Unknown option \"/\"", "one", "NULL", "initial",
       "NULL"},
      // A value option as the last token: a text becomes unset; a number keeps its value (here
      // the environment's), and a required one counts as given.
      {{"/q", "a", "b", "/a:b"}, {}, 0, nullptr, "Missing required argument: \"N\"", "NULL", "a",
       "NULL", "NULL"},
      {{"/q", "/bogus", "a", "b", "/N"}, {"bar=12abc"}, 1,
       "q=1 anonymous=(null) files=a N=12 mode=0 level=0 pair=initial twin=(null) seen=10111000",
       nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(TokenLabel(c.tokens));
    std::vector<const char*> environment = c.environment;
    environment.push_back(nullptr);
    Outcome o = RunIsolated([&] {
      ShapesApp app(c.parseFlags);
      app.ApplyEnvironment(environment.data());
      CommandLineApp::SetArguments(c.tokens.data(), static_cast<int>(c.tokens.size()));
      app.Parse();
      Note(app.State());
    });
    if (c.state) {
      ExpectReturned(o, {c.state});
    } else {
      EXPECT_EQ(ExpectErrorEnd(o, "Application"),
                UsageOf(c.error, kShapesSummary,
                        ShapesDetails(c.anonymous, c.files, c.pair, c.twin)));
    }
  }
}

TEST(Registry, GrowsAndKeepsOrder) {
  Outcome o = RunIsolated([] {
    CommandLineApp app(0);
    std::vector<std::string> names;
    for (int i = 0; i < 100; ++i) names.push_back("opt" + std::to_string(i));
    std::vector<FlagOption*> options;
    for (const std::string& n : names) {
      options.push_back(new FlagOption(n.c_str(), "", 0, 0, nullptr));
    }
    std::string order;
    for (int i = 0; i < Registry().m_iCount; ++i) order += Registry().m_ppOptions[i]->m_szName;
    Note(std::to_string(Registry().m_iCount) + " " + std::to_string(Registry().m_iCapacity));
    Note(order);
    // A new application starts from an empty registry.
    CommandLineApp again(0);
    Note(std::to_string(Registry().m_iCount) + " " + std::to_string(Registry().m_iCapacity));
  });
  std::string order;
  for (int i = 0; i < 100; ++i) order += "opt" + std::to_string(i);
  EXPECT_EQ(o.notes, (std::vector<std::string>{"100 128", order, "0 1"}));
}

TEST(Reports, ChannelsAndTitle) {
  // Message-box mode: one error box captioned with the title, then the end with the code.
  Outcome box = RunIsolated([] {
    CommandLineApp app(0);
    app.m_bUseMessageBox = 1;
    app.SetTitle("0123456789012345678901234567890123456789-cut");
    Note(app.m_szTitle);
    app.ErrorExit("Alone %s %n", 3);
  });
  ASSERT_EQ(box.boxes.size(), 1u);
  EXPECT_EQ(box.notes[0], "012345678901234567890123456789012345678");
  EXPECT_EQ(box.boxes[0].caption, "012345678901234567890123456789012345678");
  EXPECT_EQ(box.boxes[0].text, "Alone %s %n");
  EXPECT_EQ(box.boxes[0].icon, ReportIcon::Error);
  EXPECT_TRUE(box.endedNow);
  EXPECT_EQ(box.endCode, 3);
  EXPECT_EQ(box.standardError, "");
}

TEST(ReportsDeathTest, StandardErrorChannelEndsThroughExit) {
  EXPECT_EXIT(
      {
        static CommandLineApp app(0);
        app.UsageError("Broken.", 4);
      },
      testing::ExitedWithCode(4), "^Error: Broken.\nUsage: \n\n\n$");
}

TEST(DebugPrint, ShownOnlyWhenSwitchedOnAndCut) {
  Outcome o = RunIsolated([] {
    CommandLineApp app(0);
    app.m_bUseMessageBox = 1;
    app.SetTitle("Title");
    app.DebugPrint("off %d", 1);
    app.m_bDebugOutput = 1;
    app.DebugPrint(nullptr);
    app.DebugPrint("on %d [%s]", 2, "%s");
    app.DebugPrint("%s", std::string(5000, 'y').c_str());
    app.m_bUseMessageBox = 0;
    app.DebugPrint("to %s", "stderr");
  });
  EXPECT_TRUE(o.returned);
  ASSERT_EQ(o.boxes.size(), 2u);
  EXPECT_EQ(o.boxes[0].text, "on 2 [%s]");
  EXPECT_EQ(o.boxes[0].caption, "Title");
  EXPECT_EQ(o.boxes[0].icon, ReportIcon::Information);
  EXPECT_EQ(o.boxes[1].text, std::string(2047, 'y'));
  EXPECT_EQ(o.standardError, "to stderr\n");
}

}  // namespace
