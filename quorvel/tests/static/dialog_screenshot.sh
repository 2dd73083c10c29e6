#!/usr/bin/env bash
# Pictures of the zone dialog on a first start, taken from the Wine display of this build tree:
# in English (build/<tree>/screenshots/quorvel-dialog.png), and with the display language and
# formats Japanese on a system whose code page is Western European (quorvel-dialog-mixed.png), where
# the texts are the English ones. After each, Cancel is clicked with the mouse, which must end
# quorvel with exit code 0 and leave the program key absent.
set -u
exe=${1:?usage: $0 quorvel.exe}
"$WINE_RUN" "$BUILD_DIR" --can-run "$exe" || exit
for tool in xdotool xwd convert identify; do
  command -v "$tool" >/dev/null || { echo "FAIL $tool is not installed"; exit 1; }
done

settings=(LANG=en_US.UTF-8)
run() { env -u LC_ALL -u LC_MESSAGES -u LC_CTYPE "${settings[@]}" "$WINE_RUN" "$BUILD_DIR" "$@"; }
program_key='HKCU\Software\Corvant\Brell Quorvel Utility'
# Wine draws the caption and frame itself when the window manager is asked not to (there is no
# window manager on this display); only for quorvel, and only for this picture.
decoration_key='HKCU\Software\Wine\AppDefaults\quorvel.exe\X11 Driver'

out=$BUILD_DIR/screenshots
mkdir -p "$out"
status=0
fail() { echo "FAIL $*"; status=1; }

run reg delete "$program_key" /f >/dev/null 2>&1
run reg add "$decoration_key" /v Decorated /d N /f >/dev/null 2>&1 || fail "cannot set $decoration_key"
eval "$("$WINE_RUN" "$BUILD_DIR" --env)"

# Shows the dialog under the current settings, takes its picture into $1 and cancels it.
shoot() {
  local picture=$1
  rm -f "$picture"
  run "$exe" &
  quorvel=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --classname quorvel.exe 2>/dev/null | head -n 1)
  if [ -z "$window" ]; then
    fail "the zone dialog did not appear"
  else
    sleep 1  # let it paint
    eval "$(xdotool getwindowgeometry --shell "$window")"
    m=10  # a margin of desktop around the dialog
    x0=$((X > m ? X - m : 0)) y0=$((Y > m ? Y - m : 0))
    xwd -root -silent -display "$DISPLAY" |
      convert xwd:- -crop "$((WIDTH + 2 * m))x$((HEIGHT + 2 * m))+$x0+$y0" +repage "$picture" ||
      fail "the screen could not be captured"
    if [ -s "$picture" ]; then
      size=$(identify -format '%wx%h' "$picture")
      # A dialog of 286 x 65 dialog units is a few hundred pixels wide and over 100 high.
      [ "$WIDTH" -ge 300 ] && [ "$HEIGHT" -ge 100 ] || fail "the dialog is only ${WIDTH}x${HEIGHT} pixels"
      spread=$(convert "$picture" -format '%[fx:standard_deviation > 0.05 ? 1 : 0]' info:)
      [ "$spread" = 1 ] || fail "the picture is blank"
      echo "ok   picture $picture ($size)"
    fi
    # Cancel: the right-hand button on the bottom row (229..279 of 286 units across, 44..58 of 65 down).
    xdotool mousemove "$((X + WIDTH * 254 / 286))" "$((Y + HEIGHT * 82 / 100))" click 1
  fi

  for _ in $(seq 100); do kill -0 "$quorvel" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$quorvel" 2>/dev/null; then
    fail "quorvel did not end after Cancel"
    kill "$quorvel"
  fi
  wait "$quorvel"
  rc=$?
  [ "$rc" -eq 0 ] && echo "ok   exit code 0 after Cancel" || fail "exit code $rc after Cancel"
  if run reg query "$program_key" >/dev/null 2>&1; then
    fail "Cancel wrote the program key"
  else
    echo "ok   the program key is still absent"
  fi
}

shoot "$out/quorvel-dialog.png"
settings=(LANG=ja_JP.UTF-8 LC_MESSAGES=ja_JP.UTF-8 LC_CTYPE=en_US.UTF-8)
shoot "$out/quorvel-dialog-mixed.png"

run reg delete 'HKCU\Software\Wine\AppDefaults\quorvel.exe' /f >/dev/null 2>&1
exit $status
