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
  TurnOnLoadMitigations();
  // Where nobody can see the window station (a service, a deployment agent, a scheduled task
  // without a user) a box is never answered: reports go to the standard error stream instead, and
  // the exit code still arrives.
  if (!IsWindowStationVisible()) g_settings.m_bUseMessageBox = 0;
  // The arguments are the runtime's split of the process command line, not the text parameter.
  g_settings.Load(__argc, __argv, _environ);
  // Every action writes or deletes in folders a standard user may have planted a junction in. The
  // one-time launch turns the guard on itself, once its target has started: the target inherits
  // the guard, and must run as it would from the shell.
  if (!g_settings.m_bExecute.m_bValue) TurnOnRedirectionGuard();
  return g_settings.Run();
}
