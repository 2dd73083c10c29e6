// The process mitigations as pathmint asks for them, seen at the call that sets them: the policies
// and flags of both programs' start, a refused policy that does not stop the next one, and the
// one-time launch that turns Redirection Guard on after it has started the target and before it
// deletes the shortcut. Wine's SetProcessMitigationPolicy is a stub that accepts every policy and
// enforces none, so this shows what is asked for and when, never what a policy then refuses.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "actions.h"
#include "wintest.h"
#include "winutils.h"

namespace {

std::string g_calls;  // "policy:flags" per call, with what had happened by then
std::string g_link;
BOOL g_answer = TRUE;
bool g_launched = false;

BOOL WINAPI RecordPolicy(PROCESS_MITIGATION_POLICY policy, PVOID buffer, SIZE_T size) {
  char call[64];
  std::snprintf(call, sizeof call, "%d:%lu%s%s ", policy,
                size == sizeof(DWORD) ? *static_cast<DWORD*>(buffer) : 0xFFFFFFFFul,
                g_launched ? " launched" : "", wintest::FileExists(g_link) ? " shortcut" : "");
  g_calls += call;
  SetLastError(ERROR_INVALID_PARAMETER);
  return g_answer;
}

HINSTANCE WINAPI RecordLaunch(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
  g_launched = true;
  return reinterpret_cast<HINSTANCE>(33);
}

// Makes the function jump to replacement for the rest of the process.
bool Detour(const char* dll, const char* name, const void* replacement) {
  const auto at = reinterpret_cast<unsigned char*>(GetProcAddress(GetModuleHandleA(dll), name));
#ifdef _WIN64
  unsigned char jump[14] = {0xFF, 0x25};  // jmp [rip+0], the address after it
  std::memcpy(jump + 6, &replacement, sizeof replacement);
#else
  unsigned char jump[5] = {0xE9};  // jmp rel32
  const ULONG_PTR relative =
      reinterpret_cast<ULONG_PTR>(replacement) - reinterpret_cast<ULONG_PTR>(at) - sizeof jump;
  std::memcpy(jump + 1, &relative, sizeof relative);
#endif
  DWORD old = 0;
  if (!at || !VirtualProtect(at, sizeof jump, PAGE_EXECUTE_READWRITE, &old)) return false;
  std::memcpy(at, jump, sizeof jump);
  return FlushInstructionCache(GetCurrentProcess(), at, sizeof jump) != 0;
}

#define check_calls(want) check_calls_(__FILE__, __LINE__, want)
void check_calls_(const char* file, int line, const char* want) {
  ok_(file, line)(g_calls == want, "calls \"%s\", want \"%s\"\n", g_calls.c_str(), want);
  g_calls.clear();
}

}  // namespace

int main() {
  if (!Detour("kernel32.dll", "SetProcessMitigationPolicy",
              reinterpret_cast<void*>(RecordPolicy)) ||
      !Detour("shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(RecordLaunch))) {
    skip("cannot watch SetProcessMitigationPolicy and ShellExecuteA (error %lu)\n", GetLastError());
    return wintest::Summary();
  }
  // The image-load policy (10): no remote or low-integrity images, System32's first (1 | 2 | 4);
  // the extension-point policy (6): none (1). A Windows that knows neither refuses both.
  TurnOnLoadMitigations();
  check_calls("10:7 6:1 ");
  g_answer = FALSE;
  TurnOnLoadMitigations();
  check_calls("10:7 6:1 ");
  ok(!SetMitigationPolicy(ProcessRedirectionTrustPolicy, 1), "a refused policy reported set\n");
  g_calls.clear();
  g_answer = TRUE;

  // Redirection Guard (16), enforced (1), once the target has started, before the deletion.
  const std::string dir = wintest::ScratchDir("pathmint mitigations");
  g_link = dir + "once.lnk";
  ok(wintest::WriteFileText(g_link, "shortcut"), "cannot write %s\n", g_link.c_str());
  const int32_t status =
      ExecuteOneTimeLink("C:\\Tools\\app.exe", "-v", g_link.c_str(), dir.c_str());
  ok(status == 0 && !wintest::FileExists(g_link), "status %#x\n", static_cast<unsigned>(status));
  check_calls("16:1 launched shortcut ");
  return wintest::Summary();
}
