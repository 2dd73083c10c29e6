// What a shortcut is set to hold, and the check that a saved file holds exactly that.
#ifndef PATHMINT_SAVED_LINK_H
#define PATHMINT_SAVED_LINK_H

#include <windows.h>
#include <shlobj.h>

#include <cstdint>

// The values a shortcut is given; a null arguments or icon path is none (icon index 0).
struct LinkValues {
  const char* path;
  const char* arguments;
  const char* iconPath;
  int32_t iconIndex;
};

// A new shell link object and its file interface: S_OK with both, to be released file first; else
// the failure, and neither.
HRESULT NewLinkObject(IShellLinkA** link, IPersistFile** file);

// Reads file back through a fresh link object: S_OK when it holds the item written holds (as
// set from values.path), values' arguments and values' icon location, and nothing else. A save
// that reported success but wrote less fails here.
HRESULT CheckSavedLink(IShellLinkA* written, const WCHAR* file, const LinkValues& values);

#endif
