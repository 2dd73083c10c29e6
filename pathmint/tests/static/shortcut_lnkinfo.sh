#!/usr/bin/env bash
# Shortcuts written by pathmint under Wine, read back with lnkinfo (an independent reader of the
# shortcut file format): path, arguments, icon location and index, file names.
set -u
exe=$1
"$WINE_RUN" "$BUILD_DIR" --can-run "$exe" || exit

scratch=$BUILD_DIR/scratch/lnkinfo
rm -rf "$scratch" && mkdir -p "$scratch"
win="Z:$(readlink -f "$scratch" | tr / '\\')"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

pathmint() {
  "$WINE_RUN" "$BUILD_DIR" "$exe" "$@" 2>/dev/null
}

# The value of one field of lnkinfo's report ("" when the field is absent).
field() {
  lnkinfo "$1" | sed -n "s/^\t$2[[:space:]]*: //p" | head -n 1
}

expect() {  # expect <file> <field> <value>
  local got
  got=$(field "$1" "$2")
  [ "$got" = "$3" ] || fail "$(basename "$1"): $2 is [$got], expected [$3]"
}

absent() {  # absent <file> <field>
  lnkinfo "$1" | grep -q "^	$2" && fail "$(basename "$1"): has $2: $(field "$1" "$2")"
  return 0
}

run() {  # run <expected exit code> args...
  local want=$1; shift
  pathmint "$@"
  local code=$?
  [ "$code" -eq "$want" ] || fail "exit $code for: $*"
}

target='C:\Tools\app.exe'

run 0 "/L:$win\\Plain" "/T:$target"
f=$scratch/Plain.lnk
if [ -f "$f" ]; then
  expect "$f" 'Local path' "$target"
  expect "$f" 'Icon index' 0
  absent "$f" 'Command line arguments'
  absent "$f" 'Icon location'
else
  fail "Plain.lnk not written"
fi

run 0 "/L:$win\\Full" "/T:$target" '/A:-q x y' '/I:C:\icons\set.ico' /N:2
f=$scratch/Full.lnk
expect "$f" 'Local path' "$target"
expect "$f" 'Command line arguments' '-q x y'
expect "$f" 'Icon location' 'C:\icons\set.ico'
expect "$f" 'Icon index' 2

run 0 "/L:$win\\IconFromTarget" "/T:$target" /N:3
f=$scratch/IconFromTarget.lnk
expect "$f" 'Icon location' "$target"
expect "$f" 'Icon index' 3

run 0 "/L:$win\\Report.LNK" "/T:$target"
[ -f "$scratch/Report.LNK" ] && [ ! -e "$scratch/Report.LNK.lnk" ] || fail "Report.LNK not kept as named"

# A self-removing shortcut starts pathmint itself with the escaped relaunch line.
run 0 /clean "/T:$target" '/A:"a b" C:\Temp\' "/L:$win\\Once"
f=$scratch/Once.lnk
self="Z:$(readlink -f "$exe" | tr / '\\')"
expect "$f" 'Local path' "$self"
expect "$f" 'Command line arguments' \
  "-exec /T:\"$target\" /A:\"\\\"a b\\\" C:\\Temp\\\\\" /L:\"$win\\Once.lnk\""
absent "$f" 'Icon location'

# Without a special folder, the link name is relative to the current directory.
(cd "$scratch" && "$WINE_RUN" "$BUILD_DIR" "$(readlink -f "$exe")" /L:Here "/T:$target" 2>/dev/null)
expect "$scratch/Here.lnk" 'Local path' "$target"

[ "$failures" -eq 0 ] && echo "all shortcut fields as expected"
exit $((failures > 0))
