#!/usr/bin/env bash
# The zone dialog's texts under German, French, Japanese and English user locales. Wine takes the
# user's language from LANG (for locales that glibc has), so the Wine test program is run once per
# locale; it reads the texts from the dialog's controls and checks that the locale took effect.
set -u
exe=${1:?usage: $0 quorvel.exe}
tester=$BUILD_DIR/quorvel_wine_dialog.exe
[ -f "$tester" ] || { echo "FAIL no test program $tester"; exit 1; }
"$WINE_RUN" "$BUILD_DIR" --can-run "$tester" || exit

status=0
for pair in de_DE:0407 fr_FR:040c ja_JP:0411 en_US:0409; do
  loc=${pair%:*} langid=${pair#*:}
  if ! locale -a 2>/dev/null | grep -qx "$loc.utf8"; then
    echo "FAIL the locale $loc.UTF-8 is missing (scripts/setup.sh generates it)"
    status=1
    continue
  fi
  echo "=== LANG=$loc.UTF-8"
  env -u LC_ALL -u LC_MESSAGES -u LC_CTYPE LANG="$loc.UTF-8" \
    "$WINE_RUN" "$BUILD_DIR" "$tester" --texts "$langid" || status=1
done
exit $status
