#!/usr/bin/env bash
# Longer fuzz runs than the bounded ones of the test suite (FUZZ_SECONDS, 10 s each).
#
#   scripts/fuzz.sh [SECONDS] [PATTERN]
#
# Builds the host preset (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# every fuzz target whose name contains PATTERN (all by default) for SECONDS each (300 by
# default), one after the other. Each target starts from its seed corpus in the source tree
# (pathmint/tests/fuzz/corpus/<stem>, quorvel/tests/fuzz/corpus/<stem>) and keeps what it finds
# in build/host/fuzz/<target>/, so a later run goes on from there. A finding is written to
# build/host/fuzz/<target>-crash-*; rerun it with `build/host/<target> FILE`. Copy an input worth
# keeping into the seed corpus by hand.
#
# Environment: BUILD_DIR (default build/host) to use another host build tree; FUZZ_JOBS (default 1)
# to run that many workers per target in parallel.
set -u
cd "$(dirname "$0")/.."
seconds=${1:-300}
pattern=${2:-}
build=${BUILD_DIR:-build/host}
jobs=${FUZZ_JOBS:-1}

cmake --preset host -B "$build" >/dev/null || exit 1
cmake --build "$build" || exit 1

status=0
summary=()
for target in "$build"/pathmint_fuzz_* "$build"/quorvel_fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  [[ "$name" == *"$pattern"* ]] || continue
  program=${name%%_fuzz_*}
  stem=${name#*_fuzz_}
  seeds=$program/tests/fuzz/corpus/$stem
  work=$build/fuzz/$name
  mkdir -p "$work" "$seeds"
  echo "=== $name: $seconds s"
  log=$build/fuzz/$name.log
  parallel=()
  [ "$jobs" -gt 1 ] && parallel=(-jobs="$jobs" -workers="$jobs")
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            "${parallel[@]}" -artifact_prefix="$build/fuzz/$name-" "$work" "$seeds" >"$log" 2>&1
  rc=$?
  # With -jobs the workers write fuzz-<n>.log files of their own.
  [ "$jobs" -gt 1 ] && cat fuzz-*.log >>"$log" 2>/dev/null && rm -f fuzz-*.log
  runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | awk '{s += $2} END {print s + 0}')
  corpus=$(find "$work" -type f | wc -l)
  if [ "$rc" -eq 0 ]; then
    summary+=("$(printf '%-40s ok       %12s runs  %6s inputs' "$name" "$runs" "$corpus")")
  else
    status=1
    summary+=("$(printf '%-40s FINDING  see %s' "$name" "$log")")
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*: runtime error|Test unit written)' "$log" | head -n 5
  fi
done

echo
echo "fuzz runs of $seconds s each:"
printf '%s\n' "${summary[@]}"
exit $status
