// The option framework against a model of its rules, over arbitrary option sets, argument vectors
// and environments: every option kind with every combination of Positional, Required, Hidden and
// Repeatable, both parse flags and none, environment fallbacks, a title of any length and the
// debug print. A usage error is an expected outcome, not a finding: the report seams record the
// box and return here through longjmp instead of ending the process. The box must then be exactly
// the usage text the model predicts, with the values the options held at that moment; a parse
// that ends normally must leave every value, pointer and Seen mark where the model says.
//
// Input: byte 0 the parse flags (bits 0 and 1); byte 1 the number of options (low three bits,
// plus one); two bytes per option: kind and name (a), flags, environment name and initial value
// (b); then texts separated by zero bytes: "ENV:" texts form the environment, a "TITLE:" text is
// given to SetTitle, every other text is one token of the argument vector.
#include <climits>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "command_line_app.h"
#include "report.h"

namespace {

// ---- the report seams: record, then return to the fuzzer instead of ending the process

std::jmp_buf g_jump;
bool g_armed = false;
bool g_ended = false;
int g_endCode = 0;
struct Box {
  std::string text, caption;
  ReportIcon icon;
};
std::vector<Box> g_boxes;

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "option model: %s\n", what);
    std::abort();
  }
}

}  // namespace

void ShowReportBox(const char* text, const char* caption, ReportIcon icon) {
  Require(g_armed, "a box outside a guarded call");
  g_boxes.push_back(Box{text ? text : "(null)", caption ? caption : "(null)", icon});
}

void EndProcessNow(int exitCode) {
  Require(g_armed, "the process ended outside a guarded call");
  g_ended = true;
  g_endCode = exitCode;
  std::longjmp(g_jump, 1);
}

namespace {

// ---- the option set an input describes

enum Kind { kFlag, kString, kInteger };
const char* const kNames[] = {"T", "N", "x", "debug", "name", "", "t", "a:b", "T"};
const char* const kEnvNames[] = {nullptr, "FOO", "foo", "BAR", "PATH", "A"};

struct Shape {
  Kind kind;
  const char* name;
  uint32_t flags;
  const char* env;
  bool initialSet;
};

// The model's view of one option.
struct Model {
  Shape shape;
  bool seen = false;
  int flag = 0;
  const char* text = nullptr;
  int32_t number = 0;
};

const char* Help(Kind kind) {
  return kind == kFlag ? "A switch." : kind == kString ? "Some text." : "A number.";
}

// atoi's rule, saturating instead of overflowing.
int32_t ModelInteger(const char* p) {
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > 1LL << 32) value = 1LL << 32;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int32_t>(value);
}

void ModelSet(Model& m, const char* value) {
  switch (m.shape.kind) {
    case kFlag:
      m.flag = m.flag == 0 ? 1 : 0;
      break;
    case kString:
      m.text = value;
      break;
    case kInteger:
      if (value) m.number = ModelInteger(value);
      break;
  }
}

bool SameIgnoringAsciiCase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string ModelUsage(const std::vector<Model>& models, const std::string& message) {
  std::string text = "Error: " + message + "\nUsage: ";
  for (const Model& m : models) {
    const uint32_t f = m.shape.flags;
    if (f & CommandOption::Hidden) continue;
    const bool required = f & CommandOption::Required;
    if (!required) text += '[';
    if (!(f & CommandOption::Positional)) text += '-';
    text += m.shape.name;
    const char* placeholder = m.shape.kind == kFlag ? "" : m.shape.kind == kString ? "<string>"
                                                                                : "<integer>";
    if (*placeholder) {
      if (*m.shape.name) text += ':';
      text += placeholder;
    }
    if (f & CommandOption::Repeatable) text += " ...";
    if (!required) text += ']';
    text += ' ';
  }
  text += "\n\n";
  for (const Model& m : models) {
    const uint32_t f = m.shape.flags;
    if (f & CommandOption::Hidden) continue;
    text += '"';
    if (!(f & CommandOption::Positional)) text += '-';
    text += m.shape.name;
    text += '"';
    if (std::strlen(m.shape.name) <= 7) text += '\t';
    text += "\t ";
    text += Help(m.shape.kind);
    text += ' ';
    if (m.shape.env) text += std::string(" ENV: $") + m.shape.env;
    if (!(f & CommandOption::Required)) {
      text += " Default: ";
      switch (m.shape.kind) {
        case kFlag:
          text += m.flag ? "on" : "off";
          break;
        case kString:
          text += m.text ? m.text : "NULL";
          break;
        case kInteger:
          text += std::to_string(m.number);
          break;
      }
    }
    text += '\n';
  }
  return text;
}

