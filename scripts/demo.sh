#!/usr/bin/env bash
# The main job, end to end: installs what is missing, builds the 32-bit programs (the ones users
# download), then lets pathmint (under Wine, in the build tree's private WoW64 prefix) write a
# shortcut on the desktop and prints what that shortcut holds, as read back by lnkinfo.
set -eu
cd "$(dirname "$0")/.."

bash scripts/setup.sh
# The 32-bit programs need Wine's 32-bit loader; where the set-up could not install it (a package
# registry in mid-sync, build/wine32-unavailable), the same job runs on the 64-bit build.
preset=win32
if [ ! -x /usr/lib/wine/wine ]; then
  preset=win64
  reason=$(cat build/wine32-unavailable 2>/dev/null || echo "it is not installed")
  echo "demo: Wine's 32-bit loader cannot run here ($reason): the same job on the 64-bit build"
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset --target pathmint quorvel

run=scripts/wine-run
build=build/$preset
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
