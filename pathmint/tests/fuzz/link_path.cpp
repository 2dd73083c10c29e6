// Fuzzes the link path rules and the relaunch line: every line that is built splits back into
// exactly the values it was built from, nothing is written past a buffer, and a refusal happens
// only when the text really does not fit. Input: target, arguments and link path separated by
// zero bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../unit/command_line_split.h"
#include "link_path.h"

namespace {

void Require(bool condition) {
  if (!condition) abort();
}

void CheckRelaunchLine(const std::string& target, const std::string& arguments,
                       const std::string& link, size_t capacity) {
  std::vector<char> out(capacity + 1, '\x7f');  // one guard byte behind the buffer
  const bool built =
      BuildRelaunchLine(out.data(), capacity, target.c_str(), arguments.c_str(), link.c_str());
  Require(out[capacity] == '\x7f');
  const std::string line = out.data();
  if (!built) {
    Require(line.empty());
    return;
  }
  Require(line.size() < capacity);
  std::vector<std::string> expected = {"-exec", "/T:" + target};
  if (!arguments.empty()) expected.push_back("/A:" + arguments);
  expected.push_back("/L:" + link);
  Require(SplitCommandLine(line) == expected);
}

bool EndsInExtension(const std::string& s) {
  if (s.size() < 4) return false;
  std::string tail = s.substr(s.size() - 4);
  for (char& c : tail) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return tail == ".LNK";
}

void CheckExtension(const std::string& path) {
  if (path.size() >= kPathBufferSize) return;
  char buffer[kPathBufferSize + 1];
  memcpy(buffer, path.c_str(), path.size() + 1);
  buffer[kPathBufferSize] = '\x7f';
  const bool done = EnsureLinkExtension(buffer, kPathBufferSize);
  Require(buffer[kPathBufferSize] == '\x7f');
  const std::string result = buffer;
  // Unchanged when the text after its last full stop already is the extension.
  const size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && EndsInExtension(path) && dot == path.size() - 4;
  if (hasExtension) {
    Require(done && result == path);
  } else if (path.size() + 4 < kPathBufferSize) {
    Require(done && result == path + ".lnk");
  } else {
    Require(!done && result == path);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string fields[3];
  size_t which = 0;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      if (++which == 3) break;
      continue;
    }
    fields[which] += static_cast<char>(data[i]);
  }
  CheckRelaunchLine(fields[0], fields[1], fields[2], kPathBufferSize);
  CheckRelaunchLine(fields[0], fields[1], fields[2], 4096);
  CheckExtension(fields[0]);
  CheckExtension(fields[2]);

  char joined[kPathBufferSize];
  if (JoinFolderPath(joined, sizeof joined, fields[0].c_str(), fields[2].c_str())) {
    Require(std::string(joined) == fields[0] + "\\" + fields[2]);
  } else {
    Require(joined[0] == '\0' && fields[0].size() + 1 + fields[2].size() >= kPathBufferSize);
  }
  return 0;
}
