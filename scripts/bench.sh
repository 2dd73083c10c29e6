#!/usr/bin/env bash
# Benchmark of both programs against the platform floor, under Wine (not part of the tests).
#
#   scripts/bench.sh [--runs N] [--warmup N] [--batch K] [--batch-reps N]
#                    [--win64 DIR] [--win32 DIR] [--no-build] [--report-only]
#
# --report-only writes the table again from the runs of the last benchmark, without running any.
#
# Builds the win64 tree (programs, floors in bench/, the timing driver) and the win32 tree (for
# the sizes), then runs every case inside Wine under bench_timer, which starts the programs with
# CreateProcess and times them with QueryPerformanceCounter, so Wine's start of an outer launcher
# is never counted. The cases take turns, round after round, after warm-up rounds that are not
# counted. Wine runs in a prefix of the benchmark's own (build/bench/wine), so that a test run in
# build/win64 at the same time does not share its wineserver and the benchmark's registry changes
# stay out of the tests' prefix.
#
# Output: build/bench/results.txt (the table), results.json (all of it), results.csv (one row per
# case), ratios.csv, sizes.csv, runs.csv (every run), timer.log. Takes about two to four minutes on two cores.
set -u
cd "$(dirname "$0")/.."
src=$PWD

runs=21 warmup=2 batch=100 batch_reps=3 build=1 report_only=0
win64=build/win64 win32=build/win32
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift ;;
    --warmup) warmup=$2; shift ;;
    --batch) batch=$2; shift ;;
    --batch-reps) batch_reps=$2; shift ;;
    --win64) win64=$2; shift ;;
    --win32) win32=$2; shift ;;
    --no-build) build=0 ;;
    --report-only) report_only=1 ;;
    *) echo "usage: $0 [--runs N] [--warmup N] [--batch K] [--batch-reps N] [--win64 DIR] [--win32 DIR] [--no-build] [--report-only]" >&2; exit 2 ;;
  esac
  shift
done

out=$src/build/bench
mkdir -p "$out"
win64=$(readlink -f "$win64")
win32=$(readlink -f "$win32")
log=$out/timer.log
scratch=$out/scratch
meta=$out/meta.env

# Builds the benchmark's targets in a tree of the given preset; a program that does not build
# yet is left out of the cases (and said so) rather than stopping the benchmark.
build_tree() {
  local preset=$1 dir=$2
  if [ ! -f "$dir/build.ninja" ]; then
    cmake --preset "$preset" -B "$dir" >>"$log" 2>&1 || { echo "bench: configure of $dir failed (see $log)" >&2; return 1; }
  fi
  cmake --build "$dir" --target bench >>"$log" 2>&1 || { echo "bench: the floors do not build in $dir (see $log)" >&2; return 1; }
  for t in pathmint quorvel; do
    cmake --build "$dir" --target "$t" >>"$log" 2>&1 || echo "bench: $t does not build in $dir; left out" >&2
  done
}
if [ "$report_only" = 1 ]; then
  [ -s "$meta" ] && [ -s "$out/runs.csv" ] || { echo "bench: no earlier runs in $out" >&2; exit 1; }
  # shellcheck disable=SC1090
  . "$meta"
else
: >"$log"
if [ "$build" = 1 ]; then
  build_tree win64 "$win64" || exit 1
  build_tree win32 "$win32" || echo "bench: no 32-bit sizes" >&2
fi
[ -x "$win64/bench_timer.exe" ] || { echo "bench: $win64/bench_timer.exe is missing" >&2; exit 1; }

# Wine: the benchmark's own prefix (wine-run sets it up like every other: windows unmanaged, as
# the display has no window manager; otherwise Wine would wait 2 s for one whenever a window is
# hidden, which would dwarf every dialog's own time).
# The measured part runs at a raised priority where that is allowed (nice -10), so that builds and
# tests of others on the machine disturb it less; a wineserver left from before is ended first,
# so that the one that serves the runs inherits the priority too.
priority=normal
renice -n -10 -p $$ >/dev/null 2>&1 && priority="nice -10"
wine() { "$src/scripts/wine-run" "$out" "$@"; }
wine --stop
wine --init || exit 1
[ -f "$out/wine/prefix/.unmanaged" ] || echo "bench: the prefix's windows are managed; dialogs will look 2 s slower to end" >&2

winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
W=$(winpath "$win64")
rm -rf "$scratch"
mkdir -p "$scratch/batch_pathmint" "$scratch/batch_floor"
S=$(winpath "$scratch")
target="$W\\bench_empty.exe"
vbs=$(winpath "$src/bench/peer/shortcut.vbs")

have_pathmint=0 have_quorvel=0
[ -f "$win64/pathmint.exe" ] && have_pathmint=1
[ -f "$win64/quorvel.exe" ] && have_quorvel=1

# Cases: name, mode, expected exit code, settle ms, prep, cwd, command line (see bench/tools/timer.cpp).
cases=$out/cases.tsv
{
  c() { local IFS=$'\t'; echo "$*"; }
  c empty exit 0 0 - - "\"$W\\bench_empty.exe\""
  c shortcut.floor exit 0 0 - - "\"$W\\bench_floor_shortcut.exe\" \"$target\" \"$S\\floor_s{n}.lnk\""
  c shortcut.floor_desktop exit 0 0 - - "\"$W\\bench_floor_shortcut_desktop.exe\" \"$target\" bench_desk_floor{n}.lnk"
  c shortcut.peer exit 0 0 - - "C:\\windows\\system32\\cscript.exe //nologo //B \"$vbs\" \"$target\" \"$S\\peer_s{n}.lnk\""
  c folder.floor exit 0 0 - - "\"$W\\bench_floor_folder.exe\" \"$S\\floor_d{n}\""
  c folder.floor_com exit 0 0 - - "\"$W\\bench_floor_folder_com.exe\" \"$S\\floorcom_d{n}\""
  c onetime.floor exit 0 0 - - "\"$W\\bench_floor_onetime.exe\" \"$target\" \"$S\\floor_o{n}.lnk\""
  c exec.floor exit 0 150 "touch:$S\\floor_x{n}.lnk" - "\"$W\\bench_floor_exec.exe\" \"$target\" \"$S\\floor_x{n}.lnk\""
  c dialog.floor ready:0 0 0 - - "\"$W\\bench_floor_dialog.exe\" stay"
  c dialog.floor_zones ready:zones 0 0 - - "\"$W\\bench_floor_dialog_zones.exe\" stay"
  c dialog.floor_end exit 0 0 - - "\"$W\\bench_floor_dialog.exe\""
  c silent.floor box '*' 0 qkey:silent - "\"$W\\bench_floor_silent.exe\""
  if [ $have_pathmint = 1 ]; then
    P="\"$W\\pathmint.exe\""
    c shortcut.pathmint exit 0 0 - - "$P \"/T:$target\" \"/L:$S\\pathmint_s{n}\""
    c shortcut.pathmint_desktop exit 0 0 - - "$P /desktop \"/T:$target\" /L:bench_desk_pathmint{n}"
    c folder.pathmint exit 0 0 - - "$P /folder \"/L:$S\\pathmint_d{n}\""
    c onetime.pathmint exit 0 0 - - "$P /clean \"/T:$target\" \"/L:$S\\pathmint_o{n}\""
    c exec.pathmint exit 0 150 "touch:$S\\pathmint_x{n}.lnk" - "$P -exec \"/T:$target\" \"/L:$S\\pathmint_x{n}.lnk\""
    c batch.pathmint "batch:$batch" 0 0 - - "$P \"/T:$target\" \"/L:$S\\batch_pathmint\\s{n}\""
  fi
  c batch.floor "batch:$batch" 0 0 - - "\"$W\\bench_floor_shortcut.exe\" \"$target\" \"$S\\batch_floor\\s{n}.lnk\""
  if [ $have_quorvel = 1 ]; then
    Q="\"$W\\quorvel.exe\""
    c dialog.quorvel ready:zones 0 0 qkey:none - "$Q"
    c dialog.quorvel_saved ready:zones 0 0 qkey:show - "$Q /x"
    c silent.quorvel box 0 0 qkey:silent - "$Q"
  fi
} >"$cases"

echo "bench: $runs runs per case after $warmup warm-up rounds, $batch_reps x $batch shortcuts in a row" >&2
start=$(date +%s)
run_date=$(date -u '+%Y-%m-%d %H:%M UTC')
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
wine "$win64/bench_timer.exe" "$(winpath "$cases")" "$(winpath "$out/runs.csv")" "$runs" "$warmup" "$batch_reps" \
  2> >(tee -a "$log" | grep --line-buffered '^bench_timer' >&2)
