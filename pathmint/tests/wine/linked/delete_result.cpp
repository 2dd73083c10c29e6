// The delete's reading of the shell's result, through a file operation of this program's own in
// place of the shell's (which never aborts an item under Wine): the shell may end with 0 after
// aborting items without a word, and the item may still be there.
#include <windows.h>
#include <shellapi.h>

#include "actions.h"
#include "wintest.h"

namespace {
int g_result = 0;
BOOL g_aborted = FALSE;
}  // namespace

extern "C" int WINAPI SHFileOperationA(LPSHFILEOPSTRUCTA operation) {
  operation->fAnyOperationsAborted = g_aborted;
  return g_result;
}

int main() {
  wintest::Section("the shell's result");
  const struct {
    int result;
    BOOL aborted;
    int32_t status;
  } rows[] = {{0, FALSE, 0}, {0, TRUE, kStatusFailed}, {ERROR_ACCESS_DENIED, FALSE, kStatusFailed}};
  for (const auto& r : rows) {
    g_result = r.result;
    g_aborted = r.aborted;
    const int32_t status = ShellDeleteFile(kNoSpecialFolder, "C:\\old.txt");
    ok(status == r.status, "result %d, aborted %d: status 0x%08lX", r.result, r.aborted,
       static_cast<unsigned long>(status));
  }
  return wintest::Summary();
}
