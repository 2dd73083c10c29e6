# pathmint's program file: a PE of its bitness in the GUI subsystem, importing from Windows system
# DLLs only, with the functions it is built on from theirs.
source "$(dirname "$0")/../../../tests/common/static.bash"
check_pe_file "kernel32.dll user32.dll shell32.dll ole32.dll advapi32.dll msvcrt.dll" \
  "kernel32.dll:GetPrivateProfileStringA kernel32.dll:GetCurrentDirectoryA kernel32.dll:ExitProcess
   user32.dll:MessageBoxA shell32.dll:SHFileOperationA ole32.dll:CoCreateInstance" \
  49152  # 48 KiB
finish
