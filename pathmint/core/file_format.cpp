#include "file_format.h"

#include <cstring>

namespace {
const char kValueLine[] = "\t\t; Value is either 1 or 0.  Default value is 0.\n";

// The text is a fixed description: its section and key spellings are historical and are not
// the names the reader looks for.
const char* const kPieces[] = {
    "Configuration file format:\n\n",
    "[LINK.CONFIG]\n",
    "Version=1.0\t; File version identifier.\n",
    "Target=\t\t; Path to target executable.\n",
    "Arguments=\t; Argument list (OPTIONAL).\n",
    "LinkPath=\t; Name of shortcut file.\n",
    "IconPath=\t; Path to binary containing icon resource (OPTIONAL).\n",
    "\t\t; Default value is target executable.\n",
    "IconIndex=\t; Icon resource index (OPTIONAL).\n",
    "\t\t; Default value is 0.\n",
    "Folder=\t\t; Setting used to specify shortcut is a folder (OPTIONAL).\n",
    kValueLine,
    "Desktop=\t\t; Shortcut path is relative to the 'Desktop' folder (OPTIONAL).\n",
    kValueLine,
    "Farvorites=\t; Shortcut path is relative to the 'Favorites' folder (OPTIONAL).\n",
    kValueLine,
    "Programs=\t; Shortcut path is relative to the 'Programs' folder (OPTIONAL).\n",
    kValueLine,
    "Start=\t\t; Shortcut path is relative to the 'Start Menu' folder (OPTIONAL).\n",
    kValueLine,
    "Startup=\t\t; Shortcut path is relative to the 'StartUp' folder (OPTIONAL).\n",
    kValueLine,
    "Common=\t\t; Used with relative specifier to indicate common directory location. "
    "(OPTIONAL).\n",
    kValueLine,
    "Clean=\t\t; Used to idicate that the shortcut should be deleted after use (OPTIONAL).\n",
    kValueLine,
};
}  // namespace

int BuildFileFormatText(char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  size_t length = 0;
  const size_t room = static_cast<size_t>(size) - 1;
  buffer[0] = '\0';
  for (const char* piece : kPieces) {
    size_t n = std::strlen(piece);
    if (n > room - length) n = room - length;
    std::memcpy(buffer + length, piece, n);
    length += n;
  }
  buffer[length] = '\0';
  return static_cast<int>(length);
}
