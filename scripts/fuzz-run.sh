#!/usr/bin/env bash
# fuzz-run.sh TARGET SEED_CORPUS WORK_DIR SECONDS
# A bounded libFuzzer run: new inputs go to WORK_DIR, the seed corpus in the source tree is only read.
set -eu
target=$1 seeds=$2 work=$3 seconds=$4
mkdir -p "$work"
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
     "$work" "$seeds"
