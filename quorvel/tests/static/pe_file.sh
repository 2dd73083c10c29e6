# quorvel's program file: a PE of its bitness in the GUI subsystem that imports only kernel32 and
# the C runtime when it starts and delay-loads the registry and window DLLs, with the functions it
# is built on from theirs.
source "$(dirname "$0")/../../../tests/common/static.bash"
check_pe_file "kernel32.dll msvcrt.dll" "advapi32.dll user32.dll" \
  "kernel32.dll:SetTimeZoneInformation kernel32.dll:GetProcAddress kernel32.dll:SetDllDirectoryA
   kernel32.dll:LoadLibraryA kernel32.dll:ProcessIdToSessionId user32.dll:DialogBoxParamA
   user32.dll:MessageBoxA advapi32.dll:RegOpenKeyExA advapi32.dll:AdjustTokenPrivileges" \
  81920  # 80 KiB
check_hardening 17
finish
