' The peer a user would script instead of the shortcut creator: one shortcut through the
' Windows Script Host's shell object.   cscript //nologo //B shortcut.vbs TARGET LINKFILE
Set shell = CreateObject("WScript.Shell")
Set link = shell.CreateShortcut(WScript.Arguments(1))
link.TargetPath = WScript.Arguments(0)
link.Save
