// CheckSavedLink: a saved shortcut read back and compared with what it was given.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstring>

#include "link_path.h"
#include "saved_link.h"

namespace {

// The bytes of an item list, its terminator included.
size_t ItemListSize(const ITEMIDLIST* list) {
  size_t size = sizeof list->mkid.cb;
  for (const BYTE* item = reinterpret_cast<const BYTE*>(list);;) {
    const USHORT cb = reinterpret_cast<const SHITEMID*>(item)->cb;
    if (cb == 0) return size;
    size += cb;
    item += cb;
  }
}

// Both links point at the same item, byte for byte.
bool SameItem(IShellLinkA* a, IShellLinkA* b) {
  LPITEMIDLIST first = nullptr;
  LPITEMIDLIST second = nullptr;
  bool same = SUCCEEDED(a->GetIDList(&first)) && first && SUCCEEDED(b->GetIDList(&second)) &&
              second;
  if (same) {
    const size_t size = ItemListSize(first);
    same = size == ItemListSize(second) && memcmp(first, second, size) == 0;
  }
  CoTaskMemFree(second);
  CoTaskMemFree(first);
  return same;
}

bool SameText(const char* got, const char* want) {
  return strcmp(got, want ? want : "") == 0;
}

// The loaded link holds exactly values' arguments and icon location. The buffers take more than
// the most either may hold, so a longer value shows as a difference, not as a cut one.
bool SameValues(IShellLinkA* loaded, const LinkValues& values) {
  char arguments[2 * INFOTIPSIZE + 2];
  char icon[kPathBufferSize + 1];
  int index = -1;
  return SUCCEEDED(loaded->GetArguments(arguments, sizeof arguments)) &&
         SameText(arguments, values.arguments) &&
         SUCCEEDED(loaded->GetIconLocation(icon, sizeof icon, &index)) &&
         SameText(icon, values.iconPath) && index == (values.iconPath ? values.iconIndex : 0);
}

}  // namespace

HRESULT NewLinkObject(IShellLinkA** link, IPersistFile** file) {
  *link = nullptr;
  *file = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IShellLinkA, reinterpret_cast<void**>(link));
  if (FAILED(result) || !*link) return FAILED(result) ? result : E_FAIL;
  result = (*link)->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file));
  if (SUCCEEDED(result) && *file) return S_OK;
  (*link)->Release();
  *link = nullptr;
  *file = nullptr;
  return FAILED(result) ? result : E_FAIL;
}

HRESULT CheckSavedLink(IShellLinkA* written, const WCHAR* file, const LinkValues& values) {
  IShellLinkA* loaded = nullptr;
  IPersistFile* persist = nullptr;
  HRESULT result = NewLinkObject(&loaded, &persist);
  if (FAILED(result)) return result;
  result = persist->Load(file, STGM_READ);
  if (SUCCEEDED(result) && (!SameItem(written, loaded) || !SameValues(loaded, values))) {
    result = E_FAIL;
  }
  persist->Release();
  loaded->Release();
  return result;
}