// Runs the model over the tokens; returns the error message, or "" when the parse succeeds.
std::string ModelParse(std::vector<Model>& models, uint32_t parseFlags,
                       const std::vector<const char*>& env, const char* const* tokens, int count,
                       std::string* usage) {
  for (Model& m : models) {
    if (!m.shape.env) continue;
    for (const char* entry : env) {
      if (!entry[0]) continue;
      const char* equals = std::strchr(entry + 1, '=');
      if (!equals) continue;
      if (SameIgnoringAsciiCase(std::string(entry, equals), m.shape.env)) {
        ModelSet(m, equals + 1);
        break;
      }
    }
  }
  std::string error;
  for (int i = 0; i < count && error.empty(); ++i) {
    const char* token = tokens[i];
    if (token[0] == '-' || token[0] == '/') {
      bool matched = false;
      for (Model& m : models) {
        if ((m.shape.flags & CommandOption::Positional) || m.seen) continue;
        const char* value = nullptr;
        bool inToken = false;
        if (std::strlen(m.shape.name) == 1) {
          if (token[1] != m.shape.name[0]) continue;
          if (std::strlen(token) >= 3) {
            value = token + 3;
            inToken = true;
          }
        } else if (std::string(token + 1) != m.shape.name) {
          continue;
        }
        if (!inToken) {
          if (m.shape.kind == kFlag) {
            value = "";
          } else if (i + 1 < count) {
            value = tokens[++i];
          }
        }
        ModelSet(m, value);
        m.seen = true;
        matched = true;
        break;
      }
      if (!matched && !(parseFlags & CommandLineApp::IgnoreUnknownOptions)) {
        error = std::string("Unknown option \"") + token + "\"";
      }
    } else {
      bool taken = false;
      for (Model& m : models) {
        if (!(m.shape.flags & CommandOption::Positional) || m.seen) continue;
        ModelSet(m, token);
        m.seen = true;
        taken = true;
        break;
      }
      if (!taken && !(parseFlags & CommandLineApp::IgnoreUnexpectedArguments)) {
        error = std::string("Unexepected argument \"") + token + "\"";
      }
    }
  }
  if (error.empty()) {
    for (const Model& m : models) {
      if ((m.shape.flags & CommandOption::Required) && !m.seen) {
        error = std::string("Missing required argument: \"") + m.shape.name + "\"";
        break;
      }
    }
  }
  if (!error.empty()) *usage = ModelUsage(models, error);
  return error;
}

struct FuzzApp : CommandLineApp {
  explicit FuzzApp(uint32_t parseFlags) : CommandLineApp(parseFlags) {}
};

// The real options, in registration order.
struct RealOptions {
  // A deque never moves what it holds: the registry keeps the addresses.
  std::deque<FlagOption> flags;
  std::deque<StringOption> strings;
  std::deque<IntegerOption> integers;
  std::vector<CommandOption*> order;
};

void Build(const std::vector<Model>& models, RealOptions* real) {
  for (const Model& m : models) {
    const Shape& s = m.shape;
    switch (s.kind) {
      case kFlag:
        real->flags.emplace_back(s.name, Help(s.kind), m.flag, s.flags, s.env);
        real->order.push_back(&real->flags.back());
        break;
      case kString:
        real->strings.emplace_back(s.name, Help(s.kind), m.text, s.flags, s.env);
        real->order.push_back(&real->strings.back());
        break;
      case kInteger:
        real->integers.emplace_back(s.name, Help(s.kind), m.number, s.flags, s.env);
        real->order.push_back(&real->integers.back());
        break;
    }
  }
}

