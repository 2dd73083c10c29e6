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
finish() {
  if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
  echo "all checks passed"
}
