# Start of the release checks: the build tree, the sources, the verdict.
# Run by ctest in the win32 build with BUILD_DIR and SOURCE_DIR set.
set -euo pipefail

build=${BUILD_DIR:?BUILD_DIR is not set}
src=${SOURCE_DIR:?SOURCE_DIR is not set}
programs=(pathmint.exe quorvel.exe)

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
pass() { echo "ok   $*"; }
# check label command...: passes when the command succeeds.
check() {
  local label=$1
  shift
  if "$@"; then pass "$label"; else fail "$label"; fi
}
# todo_wine label command...: a check whose failure is Wine's, where Windows documents otherwise
# (the checks that run programs run them under Wine): a failure is counted as todo, and a pass
# is a failure, so that a Wine that comes to behave as Windows does is noticed.
todos=0
todo_wine() {
  local label=$1
  shift
  if "$@"; then
    fail "$label (succeeded inside todo block)"
  else
    echo "todo $label (Wine)"
    todos=$((todos + 1))
  fi
}
finish() {
  if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
  if [ "$todos" -ne 0 ]; then echo "all checks passed, $todos todo (Wine)"; else echo "all checks passed"; fi
}
