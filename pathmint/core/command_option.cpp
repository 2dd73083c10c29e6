#include "command_option.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {
// Constant-initialised, so options constructed during static initialisation find it ready.
OptionRegistry g_registry = {0, 0, nullptr};
}  // namespace

OptionRegistry& Registry() {
  return g_registry;
}

namespace {
// The registry's array in C-runtime memory. Options are registered during start-up, and without
// the array the program cannot go on: running out of memory here ends the process.
CommandOption** AllocateOptions(int capacity) {
  void* memory = std::malloc(static_cast<size_t>(capacity) * sizeof(CommandOption*));
  if (!memory) std::abort();
  return static_cast<CommandOption**>(memory);
}
}  // namespace

void ResetRegistry() {
  std::free(g_registry.m_ppOptions);
  g_registry.m_ppOptions = AllocateOptions(1);
  g_registry.m_iCapacity = 1;
  g_registry.m_iCount = 0;
}

void RegisterOption(CommandOption* option) {
  if (g_registry.m_iCount == g_registry.m_iCapacity) {
    int capacity = g_registry.m_iCapacity > 0 ? g_registry.m_iCapacity * 2 : 1;
    CommandOption** grown = AllocateOptions(capacity);
    for (int i = 0; i < g_registry.m_iCount; ++i) grown[i] = g_registry.m_ppOptions[i];
    std::free(g_registry.m_ppOptions);
    g_registry.m_ppOptions = grown;
    g_registry.m_iCapacity = capacity;
  }
  g_registry.m_ppOptions[g_registry.m_iCount++] = option;
}

CommandOption::CommandOption(const char* name, const char* help, const char* envName,
                             uint32_t flags)
    : m_szName(name ? name : ""), m_szHelp(help ? help : ""), m_iFlags(flags),
      m_szEnvName(envName) {
  RegisterOption(this);
}

int CommandOption::TakesValue() const {
  return 1;
}

void CommandOption::PrintSummary(TextStream& out) const {
  if (m_iFlags & Hidden) return;
  if (!(m_iFlags & Required)) out.Put('[');
  if (!(m_iFlags & Positional)) out.Put('-');
  out.Put(m_szName);
  const char* placeholder = ValuePlaceholder();
  if (placeholder && *placeholder) {
    if (*m_szName) out.Put(':');
    out.Put(placeholder);
  }
  if (m_iFlags & Repeatable) out.Put(" ...");
  if (!(m_iFlags & Required)) out.Put(']');
  out.Put(' ');
}

void CommandOption::PrintDetail(TextStream& out) const {
  if (m_iFlags & Hidden) return;
  out.Put('"');
  if (!(m_iFlags & Positional)) out.Put('-');
  out.Put(m_szName);
  out.Put('"');
  if (std::strlen(m_szName) <= 7) out.Put('\t');
  out.Put("\t ");
  out.Put(m_szHelp);
  out.Put(' ');
  if (m_szEnvName) {
    out.Put(" ENV: $");
    out.Put(m_szEnvName);
  }
  if (!(m_iFlags & Required)) {
    out.Put(" Default: ");
    PrintValue(out);
  }
  out.Put('\n');
}

FlagOption::FlagOption(const char* name, const char* help, int initial, uint32_t flags,
                       const char* envName)
    : CommandOption(name, help, envName, flags), m_bValue(initial) {}

int FlagOption::TakesValue() const {
  return 0;
}

void FlagOption::SetValue(const char*) {
  m_bValue = m_bValue == 0 ? 1 : 0;
}

const char* FlagOption::ValuePlaceholder() const {
  return "";
}

void FlagOption::PrintValue(TextStream& out) const {
  out.Put(m_bValue ? "on" : "off");
}

StringOption::StringOption(const char* name, const char* help, const char* initial,
                           uint32_t flags, const char* envName)
    : CommandOption(name, help, envName, flags), m_szValue(initial) {}

void StringOption::SetValue(const char* text) {
  m_szValue = text;
}

const char* StringOption::ValuePlaceholder() const {
  return "<string>";
}

void StringOption::PrintValue(TextStream& out) const {
  out.Put(m_szValue ? m_szValue : "NULL");
}

IntegerOption::IntegerOption(const char* name, const char* help, int32_t initial,
                             uint32_t flags, const char* envName)
    : CommandOption(name, help, envName, flags), m_iValue(initial) {}

void IntegerOption::SetValue(const char* text) {
  if (text) m_iValue = ConvertInteger(text);
}

const char* IntegerOption::ValuePlaceholder() const {
  return "<integer>";
}

void IntegerOption::PrintValue(TextStream& out) const {
  out.PutDecimal(m_iValue);
}

int32_t ConvertInteger(const char* text) {
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  long long magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (magnitude <= static_cast<long long>(INT_MAX) + 1) magnitude = magnitude * 10 + (*p - '0');
  }
  if (negative) {
    return magnitude > static_cast<long long>(INT_MAX) + 1 ? INT_MIN
                                                          : static_cast<int32_t>(-magnitude);
  }
  return magnitude > INT_MAX ? INT_MAX : static_cast<int32_t>(magnitude);
}
