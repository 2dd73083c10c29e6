# quorvel's program file: the PE type of its bitness, the GUI subsystem, and imports from
# system DLLs only (the C and C++ runtimes are linked in).
source "$(dirname "$0")/lib.bash"
need file

arch=$(arch_of "$exe")
case "$arch" in
  i686) objdump=i686-w64-mingw32-objdump magic=010b format=pei-i386 machine=i386 ;;
  x86_64) objdump=x86_64-w64-mingw32-objdump magic=020b format=pei-x86-64 machine=i386:x86-64 ;;
  *) echo "FAIL not a Windows program of either bitness: $(file -b "$exe")"; exit 1 ;;
esac
need "$objdump"
headers=$("$objdump" -p "$exe")

expect_eq "file format" "$(sed -n 's/.*file format \(.*\)/\1/p' <<<"$headers" | head -1)" "$format"
expect_eq "architecture" "$("$objdump" -f "$exe" | sed -n 's/^architecture: \([^,]*\),.*/\1/p')" "$machine"
expect_eq "optional header magic" "$(awk '$1 == "Magic" {print $2}' <<<"$headers")" "$magic"
expect_eq "subsystem" "$(awk '$1 == "Subsystem" {print $2}' <<<"$headers")" "00000002"
if [ "$arch" = i686 ]; then
  # file(1) adds "(stripped to external PDB)" for a program without symbol tables: the type is what counts.
  expect_eq "file(1) type" "$(file -b "$exe" | cut -d, -f1 | sed "s/ (stripped to external PDB)//")" "PE32 executable (GUI) Intel 80386"
  # The deliverable stays small: the C++ runtime's library is not linked in again.
  size=$(stat -c %s "$exe")
  if [ "$size" -le 98304 ]; then echo "ok   $size bytes, at most 96 KiB"; else fail "$size bytes, more than 96 KiB"; fi
fi

dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || fail "no imports found"
for dll in $dlls; do
  case "$dll" in
    kernel32.dll|user32.dll|advapi32.dll|gdi32.dll|msvcrt.dll|ntdll.dll|shell32.dll|ole32.dll|comctl32.dll)
      echo "ok   imports $dll" ;;
    *) fail "imports $dll, which is not a system DLL" ;;
  esac
done
for dll in kernel32.dll user32.dll; do
  grep -qx "$dll" <<<"$dlls" || fail "does not import $dll"
done
[ "$failures" -eq 0 ]
