# quorvel's program file: a PE of its bitness in the GUI subsystem, importing from system DLLs
# only, with the functions it is built on from theirs.
source "$(dirname "$0")/../../../tests/common/static.bash"
check_pe_file "kernel32.dll user32.dll advapi32.dll gdi32.dll msvcrt.dll ntdll.dll shell32.dll ole32.dll comctl32.dll" \
  "user32.dll:DialogBoxParamA user32.dll:MessageBoxA advapi32.dll:RegOpenKeyExA
   advapi32.dll:AdjustTokenPrivileges kernel32.dll:SetTimeZoneInformation" \
  98304  # 96 KiB
finish
