# The library of both programs' static checks. A check lives in <program>/tests/static/, is run
# as `bash check.sh PROGRAM.exe`, and sources this first: it gives the program file ($exe), the
# check's folder ($here) and the program's resource sources ($res), the readers it needs (need),
# the verdict (fail, check_eq, finish), the file's bitness and bytes, and the check of the PE
# file itself.
set -euo pipefail

exe=${1:?usage: $0 PROGRAM.exe}
[ -f "$exe" ] || { echo "FAIL no program file $exe"; exit 1; }
here=$(cd "$(dirname "${BASH_SOURCE[1]}")" && pwd)
res=$(cd "$here/../../res" && pwd)

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

# check_pe_file "DLL ..." "DLL ..." "DLL:FUNCTION ..." MAX_BYTES: a PE file of its bitness (PE32
# for i386 for the deliverable, at most MAX_BYTES long, so that the C++ runtime's library is not
# linked in again) in the GUI subsystem, whose ordinary imports come from exactly the first DLLs
# and whose delay-loaded imports from exactly the second, each listed function from its DLL and
# each delay-loaded one with its load stub in place.
check_pe_file() {
  local imported=$1 delayed=$2 imports=$3 limit=$4 objdump magic format machine headers want size
  need file
  local arch
  arch=$(arch_of "$exe")
  case "$arch" in
    i686) objdump=i686-w64-mingw32-objdump magic=010b format=pei-i386 machine=i386 ;;
    x86_64) objdump=x86_64-w64-mingw32-objdump magic=020b format=pei-x86-64 machine=i386:x86-64 ;;
    *) echo "FAIL not a Windows program of either bitness: $(file -b "$exe")"; exit 1 ;;
  esac
  need "$objdump"
  headers=$("$objdump" -p "$exe")
  check_eq "file format" "$(sed -n 's/.*file format \(.*\)/\1/p' <<<"$headers" | head -1)" "$format"
  check_eq "architecture" "$("$objdump" -f "$exe" | sed -n 's/^architecture: \([^,]*\),.*/\1/p')" "$machine"
  check_eq "optional header magic" "$(awk '$1 == "Magic" {print $2}' <<<"$headers")" "$magic"
  check_eq "subsystem" "$(awk '$1 == "Subsystem" {print $2, $3, $4}' <<<"$headers")" "00000002 (Windows GUI)"
  if [ "$arch" = i686 ]; then
    # file(1) adds "(stripped to external PDB)" for a program without symbol tables: the type is what counts.
    check_eq "file type" "$(file -b "$exe" | cut -d, -f1 | sed "s/ (stripped to external PDB)//")" "PE32 executable (GUI) Intel 80386"
    size=$(stat -c %s "$exe")
    if [ "$size" -le "$limit" ]; then echo "ok   $size bytes, at most $limit"; else fail "$size bytes, more than $limit"; fi
  fi

  local ordinary delay_loaded list kind
  ordinary=$(awk '/^The / { dll = "" } /DLL Name:/ { dll = tolower($3) }
                  dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll, $3 }' <<<"$headers")
  need python3
  delay_loaded=$(python3 "$(dirname "${BASH_SOURCE[0]}")/delay_imports.py" "$exe")
  # Before its first call, each function's slot holds its load stub: a slot that holds anything
  # else is jumped to at that call.
  check_eq "every delay-import slot holds its load stub" \
    "$(awk '$3 != "stub" {print $1, $2, $3}' <<<"$delay_loaded" | xargs)" ""
  delay_loaded=$(cut -d' ' -f1,2 <<<"$delay_loaded")
  check_eq "imports from: $imported" "$(cut -d' ' -f1 <<<"$ordinary" | sort -u | xargs)" \
    "$(xargs -n1 <<<"$imported" | sort -u | xargs)"
  check_eq "delay-loaded imports from: $delayed" "$(cut -d' ' -f1 <<<"$delay_loaded" | sort -u | xargs)" \
    "$(xargs -n1 <<<"$delayed" | sort -u | xargs)"
  for want in $imports; do
    case " $delayed " in
      *" ${want%%:*} "*) list=$delay_loaded kind=delay-loaded ;;
      *) list=$ordinary kind=imported ;;
    esac
    if grep -qxF "${want%%:*} ${want#*:}" <<<"$list"; then
      echo "ok   ${want#*:} $kind from ${want%%:*}"
    else
      fail "${want#*:} is not $kind from ${want%%:*}"
    fi
  done
}

# check_hardening MIN_PROTECTED: the rules binary analyzers hold elevated programs to, read from
# the header and the code: DYNAMIC_BASE with a relocation table, NX_COMPAT, no section both
# writable (objdump: not READONLY) and executable (CODE), NO_SEH on 32 bits, HIGH_ENTROPY_VA on
# 64; and at least MIN_PROTECTED functions that start as -fstack-protector makes them: the cookie
# loaded, stored in the frame and cleared from the register.
check_hardening() {
  local objdump=x86_64-w64-mingw32-objdump want="DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT" headers n
  if [ "$(arch_of "$exe")" = i686 ]; then
    objdump=i686-w64-mingw32-objdump want="DYNAMIC_BASE NO_SEH NX_COMPAT"
  fi
  headers=$("$objdump" -p "$exe")
  check_eq "hardening flags" "$(awk '/^DllCharacteristics/ { on = 1; next } !/^\t\t/ { on = 0 }
    on && /DYNAMIC_BASE|HIGH_ENTROPY_VA|NO_SEH|NX_COMPAT/ { print $1 }' <<<"$headers" | sort | xargs)" \
    "$want"
  check_eq "relocation table size" \
    "$(awk '$1 == "Entry" && $2 == "5" { print ($4 == "00000000") ? 0 : "some" }' <<<"$headers")" some
  check_eq "sections writable and executable" "$("$objdump" -h "$exe" |
    awk '/^ +[0-9]+ / { name = $2 } /CODE/ && !/READONLY/ { print name }' | xargs)" ""
  n=$("$objdump" -d --no-show-raw-insn "$exe" | awk -F'\t' '{ ins[NR] = $2 } END {
    for (i = 1; i + 2 <= NR; i++) n += ins[i] ~ /^mov +[^,]+,%[re]ax *$/ &&
      ins[i + 1] ~ /^mov +%[re]ax,-?0x[0-9a-f]+\(%[re][sb]p\) *$/ &&
      ins[i + 2] ~ /^xor +%eax,%eax *$/
    print n + 0 }')
  if [ "$n" -ge "$1" ]; then echo "ok   $n protected functions"
  else fail "$n protected functions, fewer than $1"; fi
}