rc=$?
# Leave the program key of the zone selector as the prefix had it before: absent.
wine reg delete 'HKCU\SOFTWARE\Corvant\Brell Quorvel Utility' /f >>"$log" 2>&1
wine --stop
elapsed=$(( $(date +%s) - start ))
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
[ $rc -eq 0 ] && [ -s "$out/runs.csv" ] || { echo "bench: the timing driver failed (see $log)" >&2; exit 1; }
for v in run_date runs warmup batch batch_reps priority load_before load_after elapsed win64 win32 cases; do
  printf '%s=%q\n' "$v" "${!v}"
done >"$meta"
fi

# What the runs left behind, as a check that they did their work.
made() { find "$scratch" -maxdepth 2 -name "$1" | wc -l; }
files_note="files made: pathmint shortcuts $(made 'pathmint_s*.lnk'), floor shortcuts $(made 'floor_s*.lnk'),"
files_note+=" peer shortcuts $(made 'peer_s*.lnk'), pathmint folders $(made 'pathmint_d*'), floor folders $(made 'floor_d*'),"
files_note+=" one-time shortcuts pathmint $(made 'pathmint_o*.lnk') floor $(made 'floor_o*.lnk'),"
files_note+=" exec shortcuts left undeleted pathmint $(made 'pathmint_x*.lnk') floor $(made 'floor_x*.lnk'),"
files_note+=" batch pathmint $(find "$scratch/batch_pathmint" -name '*.lnk' | wc -l) floor $(find "$scratch/batch_floor" -name '*.lnk' | wc -l)"
# Shortcuts on the desktop of the benchmark's prefix: count them, then remove them.
desk_pathmint=$(find "$out/wine" -name 'bench_desk_pathmint*.lnk' 2>/dev/null | sort -u | wc -l)
desk_floor=$(find "$out/wine" -name 'bench_desk_floor*.lnk' 2>/dev/null | sort -u | wc -l)
files_note+=", desktop shortcuts pathmint $desk_pathmint floor $desk_floor"
find "$out/wine" -name 'bench_desk_*.lnk' -delete 2>/dev/null
peer_sample=$(find "$scratch" -maxdepth 1 -name 'peer_s*.lnk' | head -n 1)
peer_target=""
if [ -n "$peer_sample" ] && command -v lnkinfo >/dev/null; then
  peer_target=$(lnkinfo "$peer_sample" 2>/dev/null | grep -m1 -i 'Local path' | sed 's/^[^:]*: *//')
fi

