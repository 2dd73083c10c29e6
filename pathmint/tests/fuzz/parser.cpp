// The option parser and the usage text over arbitrary argument vectors and environments.
// Input: tokens separated by line feeds; a token starting with "ENV:" is an environment entry.
// The parse flags skip whatever nothing takes, so no input ends the process.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "command_line_app.h"
#include "report.h"

void ShowReportBox(const char*, const char*, ReportIcon) {
  std::abort();  // nothing here reports
}

void EndProcessNow(int) {
  std::abort();
}

namespace {
struct FuzzApp : CommandLineApp {
  FuzzApp()
      : CommandLineApp(IgnoreUnknownOptions | IgnoreUnexpectedArguments),
        flag("debug", "Flag.", 0, 0, "FLAG"),
        letterFlag("x", "Letter flag.", 0, CommandOption::Hidden, nullptr),
        text("T", "Text.", nullptr, CommandOption::Repeatable, "TEXT"),
        longText("name", "Long text.", nullptr, 0, nullptr),
        number("N", "Number.", 0, 0, "NUMBER"),
        first("", "First.", nullptr, CommandOption::Positional, nullptr),
        second("second", "Second.", nullptr, CommandOption::Positional, nullptr) {}
  FlagOption flag;
  FlagOption letterFlag;
  StringOption text;
  StringOption longText;
  IntegerOption number;
  StringOption first;
  StringOption second;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> tokens;
  std::vector<std::string> environment;
  std::string input(reinterpret_cast<const char*>(data), size);
  size_t start = 0;
  while (start <= input.size()) {
    size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    std::string token = input.substr(start, end - start);
    if (token.compare(0, 4, "ENV:") == 0) {
      environment.push_back(token.substr(4));
    } else {
      tokens.push_back(token);
    }
    start = end + 1;
  }

  // Exactly as many elements as tokens: a read past the vector is caught.
  std::vector<const char*> env;
  for (const std::string& e : environment) env.push_back(e.c_str());
  env.push_back(nullptr);
  const char** vector = new const char*[tokens.empty() ? 1 : tokens.size()];
  for (size_t i = 0; i < tokens.size(); ++i) vector[i] = tokens[i].c_str();

  FuzzApp app;
  app.ApplyEnvironment(env.data());
  CommandLineApp::SetArguments(vector, static_cast<int>(tokens.size()));
  app.Parse();
  std::string usage = app.UsageText("fuzz");
  if (usage.compare(0, 12, "Error: fuzz\n") != 0) std::abort();
  if (app.letterFlag.m_bValue > 1 || app.flag.m_bValue > 1) std::abort();
  delete[] vector;
  return 0;
}
