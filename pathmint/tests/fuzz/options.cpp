// The option framework over arbitrary option sets, argument vectors and environments: every option
// kind with every combination of Positional, Required, Hidden and Repeatable, both parse flags and
// none, environment names and a title. The rules themselves are tables of the unit tests
// (command_line_test.cpp); here every run must keep what holds whatever the input:
//   - nothing is read or written outside the tokens, texts and options (the sanitizers);
//   - a parse either returns without a report, every required option seen, or ends with -1 after
//     one error box under the title, whose text is UsageText of a message the parse may give: an
//     unknown option or a stray argument that the parse flags do not skip, quoted as given, or the
//     first required option not seen;
//   - a text value is the initial one, none, or points into a token or an environment entry (kept,
//     never copied); the options' flags other than the Seen mark are unchanged;
//   - the registry holds the options in the order they were made.
//
// Input: byte 0 the parse flags (bits 0 and 1); byte 1 the number of options (low three bits,
// plus one); two bytes per option: kind and name (a), flags, environment name and initial value
// (b); then texts separated by zero bytes: "ENV:" texts form the environment, a "TITLE:" text is
// given to SetTitle, every other text is one token of the argument vector.
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "command_line_app.h"
#include "report_seams.h"

using seams::Require;

namespace {

const char* const kNames[] = {"T", "N", "x", "debug", "name", "", "t", "a:b", "T"};
const char* const kEnvNames[] = {nullptr, "FOO", "foo", "BAR", "PATH", "A"};
const char kInitial[] = "initial";

// The options an input describes, in the order they were made.
struct Options {
  // A deque never moves what it holds: the registry keeps the addresses.
  std::deque<FlagOption> flags;
  std::deque<StringOption> strings;
  std::deque<IntegerOption> integers;
  std::vector<CommandOption*> order;
  std::vector<uint32_t> givenFlags;
};

void Make(uint8_t a, uint8_t b, Options* options) {
  const char* name = kNames[a % 9];
  const uint32_t flags = (b & 1u ? CommandOption::Positional : 0u) |
                         (b & 2u ? CommandOption::Required : 0u) |
                         (b & 4u ? CommandOption::Hidden : 0u) |
                         (b & 8u ? CommandOption::Repeatable : 0u);
  const char* env = kEnvNames[((b >> 4) & 7u) % 6];
  const bool set = (b & 0x80u) != 0;
  switch ((a / 9) % 3) {
    case 0:
      options->flags.emplace_back(name, "A switch.", set ? 1 : 0, flags, env);
      options->order.push_back(&options->flags.back());
      break;
    case 1:
      options->strings.emplace_back(name, "Some text.", set ? kInitial : nullptr, flags, env);
      options->order.push_back(&options->strings.back());
      break;
    default:
      options->integers.emplace_back(name, "A number.", set ? -7 : 0, flags, env);
      options->order.push_back(&options->integers.back());
      break;
  }
  options->givenFlags.push_back(flags);
}

// The messages the parse may give: the tokens it does not skip, and the first required option
// that was not seen.
std::vector<std::string> PossibleMessages(const std::vector<const char*>& tokens,
                                          uint32_t parseFlags, const Options& options) {
  std::vector<std::string> messages;
  for (const char* token : tokens) {
    const bool option = token[0] == '-' || token[0] == '/';
    if (option && !(parseFlags & CommandLineApp::IgnoreUnknownOptions)) {
      messages.push_back(std::string("Unknown option \"") + token + "\"");
    } else if (!option && !(parseFlags & CommandLineApp::IgnoreUnexpectedArguments)) {
      messages.push_back(std::string("Unexepected argument \"") + token + "\"");
    }
  }
  for (const CommandOption* o : options.order) {
    if ((o->m_iFlags & CommandOption::Required) && !(o->m_iFlags & CommandOption::Seen)) {
      messages.push_back(std::string("Missing required argument: \"") + o->m_szName + "\"");
      break;
    }
  }
  return messages;
}

bool Inside(const char* p, const std::vector<std::unique_ptr<char[]>>& blocks) {
  for (const auto& block : blocks) {
    if (p >= block.get() && p <= block.get() + std::strlen(block.get())) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint32_t parseFlags = data[0] & 3u;
  const size_t optionCount = (data[1] & 7u) + 1;
  size_t pos = 2;

  CommandLineApp app(parseFlags);
  app.m_bUseMessageBox = 1;
  Options options;
  for (size_t i = 0; i < optionCount && pos + 1 < size; ++i, pos += 2) {
    Make(data[pos], data[pos + 1], &options);
  }
  const OptionRegistry& registry = Registry();
  Require(registry.m_iCount == static_cast<int>(options.order.size()), "registry count");
  for (size_t i = 0; i < options.order.size(); ++i) {
    Require(registry.m_ppOptions[i] == options.order[i], "registry order");
  }

  // The texts, each in a heap block of its own size, so that a read past one is caught.
  std::vector<std::unique_ptr<char[]>> blocks;
  std::vector<const char*> environment, tokens;
  for (size_t start = pos; start < size;) {
    size_t end = start;
    while (end < size && data[end] != 0) ++end;
    blocks.emplace_back(new char[end - start + 1]);
    char* text = blocks.back().get();
    std::memcpy(text, data + start, end - start);
    text[end - start] = '\0';
    if (std::strncmp(text, "ENV:", 4) == 0) {
      environment.push_back(text + 4);
    } else if (std::strncmp(text, "TITLE:", 6) == 0) {
      app.SetTitle(text + 6);
    } else {
      tokens.push_back(text);
    }
    start = end + 1;
  }
  environment.push_back(nullptr);
  // Exactly as many elements as tokens.
  std::unique_ptr<const char*[]> vector(new const char*[tokens.empty() ? 1 : tokens.size()]);
  for (size_t i = 0; i < tokens.size(); ++i) vector[i] = tokens[i];

  seams::Guarded([&] {
    app.ApplyEnvironment(environment.data());
    CommandLineApp::SetArguments(vector.get(), static_cast<int>(tokens.size()));
    app.Parse();
  });
  const seams::Reports& r = seams::g_reports;

  for (size_t i = 0; i < options.order.size(); ++i) {
    Require((options.order[i]->m_iFlags & ~uint32_t(CommandOption::Seen)) == options.givenFlags[i],
            "flags changed");
  }
  for (const StringOption& s : options.strings) {
    Require(!s.m_szValue || s.m_szValue == kInitial || Inside(s.m_szValue, blocks),
            "a text value that is no token or environment text");
  }
  const std::vector<std::string> messages = PossibleMessages(tokens, parseFlags, options);
  if (!r.ended) {
    Require(r.boxes.empty(), "a report from a parse that returned");
    for (const CommandOption* o : options.order) {
      Require(!(o->m_iFlags & CommandOption::Required) || (o->m_iFlags & CommandOption::Seen),
              "a required option not seen, and no report");
    }
    return 0;
  }
  Require(r.endCode == -1 && r.boxes.size() == 1, "one box, then the end with -1");
  Require(r.boxes[0].icon == ReportIcon::Error && r.boxes[0].caption == app.m_szTitle, "error box");
  const std::string& text = r.boxes[0].text;
  bool known = false;
  for (const std::string& m : messages) {
    if (text.compare(0, 7 + m.size(), "Error: " + m) == 0 && app.UsageText(m.c_str()) == text) {
      known = true;
      break;
    }
  }
  Require(known, "the box is not the usage text of a message the parse may give");
  return 0;
}
