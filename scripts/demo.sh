#!/usr/bin/env bash
# The main job, end to end: installs what is missing, builds the 32-bit programs (the ones users
# download), then lets pathmint (under Wine, in the build tree's private WoW64 prefix) write a
# shortcut on the desktop and prints what that shortcut holds, as read back by lnkinfo.
set -eu
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target pathmint quorvel

run=scripts/wine-run
build=build/win32
$run $build --init
desktop_win=$($run $build cmd /c 'echo %USERPROFILE%\Desktop' | tr -d '\r')
desktop=$($run $build winepath -u "$desktop_win" | tr -d '\r')
rm -f "$desktop/Notepad Demo.lnk"

set +e
$run $build start /wait /unix "$(readlink -f $build/pathmint.exe)" \
  /desktop "/L:Notepad Demo" '/T:C:\windows\notepad.exe' '/A:C:\readme.txt' /N:0
code=$?
set -e
$run $build --stop
echo "pathmint exit code: $code"
[ "$code" -eq 0 ] || exit "$code"

echo "shortcut: $desktop/Notepad Demo.lnk"
lnkinfo "$desktop/Notepad Demo.lnk"
