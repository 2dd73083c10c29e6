// The process mitigations as pathmint asks for them, seen at the call that sets them: the policies
// and flags of both programs' start, a refused policy that does not stop the next one, and the
// one-time launch that turns Redirection Guard on after it has started the target and before it
// deletes the shortcut. Wine's SetProcessMitigationPolicy is a stub that accepts every policy and
// enforces none, so this shows what is asked for and when, never what a policy then refuses.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "actions.h"
#include "winutils.h"
#include "wintest.h"

namespace {

struct Call {
  int policy;
  DWORD flags;
  int launches;    // targets started before the call
  bool linkThere;  // the one-time shortcut not yet deleted
};
std::vector<Call> g_calls;
BOOL g_answer = TRUE;
int g_launches = 0;
std::string g_link;

BOOL WINAPI RecordPolicy(PROCESS_MITIGATION_POLICY policy, PVOID buffer, SIZE_T size) {
  const DWORD flags = size == sizeof(DWORD) ? *static_cast<DWORD*>(buffer) : 0xFFFFFFFF;
  g_calls.push_back({policy, flags, g_launches, wintest::FileExists(g_link)});
  SetLastError(ERROR_INVALID_PARAMETER);
  return g_answer;
}

HINSTANCE WINAPI RecordLaunch(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
  ++g_launches;
  return reinterpret_cast<HINSTANCE>(33);
}

// Makes the function jump to replacement for the rest of the process.
bool Detour(const char* dll, const char* name, const void* replacement) {
  const FARPROC function = GetProcAddress(GetModuleHandleA(dll), name);
  unsigned char jump[14] = {0xFF, 0x25};  // 64 bits: jmp [rip+0], then the address
  size_t size = sizeof jump;
  std::memcpy(jump + 6, &replacement, sizeof replacement);
  if (sizeof replacement == 4) {  // 32 bits: jmp rel32
    const DWORD relative = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(replacement) -
                                              reinterpret_cast<ULONG_PTR>(function) - 5);
    jump[0] = 0xE9;
    std::memcpy(jump + 1, &relative, sizeof relative);
    size = 5;
  }
  DWORD old = 0;
  if (!function || !VirtualProtect(reinterpret_cast<void*>(function), size, PAGE_EXECUTE_READWRITE, &old)) return false;
  std::memcpy(reinterpret_cast<void*>(function), jump, size);
  VirtualProtect(reinterpret_cast<void*>(function), size, old, &old);
  return FlushInstructionCache(GetCurrentProcess(), reinterpret_cast<void*>(function), size) != 0;
}

#define check_calls(...) check_calls_(__FILE__, __LINE__, __VA_ARGS__)
void check_calls_(const char* file, int line, const std::vector<Call>& want) {
  ok_(file, line)(g_calls.size() == want.size(), "%u calls, want %u\n",
                  static_cast<unsigned>(g_calls.size()), static_cast<unsigned>(want.size()));
  for (size_t i = 0; i < g_calls.size() && i < want.size(); ++i) {
    const Call& got = g_calls[i];
    ok_(file, line)(got.policy == want[i].policy && got.flags == want[i].flags &&
                        got.launches == want[i].launches && got.linkThere == want[i].linkThere,
                    "call %u: policy %d flags %#lx after %d launches, shortcut %s; want %d %#lx %d %s\n",
                    static_cast<unsigned>(i), got.policy, got.flags, got.launches,
                    got.linkThere ? "there" : "gone", want[i].policy, want[i].flags,
                    want[i].launches, want[i].linkThere ? "there" : "gone");
  }
  g_calls.clear();
}

}  // namespace

int main() {
  if (!Detour("kernel32.dll", "SetProcessMitigationPolicy", reinterpret_cast<const void*>(RecordPolicy)) ||
      !Detour("shell32.dll", "ShellExecuteA", reinterpret_cast<const void*>(RecordLaunch))) {
    skip("cannot watch SetProcessMitigationPolicy and ShellExecuteA (error %lu)\n", GetLastError());
    return wintest::Summary();
  }
  // No remote or low-integrity images, System32's first (1 | 2 | 4); no extension points (1).
  const std::vector<Call> start = {{ProcessImageLoadPolicy, 7, 0, false},
                                   {ProcessExtensionPointDisablePolicy, 1, 0, false}};
  wintest::Section("start");
  TurnOnLoadMitigations();
  check_calls(start);
  g_answer = FALSE;  // a Windows older than the policies
  TurnOnLoadMitigations();
  check_calls(start);
  ok(!SetMitigationPolicy(ProcessRedirectionTrustPolicy, 1), "a refused policy reported set\n");
  g_calls.clear();
  g_answer = TRUE;

  wintest::Section("one-time launch");
  const std::string dir = wintest::ScratchDir("pathmint mitigations");
  g_link = dir + "once.lnk";
  ok(wintest::WriteFileText(g_link, "shortcut"), "cannot write %s\n", g_link.c_str());
  const int32_t status = ExecuteOneTimeLink("C:\\Tools\\app.exe", "-v", g_link.c_str(), dir.c_str());
  ok(status == 0, "status %#x\n", static_cast<unsigned>(status));
  ok(!wintest::FileExists(g_link), "the shortcut is left\n");
  // Enforced (1), once the target has started and while the shortcut is still there.
  check_calls({{ProcessRedirectionTrustPolicy, 1, 1, true}});
  return wintest::Summary();
}
