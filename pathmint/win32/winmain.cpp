// Entry point of pathmint: fill and check the settings, then carry out the one action.
#include <windows.h>

#include <stdlib.h>

#include <type_traits>

#include "link_settings.h"
#include "winutils.h"

namespace {
// The one settings object, constructed during static initialisation. It has nothing to destroy,
// so nothing runs for it at the end of the process.
LinkSettings g_settings;
static_assert(std::is_trivially_destructible<LinkSettings>::value,
              "the settings object must need no destruction");
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RestrictDllSearchToSystem();
  // The arguments are the runtime's split of the process command line, not the text parameter.
  g_settings.Load(__argc, __argv, _environ);
  return g_settings.Run();
}
