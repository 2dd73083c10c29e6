# Start of pathmint's static checks: the program path, the source tree, the readers, the verdict.
# Each check is run as `bash check.sh pathmint.exe`.
set -euo pipefail

exe=${1:?usage: $0 pathmint.exe}
[ -f "$exe" ] || { echo "FAIL no program file $exe"; exit 1; }
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
src=${SOURCE_DIR:-$here/../../..}
res=$src/pathmint/res

need() {
  local tool
  for tool; do
    command -v "$tool" >/dev/null || { echo "FAIL the reader $tool is not installed"; exit 1; }
  done
}

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check_eq() {  # label got want
  if [ "$2" == "$3" ]; then echo "ok   $1"; else fail "$1: got '$2', want '$3'"; fi
}
finish() {
  if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
  echo "all checks passed"
}

# i686 or x86_64, from the file's own header.
arch_of() {
  case "$(file -b "$1")" in
    PE32+*x86-64*) echo x86_64 ;;
    PE32\ *Intel\ 80386*) echo i686 ;;
    *) echo unknown ;;
  esac
}

# The bytes of a file as unsigned decimal numbers, one per line.
bytes_of() {
  od -An -v -tu1 "$1" | tr -s ' ' '\n' | sed '/^$/d'
}
