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

# check_hardening MIN_PROTECTED: the rules that binary analyzers hold elevated programs to, as the
# header and the code say them: a relocatable image (DYNAMIC_BASE with its relocation table), data
# never executable (NX_COMPAT, no section both writable and executable), 32 bits: no exception
# handler table and the flag that says none is needed (NO_SEH), 64 bits: HIGH_ENTROPY_VA; and the
# stack cookie read by at least MIN_PROTECTED function prologues.
check_hardening() {
  local min=$1 objdump headers want flags
  case "$(arch_of "$exe")" in
    i686) objdump=i686-w64-mingw32-objdump want="DYNAMIC_BASE NO_SEH NX_COMPAT" ;;
    *) objdump=x86_64-w64-mingw32-objdump want="DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT" ;;
  esac
  headers=$("$objdump" -p "$exe")
  flags=$(awk '/^DllCharacteristics/ { on = 1; next } on && /^\t\t/ { print $1; next } { on = 0 }' \
            <<<"$headers" | grep -xE 'DYNAMIC_BASE|HIGH_ENTROPY_VA|NO_SEH|NX_COMPAT' | sort | xargs)
  check_eq "DllCharacteristics hardening flags" "$flags" "$want"
  check_eq "a relocation table" \
    "$(awk '$1 == "Entry" && $2 == "5" { print ($4 != "00000000") ? "present" : "empty" }' <<<"$headers")" present
  # objdump names a section without IMAGE_SCN_MEM_WRITE READONLY, and one with
  # IMAGE_SCN_MEM_EXECUTE CODE.
  check_eq "sections both writable and executable" \
    "$("$objdump" -h "$exe" | awk '/^ +[0-9]+ / { name = $2; next }
                                  /CODE/ && !/READONLY/ { print name }' | xargs)" ""
  # -fstack-protector's prologue: the cookie loaded from its one address, stored in the frame, and
  # the register cleared at once.
  local protected
  protected=$("$objdump" -d --no-show-raw-insn "$exe" | awk -F'\t' '
    { ins[NR] = $2; whole[NR] = $0 }
    END {
      for (i = 1; i + 2 <= NR; i++) {
        if (ins[i] !~ /^mov +0x[0-9a-f]+(\(%rip\))?,%[re][a-z]x/) continue
        split(ins[i], f, /[ ,]+/)
        at = index(whole[i], "# 0x") ? substr(whole[i], index(whole[i], "# 0x") + 2) : f[2]
        if (ins[i + 1] ~ ("^mov +" f[3] ",") && ins[i + 2] ~ /^xor +%eax,%eax/) print at
      }
    }' | sort | uniq -c | sort -rn | awk 'NR == 1 { print $1 }')
  protected=${protected:-0}
  if [ "$protected" -ge "$min" ]; then
    echo "ok   $protected function prologues read the stack cookie, at least $min"
  else
    fail "$protected function prologues read the stack cookie, fewer than $min"
  fi
}
