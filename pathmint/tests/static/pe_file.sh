# pathmint's program file: a PE of its bitness in the GUI subsystem that imports only kernel32 and
# the C runtime when it starts and delay-loads the shell, COM and window DLLs, with the functions
# it is built on from theirs.
source "$(dirname "$0")/../../../tests/common/static.bash"
check_pe_file "kernel32.dll msvcrt.dll" "shell32.dll ole32.dll user32.dll" \
  "kernel32.dll:GetPrivateProfileStringA kernel32.dll:GetCurrentDirectoryA kernel32.dll:ExitProcess
   kernel32.dll:GetProcAddress kernel32.dll:SetDllDirectoryA kernel32.dll:LoadLibraryA
   kernel32.dll:ProcessIdToSessionId kernel32.dll:IsWow64Process
   user32.dll:MessageBoxA shell32.dll:SHFileOperationA shell32.dll:ShellExecuteA
   shell32.dll:SHGetSpecialFolderLocation ole32.dll:CoInitialize ole32.dll:CoInitializeEx
   ole32.dll:CoCreateInstance kernel32.dll:GetCommandLineW shell32.dll:SHGetPathFromIDListW" \
  45056  # 44 KiB
check_hardening 15
finish
