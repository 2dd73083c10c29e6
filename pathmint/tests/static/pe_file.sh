# pathmint's program file: a PE of its bitness (PE32 for i386 for the deliverable), the GUI
# subsystem, and imports from Windows system DLLs only.
source "$(dirname "$0")/common.bash"
need file

arch=$(arch_of "$exe")
case "$arch" in
  i686) objdump=i686-w64-mingw32-objdump magic=010b machine=i386 ;;
  x86_64) objdump=x86_64-w64-mingw32-objdump magic=020b machine=i386:x86-64 ;;
  *) echo "FAIL not a Windows program of either bitness: $(file -b "$exe")"; exit 1 ;;
esac
need "$objdump"
headers=$("$objdump" -p "$exe")

check_eq "architecture" "$("$objdump" -f "$exe" | sed -n 's/^architecture: \([^,]*\),.*/\1/p')" "$machine"
check_eq "optional header magic" "$(awk '$1 == "Magic" {print $2}' <<<"$headers")" "$magic"
check_eq "subsystem" "$(awk '$1 == "Subsystem" {print $2, $3, $4}' <<<"$headers")" "00000002 (Windows GUI)"
if [ "$arch" = i686 ]; then
  # file(1) adds "(stripped to external PDB)" for a program without symbol tables: the type is what counts.
  check_eq "file type" "$(file -b "$exe" | cut -d, -f1 | sed "s/ (stripped to external PDB)//")" "PE32 executable (GUI) Intel 80386"
  # The deliverable stays small: the C++ runtime's library is not linked in again.
  size=$(stat -c %s "$exe")
  if [ "$size" -le 49152 ]; then echo "ok   $size bytes, at most 48 KiB"; else fail "$size bytes, more than 48 KiB"; fi
fi

dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || fail "no imports found"
for dll in $dlls; do
  case "$dll" in
    kernel32.dll | user32.dll | shell32.dll | ole32.dll | advapi32.dll | msvcrt.dll)
      echo "ok   imports $dll" ;;
    *) fail "imports $dll, which is not a Windows system DLL" ;;
  esac
done
# The functions the program is built on come from their system DLLs.
for want in kernel32.dll:GetPrivateProfileStringA kernel32.dll:GetCurrentDirectoryA \
            kernel32.dll:ExitProcess user32.dll:MessageBoxA; do
  dll=${want%%:*} fn=${want#*:}
  if awk -v dll="$dll" -v fn="$fn" '
       /DLL Name:/ { cur = tolower($3) }
       cur == dll && $NF == fn { found = 1 }
       END { exit !found }' <<<"$headers"; then
    echo "ok   $fn from $dll"
  else
    fail "$fn is not imported from $dll"
  fi
done
finish
