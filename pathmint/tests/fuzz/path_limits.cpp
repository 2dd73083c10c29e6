// The path rules at and around the 260-character buffers, where inputs of a general fuzz run
// seldom reach: every input is stretched to a length a few characters either side of a limit.
// Each rule writes into a heap buffer of exactly the program's size (so AddressSanitizer sees any
// write past it) and must give the exact result the rule describes, or refuse exactly when the
// result does not fit, as the shell actions use them:
//   shortcut  folder, backslash, name joined, then ".lnk" appended     259 characters at most
//   exec      the link name copied, then ".lnk" appended               259 characters at most
//   delfile   folder, backslash, name in 259 bytes (a second zero follows the path)  258
//   start-up  the current directory with a backslash appended          259 characters at most
//
// Input: byte 0 and 1 choose the folder and name lengths (around the limits), byte 2 the ending
// of the name; the rest is the character material, repeated as needed (zero bytes become 'x').
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "actions.h"
#include "link_path.h"
#include "link_settings.h"
#include "report_seams.h"

using seams::Require;

// Nothing here reports (a report outside a guarded call is a finding), and no action runs.
int32_t CreateShortcut(const char*, const char*, const char*, const char*, int32_t, int32_t,
                       int32_t, int32_t) {
  std::abort();
}
int32_t ExecuteOneTimeLink(const char*, const char*, const char*, const char*) {
  std::abort();
}
int32_t ShellDeleteFile(int32_t, const char*) {
  std::abort();
}

namespace {

std::string Material(const uint8_t* data, size_t size, size_t length, size_t offset) {
  std::string out;
  for (size_t i = 0; i < length; ++i) {
    char c = size ? static_cast<char>(data[(offset + i) % size]) : 'a';
    out += c ? c : 'x';
  }
  return out;
}

bool HasLinkExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.size() - dot != 4) return false;
  std::string tail = path.substr(dot);
  for (char& c : tail) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return tail == ".LNK";
}

// A heap buffer of exactly kPathBufferSize bytes.
struct Buffer {
  std::unique_ptr<char[]> bytes{new char[kPathBufferSize]};
  char* get() { return bytes.get(); }
  std::string text() const { return std::string(bytes.get(), strnlen(bytes.get(), kPathBufferSize)); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  // Folder lengths 0 and 1 and around 128; name lengths spread over 240..271 and below.
  const size_t folderLength = (data[0] & 0x80) ? 120 + (data[0] & 15) : (data[0] & 1);
  const size_t nameLength =
      (data[1] & 0x80) ? 240 + (data[1] & 31) : 240 + (data[1] & 31) - folderLength / 2;
  const uint8_t ending = data[2];
  const uint8_t* material = data + 3;
  const size_t materialSize = size - 3;

  std::string folder = Material(material, materialSize, folderLength, 0);
  std::string name = Material(material, materialSize, nameLength, folderLength);
  static const char* const kEndings[] = {"", ".lnk", ".LNK", ".LnK", ".lnk.", ".txt", "\\x.lnk",
                                         ".Lnk\\x", "."};
  const std::string suffix = kEndings[ending % 9];
  if (name.size() >= suffix.size()) name.replace(name.size() - suffix.size(), suffix.size(), suffix);
  if (ending & 0x80) name.insert(name.size() / 2, 1, '.');  // a full stop in an earlier part

  // Shortcut: join, then the extension.
  Buffer joined;
  const std::string whole = folder + "\\" + name;
  const bool joinFits = whole.size() < kPathBufferSize;
  Require(JoinFolderPath(joined.get(), kPathBufferSize, folder.c_str(), name.c_str()) == joinFits,
          "join refused a path that fits, or took one that does not");
  Require(joinFits ? joined.text() == whole : joined.text().empty(), "joined text");
  if (joinFits) {
    const std::string extended = HasLinkExtension(whole) ? whole : whole + ".lnk";
    const bool extensionFits = extended.size() < kPathBufferSize;
    Require(EnsureLinkExtension(joined.get(), kPathBufferSize) == extensionFits, "extension limit");
    Require(joined.text() == (extensionFits ? extended : whole), "extended text");
  }

  // Exec: the link name copied, then extended.
  Buffer copied;
  const bool copyFits = name.size() < kPathBufferSize;
  Require(CopyPathText(copied.get(), kPathBufferSize, name.c_str()) == copyFits, "copy limit");
  Require(copied.text() == (copyFits ? name : std::string()), "copied text");

  // Delete: one byte fewer, for the second terminating zero.
  Buffer deletePath;
  std::memset(deletePath.get(), 0, kPathBufferSize);
  const bool deleteFits = whole.size() < kPathBufferSize - 1;
  Require(JoinFolderPath(deletePath.get(), kPathBufferSize - 1, folder.c_str(), name.c_str()) ==
              deleteFits,
          "delete path limit");
  Require(deletePath.get()[kPathBufferSize - 1] == '\0', "the second terminator was overwritten");

  // Start-up directory: a backslash appended unless it ends in a separator.
  LinkSettings settings;
  const std::string dir = name;
  const bool ended = !dir.empty() && (dir.back() == '\\' || dir.back() == '/');
  const std::string stored = ended ? dir : dir + "\\";
  const bool dirFits = !dir.empty() && stored.size() < static_cast<size_t>(kCurrentDirSize);
  Require(settings.StoreCurrentDirectory(dir.c_str()) == dirFits, "current directory limit");
  Require(std::string(settings.m_szCurrentDir) == (dirFits ? stored : std::string()),
          "current directory text");

  // The argument file's text copies: cut to the buffer, never past it.
  std::unique_ptr<char[]> fileText(new char[kFileTextSize]);
  CopyText(fileText.get(), kFileTextSize, name.c_str());
  Require(std::string(fileText.get()) == name.substr(0, kFileTextSize - 1), "file text copy");
  return 0;
}