// Every value, pointer and mark of the real options equals the model's.
void Compare(const std::vector<Model>& models, const RealOptions& real) {
  size_t f = 0, s = 0, n = 0;
  for (size_t i = 0; i < models.size(); ++i) {
    const Model& m = models[i];
    const CommandOption* option = real.order[i];
    Require((option->m_iFlags & ~uint32_t(CommandOption::Seen)) == m.shape.flags, "flags changed");
    Require(((option->m_iFlags & CommandOption::Seen) != 0) == m.seen, "Seen mark");
    switch (m.shape.kind) {
      case kFlag:
        Require(real.flags[f++].m_bValue == m.flag, "flag value");
        break;
      case kString:
        // The pointer itself is kept: it points into the argument vector or the environment.
        Require(real.strings[s++].m_szValue == m.text, "text pointer");
        break;
      case kInteger:
        Require(real.integers[n++].m_iValue == m.number, "integer value");
        break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint32_t parseFlags = data[0] & 3u;
  const size_t optionCount = (data[1] & 7u) + 1;
  size_t pos = 2;
  std::vector<Model> models;
  for (size_t i = 0; i < optionCount && pos + 1 < size; ++i, pos += 2) {
    const uint8_t a = data[pos], b = data[pos + 1];
    Model m;
    m.shape.kind = static_cast<Kind>((a / 9) % 3);
    m.shape.name = kNames[a % 9];
    m.shape.flags = (b & 1u ? CommandOption::Positional : 0u) |
                   (b & 2u ? CommandOption::Required : 0u) | (b & 4u ? CommandOption::Hidden : 0u) |
                   (b & 8u ? CommandOption::Repeatable : 0u);
    m.shape.env = kEnvNames[((b >> 4) & 7u) % 6];
    m.shape.initialSet = (b & 0x80u) != 0;
    m.flag = m.shape.initialSet ? 1 : 0;
    m.text = m.shape.initialSet ? "initial" : nullptr;
    m.number = m.shape.initialSet ? -7 : 0;
    models.push_back(m);
  }

  // The texts, each in a heap block of its own size, so that a read past one is caught.
  std::vector<std::unique_ptr<char[]>> storage;
  std::vector<const char*> env, tokens;
  const char* title = nullptr;
  size_t start = pos;
  while (start < size) {
    size_t end = start;
    while (end < size && data[end] != 0) ++end;
    std::unique_ptr<char[]> text(new char[end - start + 1]);
    std::memcpy(text.get(), data + start, end - start);
    text[end - start] = '\0';
    const char* t = text.get();
    if (std::strncmp(t, "ENV:", 4) == 0) {
      env.push_back(t + 4);
    } else if (std::strncmp(t, "TITLE:", 6) == 0) {
      title = t + 6;
    } else {
      tokens.push_back(t);
    }
    storage.push_back(std::move(text));
    start = end + 1;
  }
  // Exactly as many elements as tokens.
  std::unique_ptr<const char*[]> vector(new const char*[tokens.empty() ? 1 : tokens.size()]);
  for (size_t i = 0; i < tokens.size(); ++i) vector[i] = tokens[i];
  std::vector<const char*> environment = env;
  environment.push_back(nullptr);

  FuzzApp app(parseFlags);
  RealOptions real;
  Build(models, &real);
  app.m_bUseMessageBox = 1;
  std::string caption = "Application";
  if (title) {
    app.SetTitle(title);
    caption = std::string(title).substr(0, 39);
  }
  Require(caption == app.m_szTitle, "title");
  const OptionRegistry& registry = Registry();
  Require(registry.m_iCount == static_cast<int>(models.size()), "registry count");
  for (size_t i = 0; i < models.size(); ++i) {
    Require(registry.m_ppOptions[i] == real.order[i], "registry order");
  }

  std::string usage;
  const std::string error = ModelParse(models, parseFlags, env, vector.get(),
                                       static_cast<int>(tokens.size()), &usage);

  g_boxes.clear();
  g_ended = false;
  g_armed = true;
  // The code between here and the seams holds nothing with a destructor: leaving it through
  // longjmp skips no clean-up, and the leak checker stays on.
  if (setjmp(g_jump) == 0) {
    app.ApplyEnvironment(environment.data());
    CommandLineApp::SetArguments(vector.get(), static_cast<int>(tokens.size()));
    app.Parse();
  }
  g_armed = false;

  Compare(models, real);
  if (error.empty()) {
    Require(!g_ended && g_boxes.empty(), "a report where the model parses");
    // The debug print: shown only when switched on, cut to 2047 characters.
    const char* shown = nullptr;
    for (const StringOption& s : real.strings) {
      if (s.m_szValue) shown = s.m_szValue;
    }
    g_armed = true;
    app.DebugPrint("%s", shown ? shown : "none");
    Require(g_boxes.empty(), "debug print while switched off");
    app.m_bDebugOutput = 1;
    app.DebugPrint(nullptr);
    Require(g_boxes.empty(), "debug print of no format");
    app.DebugPrint("%s", shown ? shown : "none");
    g_armed = false;
    Require(g_boxes.size() == 1 && g_boxes[0].icon == ReportIcon::Information &&
                g_boxes[0].caption == caption,
            "debug box");
    Require(g_boxes[0].text == std::string(shown ? shown : "none").substr(0, 2047), "debug text");
  } else {
    Require(g_ended && g_endCode == -1, "no end with -1 where the model reports");
    Require(g_boxes.size() == 1, "one box");
    Require(g_boxes[0].icon == ReportIcon::Error && g_boxes[0].caption == caption, "error box");
    Require(g_boxes[0].text == usage, "usage text");
    Require(app.UsageText(error.c_str()) == usage, "UsageText");
  }
  return 0;
}
