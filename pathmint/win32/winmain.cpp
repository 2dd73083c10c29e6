// Entry point of pathmint: fill and check the settings, then carry out the one action.
#include <windows.h>

#include <stdlib.h>

#include "link_settings.h"

namespace {
// The one settings object, constructed during static initialisation and never destroyed.
LinkSettings& Settings() {
  static LinkSettings* settings = new LinkSettings();
  return *settings;
}
LinkSettings& g_settings = Settings();
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The arguments are the runtime's split of the process command line, not the text parameter.
  g_settings.Load(__argc, __argv, _environ);
  return g_settings.Run();
}
