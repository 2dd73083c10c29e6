#!/usr/bin/env bash
# The zone dialog's texts under German, French, Japanese and English user locales, and with the
# display language and formats Japanese on a system whose code page is Western European (1252).
# Wine takes the user's language from LC_MESSAGES (else LANG) and the system's code page from
# LC_CTYPE (else LANG), for locales that glibc has, so the Wine test program is run once per
# setting; it reads the texts from the dialog's controls and checks that the setting took effect.
set -u
exe=${1:?usage: $0 quorvel.exe}
tester=$BUILD_DIR/quorvel_wine_dialog.exe
[ -f "$tester" ] || { echo "FAIL no test program $tester"; exit 1; }
"$WINE_RUN" "$BUILD_DIR" --can-run "$tester" || exit

# The locale variables, the user's language (hex) and the ANSI code page they give.
runs=(
  "LANG=de_DE.UTF-8 0407 1252"
  "LANG=fr_FR.UTF-8 040c 1252"
  "LANG=ja_JP.UTF-8 0411 932"
  "LANG=en_US.UTF-8 0409 1252"
  "LANG=ja_JP.UTF-8,LC_MESSAGES=ja_JP.UTF-8,LC_CTYPE=en_US.UTF-8 0411 1252"
)
status=0
for run in "${runs[@]}"; do
  read -r settings langid codepage <<<"$run"
  IFS=, read -r -a variables <<<"$settings"
  missing=
  for variable in "${variables[@]}"; do
    loc=${variable#*=}
    locale -a 2>/dev/null | grep -qx "${loc%.UTF-8}.utf8" || missing=$loc
  done
  if [ -n "$missing" ]; then
    echo "FAIL the locale $missing is missing (scripts/setup.sh generates it)"
    status=1
    continue
  fi
  echo "=== ${variables[*]}"
  env -u LC_ALL -u LC_MESSAGES -u LC_CTYPE "${variables[@]}" \
    "$WINE_RUN" "$BUILD_DIR" "$tester" --texts "$langid" "$codepage" || status=1
done
exit $status
