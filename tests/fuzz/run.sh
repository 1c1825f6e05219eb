#!/usr/bin/env bash
# Runs one fuzz target for a bounded time from its seed corpus, in a scratch corpus of its own so
# that the committed seeds stay as they are. On a finding it prints the input that caused it and
# keeps it in fuzz-findings/ of the folder it runs in.
#   run.sh FUZZER SEED_FOLDER SECONDS
set -uo pipefail
fuzzer=$1 seeds=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/found"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/found/" "$work/corpus" "$seeds" 2>&1 | grep -v -E '^#[0-9]+\s+(NEW|REDUCE|pulse)'
status=${PIPESTATUS[0]}
for input in "$work"/found/*; do
  [ -e "$input" ] || continue
  echo "== the input that caused it ($(stat -c %s "$input") bytes), to keep in $seeds:"
  od -A d -t x1z -v "$input"
  mkdir -p fuzz-findings && cp "$input" "fuzz-findings/$(basename "$fuzzer")-$(basename "$input")"
done
exit "$status"
