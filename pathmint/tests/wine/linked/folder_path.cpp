// The names the actions hand the platform, composed in a working directory of the user's: a name
// relative to it is handed over in full, a special folder's path as it was composed.
//
// The platform's delete wants fully qualified names: given a relative one it may delete the file
// for good instead of into the Recycle Bin. Wine's shell moves a relatively named file to the trash
// all the same, so the trash alone (delfile.cpp) cannot tell what the delete was given: this test
// looks at the names themselves.
#include <shlobj.h>

#include <cstring>
#include <string>

#include "actions.h"
#include "folder_path.h"
#include "link_path.h"
#include "wintest.h"

namespace {

enum Compose { kFullPath, kLinkFile, kDeleted };

struct Row {
  const char* what;
  Compose compose;
  int32_t folder;
  std::string name;
  std::string want;  // empty: refused
};

bool ComposeName(const Row& row, char* out) {
  switch (row.compose) {
    case kFullPath:
      return FullPathName(row.name.c_str(), out, kPathBufferSize);
    case kLinkFile:
      return LinkFilePath(row.folder, row.name.c_str(), out, kPathBufferSize);
    case kDeleted:
      return ItemPath(row.folder, row.name.c_str(), out, kPathBufferSize);
  }
  return false;
}

}  // namespace

int main() {
  const std::string dir = wintest::ScratchDir("pathmint names");
  ok(SetCurrentDirectoryA(dir.c_str()) != 0, "cannot work in %s", dir.c_str());
  char desktopPath[MAX_PATH] = "";
  ok(SHGetSpecialFolderPathA(nullptr, desktopPath, CSIDL_DESKTOPDIRECTORY, TRUE) != 0,
     "no desktop folder");
  const std::string desktop = desktopPath;
  // The longest name that fits in full, with its terminator, in the 260-byte buffers.
  const std::string longest(259 - dir.size(), 'f');

  const Row rows[] = {
      {"relative name", kFullPath, kNoSpecialFolder, "old.txt", dir + "old.txt"},
      {"through a subfolder and back", kFullPath, kNoSpecialFolder, "sub\\..\\old.txt",
       dir + "old.txt"},
      {"full name", kFullPath, kNoSpecialFolder, "C:\\Setup\\old.txt", "C:\\Setup\\old.txt"},
      {"longest", kFullPath, kNoSpecialFolder, longest, dir + longest},
      {"one character too long", kFullPath, kNoSpecialFolder, longest + "f", ""},
      {"empty", kFullPath, kNoSpecialFolder, "", ""},
      {"delete, relative", kDeleted, kNoSpecialFolder, "Old.txt", dir + "Old.txt"},
      {"delete, desktop", kDeleted, CSIDL_DESKTOPDIRECTORY, "Old.txt", desktop + "\\Old.txt"},
      {"delete, desktop, as composed", kDeleted, CSIDL_DESKTOPDIRECTORY, "..\\Old.txt",
       desktop + "\\..\\Old.txt"},
      {"link, relative", kLinkFile, kNoSpecialFolder, "Once", dir + "Once.lnk"},
      {"link, extension kept", kLinkFile, kNoSpecialFolder, "Tools\\Report.LNK",
       dir + "Tools\\Report.LNK"},
      {"link, ending in a full stop", kLinkFile, kNoSpecialFolder, "Report.", dir + "Report..lnk"},
      {"link, desktop", kLinkFile, CSIDL_DESKTOPDIRECTORY, "App", desktop + "\\App.lnk"},
      {"link, longest", kLinkFile, kNoSpecialFolder, longest.substr(4), dir + longest.substr(4) + ".lnk"},
      {"link, too long in full", kLinkFile, kNoSpecialFolder, longest.substr(3), ""},
  };
  for (const Row& row : rows) {
    wintest::Context context("%s", row.what);
    char out[kPathBufferSize];
    std::memset(out, 'x', sizeof out);
    const bool composed = ComposeName(row, out);
    ok(composed == !row.want.empty(), "composed: %d", composed);
    const std::string got(out, strnlen(out, sizeof out));
    ok(got == row.want, "[%s], expected [%s]", got.c_str(), row.want.c_str());
  }
  return wintest::Summary();
}
