# Shared start of quorvel's static checks: the program path, the source tree, the readers.
# Sourced by the check scripts; each is run as `bash script.sh PROGRAM.exe`.
set -euo pipefail

exe=${1:?usage: $0 PROGRAM.exe}
[ -f "$exe" ] || { echo "FAIL no program file $exe"; exit 1; }
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
src=${SOURCE_DIR:-$here/../../..}
res_dir=$src/quorvel/res

need() {
  local tool
  for tool; do
    command -v "$tool" >/dev/null || { echo "FAIL the reader $tool is not installed"; exit 1; }
  done
}

# The bitness of the file, from the file's own header: i686 or x86_64.
arch_of() {
  case "$(file -b "$1")" in
    PE32+*x86-64*) echo x86_64 ;;
    PE32\ *Intel\ 80386*) echo i686 ;;
    *) echo unknown ;;
  esac
}

need python3 file
python=$(command -v python3)

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
expect_eq() {   # what got want
  if [ "$2" == "$3" ]; then echo "ok   $1"; else fail "$1: got '$2', want '$3'"; fi
}
