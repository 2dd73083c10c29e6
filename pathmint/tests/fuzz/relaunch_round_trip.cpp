// The self-removing shortcut's relaunch line, end to end through the program's own settings: any
// target, arguments and link path are built into the line, the line is split as the relaunched
// process's arguments by the platform's documented rules (the tests' splitter,
// unit/command_line_split.h), the pieces go through the real option set of LinkSettings, its checks and its
// dispatch, and the exec action must receive exactly the values the line was built from. A line
// that does not fit the 260-character buffer must be refused, and only such a line.
//
// Input: target, arguments and link path separated by zero bytes; a zero byte after the link path
// selects code page 932, whose two-byte characters may end in the byte of a backslash.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "actions.h"
#include "link_path.h"
#include "link_settings.h"
#include "report_seams.h"
#include "../unit/command_line_split.h"

using seams::Require;

namespace {

struct ExecCall {
  int calls = 0;
  const char* target = nullptr;
  const char* arguments = nullptr;
  const char* linkFile = nullptr;
} g_exec;

}  // namespace

int32_t CreateShortcut(const char*, const char*, const char*, const char*, int32_t, int32_t,
                       int32_t, int32_t) {
  Require(false, "a relaunch line created a shortcut");
  return kStatusFailed;
}

int32_t ShellDeleteFile(int32_t, const char*) {
  Require(false, "a relaunch line deleted a file");
  return kStatusFailed;
}

int32_t ExecuteOneTimeLink(const char* target, const char* arguments, const char* linkFile,
                           const char*) {
  ++g_exec.calls;
  g_exec.target = target;
  g_exec.arguments = arguments;
  g_exec.linkFile = linkFile;
  return 0;
}

namespace {

// Whether the value ends in the first byte of a two-byte character.
bool EndsInHalfCharacter(const std::string& value, LeadByteTest isLeadByte) {
  size_t i = 0;
  while (isLeadByte && i < value.size()) {
    i += isLeadByte(static_cast<unsigned char>(value[i])) ? 2 : 1;
  }
  return i > value.size();
}

bool Same(const char* a, const std::string& b) {
  return a && b == a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string fields[3];
  size_t which = 0;
  for (size_t i = 0; i < size && which < 3; ++i) {
    if (data[i] == 0) {
      ++which;
    } else {
      fields[which] += static_cast<char>(data[i]);
    }
  }
  const std::string& target = fields[0];
  const std::string& arguments = fields[1];
  const std::string& link = fields[2];
  const LeadByteTest isLeadByte = which == 3 ? IsCp932LeadByte : nullptr;

  // Built into a buffer of room enough, the line is refused only for half a character; into a
  // buffer of exactly the program's size, exactly when it is 260 bytes or longer, and otherwise
  // the same line.
  const size_t room = 4 * size + 64;
  std::unique_ptr<char[]> whole(new char[room]);
  const bool halves = EndsInHalfCharacter(target, isLeadByte) ||
                      EndsInHalfCharacter(arguments, isLeadByte) ||
                      EndsInHalfCharacter(link, isLeadByte);
  Require(BuildRelaunchLine(whole.get(), room, target.c_str(), arguments.c_str(), link.c_str(),
                            isLeadByte) == !halves,
          "refused a line for no half character, or built one that ends in half a character");
  std::unique_ptr<char[]> line(new char[kPathBufferSize]);
  const bool built = BuildRelaunchLine(line.get(), kPathBufferSize, target.c_str(),
                                       arguments.c_str(), link.c_str(), isLeadByte);
  Require(built == (!halves && std::strlen(whole.get()) < kPathBufferSize),
          "refused a line that fits, or built one that does not");
  if (!built) {
    Require(line[0] == '\0', "a refused line left text behind");
    return 0;
  }
  Require(std::strcmp(line.get(), whole.get()) == 0, "the line differs from the one built whole");

  // What the relaunched process receives: its program, then the line as the runtime splits it.
  std::vector<std::string> argv = SplitCommandLine(line.get(), isLeadByte);
  argv.insert(argv.begin(), "C:\\Program Files\\pathmint.exe");
  std::vector<std::unique_ptr<char[]>> storage;
  std::unique_ptr<const char*[]> vector(new const char*[argv.size()]);
  for (size_t i = 0; i < argv.size(); ++i) {
    storage.emplace_back(new char[argv[i].size() + 1]);
    std::memcpy(storage.back().get(), argv[i].c_str(), argv[i].size() + 1);
    vector[i] = storage.back().get();
  }

  LinkSettings settings;
  g_exec = ExecCall();
  int status = -2;
  seams::Guarded([&] {
    CommandLineApp::SetArguments(vector.get() + 1, static_cast<int>(argv.size()) - 1);
    settings.Parse();
    settings.Validate();
    status = settings.Run();
  });
  const seams::Reports& r = seams::g_reports;

  // Every value arrives unchanged, whatever the checks then say of it.
  Require(settings.m_bExecute.m_bValue == 1, "exec flag");
  Require(Same(settings.m_szTarget.m_szValue, target), "target");
  if (arguments.empty()) {
    Require(settings.m_szArguments.m_szValue == nullptr, "arguments where none were given");
  } else {
    Require(Same(settings.m_szArguments.m_szValue, arguments), "arguments");
  }
  Require(Same(settings.m_szLinkFile.m_szValue, link), "link path");
  Require(settings.m_szIconPath.m_szValue == nullptr && settings.m_iIconIndex.m_iValue == 0 &&
              settings.m_szCmdFile.m_szValue == nullptr && !settings.m_bIsFolder.m_bValue &&
              !settings.m_bOneTimeLink.m_bValue && !settings.m_bDeleteFile.m_bValue &&
              !settings.m_bDebugFlag.m_bValue,
          "another setting changed");

  // The checks refuse exactly the empty values, with their own messages; otherwise exec runs.
  const char* missing = link.empty()     ? "Missing required argument \"-L\"."
                        : target.empty() ? "Missing required argument \"-T\"."
                                         : nullptr;
  if (missing) {
    Require(r.ended && r.endCode == -1 && r.boxes.size() == 1, "no usage error for an empty value");
    Require(r.boxes[0].text.compare(0, 7 + std::strlen(missing) + 1,
                               std::string("Error: ") + missing + "\n") == 0,
            "usage message");
    Require(g_exec.calls == 0, "exec ran after a usage error");
  } else {
    Require(!r.ended && r.boxes.empty() && status == 0, "the run did not reach its action");
    Require(g_exec.calls == 1 && g_exec.target == settings.m_szTarget.m_szValue &&
                g_exec.arguments == settings.m_szArguments.m_szValue &&
                g_exec.linkFile == settings.m_szLinkFile.m_szValue,
            "exec did not receive the parsed values");
  }
  return 0;
}