# Per-case statistics over the measured runs. The timed quantity is the start-to-end time, but
# for dialogs the start-to-ready time, for "box" cases the time to the end or to the box, and for
# batches the whole batch.
stats=$out/results.csv
awk -F, -v q='"' '
  function sortn(a, n,   i, j, t) { for (i = 2; i <= n; i++) { t = a[i]; for (j = i - 1; j >= 1 && a[j] > t; j--) a[j + 1] = a[j]; a[j + 1] = t } }
  function pct(a, n, p,   x, i) { x = 1 + (n - 1) * p; i = int(x); return (i >= n) ? a[n] : a[i] + (x - i) * (a[i + 1] - a[i]) }
  FNR == NR { split($0, f, "\t"); if (!(f[1] in order)) { order[f[1]] = ++nc; names[nc] = f[1] }; next }
  FNR == 1 { next }
  $2 == "warmup" && $7 == "ok" { next }
  $2 == "dropped" || $7 == "fail" { bad[$1] = $8; if (!($1 in order)) { order[$1] = ++nc; names[nc] = $1 }; next }
  $2 == "run" || $2 == "batch" {
    if (!($1 in order)) { order[$1] = ++nc; names[nc] = $1 }
    v = ($4 >= 0 && $2 == "run") ? $4 : $5
    n[$1]++; val[$1, n[$1]] = v; kind[$1] = $2; if ($8 != q q) info[$1] = $8
  }
  END {
    print "case,n,median_ms,min_ms,q1_ms,q3_ms,max_ms,status"
    for (k = 1; k <= nc; k++) {
      c = names[k]; m = n[c] + 0
      if (m == 0 && !(c in bad)) continue
      if (m == 0 || (c in bad)) { gsub(/"/, "", bad[c]); printf "%s,%d,,,,,,%s\n", c, m, "failed: " bad[c]; continue }
      delete a; for (i = 1; i <= m; i++) a[i] = val[c, i]; sortn(a, m)
      printf "%s,%d,%.1f,%.1f,%.1f,%.1f,%.1f,ok\n", c, m, pct(a, m, 0.5), a[1], pct(a, m, 0.25), pct(a, m, 0.75), a[m]
    }
  }' "$cases" "$out/runs.csv" >"$stats"

med() { awk -F, -v c="$1" '$1 == c && $8 == "ok" { print $3 }' "$stats"; }
quart() { awk -F, -v c="$1" '$1 == c && $8 == "ok" { print $5 }' "$stats"; }
# ratio CASE FLOOR [med|quart]
ratio() {
  local a b f=${3:-med}
  a=$($f "$1"); b=$($f "$2")
  if [ -n "$a" ] && [ -n "$b" ]; then awk -v a="$a" -v b="$b" 'BEGIN { printf "%.2f", a / b }'; else echo "-"; fi
}

sizes=$out/sizes.txt
echo "arch,program,bytes,stripped_bytes,times_empty,dlls" >"$out/sizes.csv"
{
  printf '%-8s %-26s %10s %10s %7s  %s\n' arch program bytes stripped /empty "imported DLLs"
  for arch in i686 x86_64; do
    dir=$win64; [ $arch = i686 ] && dir=$win32
    # Each file's size as a multiple of the empty GUI program's of the same bitness.
    empty=$(stat -c %s "$dir/bench_empty.exe" 2>/dev/null || echo 0)
    for exe in "$dir"/pathmint.exe "$dir"/quorvel.exe "$dir"/bench_empty.exe "$dir"/bench_floor_*.exe; do
      [ -f "$exe" ] || continue
      "$arch-w64-mingw32-strip" -o "$out/stripped.exe" "$exe" 2>/dev/null || cp "$exe" "$out/stripped.exe"
      dlls=$("$arch-w64-mingw32-objdump" -p "$exe" | awk '/DLL Name:/ { print $3 }' | sort -f | tr '\n' ' ')
      # Delay-loaded DLLs marked with +.
      dlls+=$(python3 "$src/tests/common/delay_imports.py" "$exe" | awk '{ print "+" $1 }' | sort -u | tr '\n' ' ')
      bytes=$(stat -c %s "$exe")
      times=$(awk -v a="$bytes" -v b="$empty" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }')
      printf '%-8s %-26s %10d %10d %7s  %s\n' $arch "$(basename "$exe" .exe)" "$bytes" "$(stat -c %s "$out/stripped.exe")" "$times" "$dlls"
      printf '%s,%s,%d,%d,%s,%s\n' $arch "$(basename "$exe" .exe)" "$bytes" "$(stat -c %s "$out/stripped.exe")" "$times" "${dlls% }" >>"$out/sizes.csv"
    done
  done
  rm -f "$out/stripped.exe"
} >"$sizes"

# The table.
report=$out/results.txt
echo "comparison,case,floor,ratio_median,ratio_q1,ratio_empty_median,ratio_empty_q1,delta_median_ms" >"$out/ratios.csv"
{
  echo "Benchmark $run_date on $(nproc) cores, $(/usr/lib/wine/wine64 --version 2>/dev/null), priority $priority"
  echo "load average (1, 5, 15 min) before the runs: $load_before, after: $load_after"
  echo "$runs measured runs per case (after $warmup warm-up rounds), cases interleaved; $batch_reps batches of $batch; $elapsed s in all"
  echo "Times in ms: median [first quartile - third quartile] (min - max). Dialogs: start to ready; box cases: start to end or to the box."
  echo
  printf '%-26s %8s %18s %18s  %s\n' case median "q1 - q3" "min - max" status
  awk -F, 'NR > 1 { if ($8 == "ok") printf "%-26s %8.1f %18s %18s  ok\n", $1, $3, sprintf("%.1f - %.1f", $5, $6), sprintf("%.1f - %.1f", $4, $7); else printf "%-26s %8s %18s %18s  %s\n", $1, "-", "", "", $8 }' "$stats"
  echo
  echo "Ratios to the floors (the aim: within 1.15 of the platform floor): of the medians, and of the"
  echo "first quartiles (q1), which slow spells of the machine disturb less."
  printf '%-30s %11s %11s %11s %11s %11s\n' "" "/platform" "q1/q1" "/empty GUI" "q1/q1" "+ms/floor"
  row() { # label case floor [batch: no ratio to one empty run]
    local own="-" a b e1 e2
    a=$(med "$2"); b=$(med "$3")
    [ -n "$a" ] && [ -n "$b" ] && own=$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%+.1f", a - b }')
    e1=$(ratio "$2" empty) e2=$(ratio "$2" empty quart)
    [ "${4:-}" = batch ] && e1=- e2=-
    local r1 r2
    r1=$(ratio "$2" "$3") r2=$(ratio "$2" "$3" quart)
    printf '%-30s %11s %11s %11s %11s %11s\n' "$1" "$r1" "$r2" "$e1" "$e2" "$own"
    printf '%s,%s,%s,%s,%s,%s,%s,%s\n' "$1" "$2" "$3" "$r1" "$r2" "$e1" "$e2" "$own" >>"$out/ratios.csv"
  }
  row "pathmint shortcut" shortcut.pathmint shortcut.floor
  row "pathmint desktop shortcut" shortcut.pathmint_desktop shortcut.floor_desktop
  row "peer (cscript) shortcut" shortcut.peer shortcut.floor
  row "pathmint folder" folder.pathmint folder.floor
  row "pathmint folder vs COM+dir" folder.pathmint folder.floor_com
  row "pathmint one-time shortcut" onetime.pathmint onetime.floor
  row "pathmint exec" exec.pathmint exec.floor
  row "pathmint x$batch in a row" batch.pathmint batch.floor batch
  row "quorvel dialog ready" dialog.quorvel dialog.floor_zones
  row "quorvel dialog vs empty dlg" dialog.quorvel dialog.floor
  row "quorvel /x, saved zone" dialog.quorvel_saved dialog.floor_zones
  row "quorvel silent start" silent.quorvel silent.floor
  row "empty dialog (ready)" dialog.floor empty
  row "zone floor vs empty dialog" dialog.floor_zones dialog.floor
  echo
  echo "Sizes (bytes as built, stripped of symbols, and as a multiple of the empty GUI program) and imported DLLs (+ delay-loaded)"
  cat "$sizes"
  echo
  echo "$files_note"
  [ -n "$peer_target" ] && echo "peer shortcut points at: $peer_target"
  info=$(awk -F, '$1 ~ /^silent/ && $2 == "run" && $8 != "\"\"" { print $1 ": " $8 }' "$out/runs.csv" | sort -u)
  [ -n "$info" ] && echo "$info"
} >"$report"

# Machine-readable summary: the three tables as arrays of objects; "-" and empty fields are null.
json_array() {
  awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) key[i] = $i; next }
    { printf "%s{", (NR > 2 ? ",\n    " : "\n    ")
      for (i = 1; i <= NF; i++) {
        v = $i; gsub(/"/, "", v)
        if (v == "" || v == "-") v = "null"; else if (v !~ /^[-+]?[0-9]+(\.[0-9]+)?$/) v = "\"" v "\""; else sub(/^\+/, "", v)
        printf "%s\"%s\":%s", (i > 1 ? "," : ""), key[i], v
      }
      printf "}" }
    END { printf "\n  " }' "$1"
}
{
  printf '{\n  "runs": %d, "warmup": %d, "batch": %d, "batch_reps": %d, "priority": "%s", "load_before": "%s",\n' \
    "$runs" "$warmup" "$batch" "$batch_reps" "$priority" "$load_before"
  printf '  "cases": [%s],\n' "$(json_array "$stats")"
  printf '  "ratios": [%s],\n' "$(json_array "$out/ratios.csv")"
  printf '  "sizes": [%s]\n}\n' "$(json_array "$out/sizes.csv")"
} >"$out/results.json"

cat "$report"
echo
echo "bench: results in $report and $out/results.json (also results.csv, ratios.csv, sizes.csv); every run in $out/runs.csv"
