#include "command_line_app.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Process-wide parser state: one parse per process.
const char* const* g_cursor = nullptr;  // the current token
int g_remaining = 0;                    // tokens left, the current one included
uint32_t g_parseFlags = 0;
const char g_emptyText[] = "";  // the value handed to options that take none
// The last usage text composed; its memory is kept for the whole process.
TextStream g_usage = {nullptr, 0, 0, false};

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The value of the variable name in environment, or null. Windows keeps per-drive directories in
// entries such as "=C:=C:\dir", so a name may start with '=' and ends at the next one.
const char* FindVariable(const char* const* environment, const char* name) {
  if (!environment) return nullptr;
  size_t length = std::strlen(name);
  for (const char* const* entry = environment; *entry; ++entry) {
    const char* text = *entry;
    const char* equals = text[0] ? std::strchr(text + 1, '=') : nullptr;
    if (!equals || static_cast<size_t>(equals - text) != length) continue;
    bool same = true;
    for (size_t i = 0; i < length && same; ++i) same = AsciiLower(text[i]) == AsciiLower(name[i]);
    if (same) return equals + 1;
  }
  return nullptr;
}

// Formats into text (size bytes), cut to size - 1 characters. On Windows this is the C runtime
// DLL's own formatter: the replacement that the C++ headers choose instead would link a whole
// formatting library, floating point included, into the program. The DLL's formatter leaves a
// full buffer unterminated, so it gets one byte less and the last byte is set here.
__attribute__((format(printf, 3, 0)))
void FormatText(char* text, size_t size, const char* format, va_list args) {
#ifdef _WIN32
  _vsnprintf(text, size - 1, format, args);
  text[size - 1] = '\0';
#else
  if (std::vsnprintf(text, size, format, args) < 0) text[0] = '\0';
#endif
}

// Composes the usage text in g_usage: "Error: ", message, quoted between double quotes unless it
// is null, a newline, "Usage: " with every option's summary, two newlines, every detail line.
const char* ComposeUsage(const char* message, const char* quoted) {
  g_usage.Clear();
  g_usage.Put("Error: ");
  g_usage.Put(message);
  if (quoted) {
    g_usage.Put('"');
    g_usage.Put(quoted);
    g_usage.Put('"');
  }
  g_usage.Put("\nUsage: ");
  const OptionRegistry& registry = Registry();
  for (int i = 0; i < registry.m_iCount; ++i) registry.m_ppOptions[i]->PrintSummary(g_usage);
  g_usage.Put("\n\n");
  for (int i = 0; i < registry.m_iCount; ++i) registry.m_ppOptions[i]->PrintDetail(g_usage);
  return g_usage.Text();
}
}  // namespace

CommandLineApp::CommandLineApp(uint32_t parseFlags) : m_bUseMessageBox(0), m_bDebugOutput(0) {
  SetTitle("Application");
  ResetRegistry();
  g_parseFlags = parseFlags;
}

void CommandLineApp::SetTitle(const char* title) {
  if (!title) title = "";
  size_t n = std::strlen(title);
  if (n > sizeof m_szTitle - 1) n = sizeof m_szTitle - 1;
  std::memcpy(m_szTitle, title, n);
  m_szTitle[n] = '\0';
}

void CommandLineApp::ApplyEnvironment(const char* const* environment) {
  OptionRegistry& registry = Registry();
  for (int i = 0; i < registry.m_iCount; ++i) {
    CommandOption* option = registry.m_ppOptions[i];
    if (!option->m_szEnvName) continue;
    const char* value = FindVariable(environment, option->m_szEnvName);
    if (value) option->SetValue(value);
  }
}

void CommandLineApp::SetArguments(const char* const* first, int count) {
  g_cursor = first;
  g_remaining = (first && count > 0) ? count : 0;
}

void CommandLineApp::Parse() {
  while (g_remaining > 0) {
    const char* token = *g_cursor;
    if (!token) token = g_emptyText;
    if (token[0] == '-' || token[0] == '/') {
      ParseOption(token);
    } else {
      ParseArgument(token);
    }
    ++g_cursor;
    --g_remaining;
  }
  OptionRegistry& registry = Registry();
  for (int i = 0; i < registry.m_iCount; ++i) {
    const CommandOption* option = registry.m_ppOptions[i];
    if ((option->m_iFlags & CommandOption::Required) && !(option->m_iFlags & CommandOption::Seen)) {
      ErrorExit(ComposeUsage("Missing required argument: ", option->m_szName), -1);
    }
  }
}

void CommandLineApp::ParseOption(const char* token) {
  OptionRegistry& registry = Registry();
  for (int i = 0; i < registry.m_iCount; ++i) {
    CommandOption* option = registry.m_ppOptions[i];
    if (option->m_iFlags & (CommandOption::Positional | CommandOption::Seen)) continue;
    const char* name = option->m_szName;
    const char* value = nullptr;
    bool valueInToken = false;
    if (name[0] != '\0' && name[1] == '\0') {
      // A one-letter name matches on the token's second character alone; a third character is
      // a separator of any kind, and the value is everything after it.
      if (token[1] != name[0]) continue;
      if (token[2] != '\0') {
        value = token + 3;
        valueInToken = true;
      }
    } else if (std::strcmp(name, token + 1) != 0) {
      continue;
    }
    if (!valueInToken) {
      if (!option->TakesValue()) {
        value = g_emptyText;
      } else if (g_remaining > 1) {
        ++g_cursor;
        --g_remaining;
        value = *g_cursor;
      }
      // else: the option is the last token and there is no value to take (null).
    }
    option->SetValue(value);
    option->m_iFlags |= CommandOption::Seen;
    return;
  }
  if (g_parseFlags & IgnoreUnknownOptions) return;
  ErrorExit(ComposeUsage("Unknown option ", token), -1);
}

void CommandLineApp::ParseArgument(const char* token) {
  OptionRegistry& registry = Registry();
  for (int i = 0; i < registry.m_iCount; ++i) {
    CommandOption* option = registry.m_ppOptions[i];
    if (!(option->m_iFlags & CommandOption::Positional) || (option->m_iFlags & CommandOption::Seen)) {
      continue;
    }
    option->SetValue(token);
    option->m_iFlags |= CommandOption::Seen;
    return;
  }
  if (g_parseFlags & IgnoreUnexpectedArguments) return;
  ErrorExit(ComposeUsage("Unexepected argument ", token), -1);
}

const char* CommandLineApp::UsageText(const char* message) const {
  return ComposeUsage(message, nullptr);
}

void CommandLineApp::UsageError(const char* message, int exitCode) {
  ErrorExit(UsageText(message), exitCode);
}

void CommandLineApp::ShowReport(const char* text, ReportIcon icon) {
  if (m_bUseMessageBox) {
    ShowReportBox(text, m_szTitle, icon);
  } else {
    // Without a standard error stream (a GUI program started without one) the text is lost and
    // nothing else happens.
    std::fputs(text, stderr);
    std::fputc('\n', stderr);
  }
}

void CommandLineApp::ErrorExit(const char* text, int exitCode) {
  ShowReport(text, ReportIcon::Error);
  if (m_bUseMessageBox) EndProcessNow(exitCode);
  std::exit(exitCode);
}

void CommandLineApp::DebugPrint(const char* format, ...) {
  if (!m_bDebugOutput || !format) return;
  char text[2048];
  va_list args;
  va_start(args, format);
  FormatText(text, sizeof text, format, args);
  va_end(args);
  ShowReport(text, ReportIcon::Information);
}
