#!/usr/bin/env bash
# Times the scan's search against find, bfs and fd in three cases, each with the order check first
# and each a table of medians with their ratio to find's:
#   warm     a photo archive of about 20,000 folders and 400,000 files, its folders in the cache
#   cold     the same archive with the caches dropped before every run (needs root)
#   network  a 40,000-file share served over sshfs through a link with 1 ms each way (needs root)
#   bench/run_scan_bench.sh [warm|cold|network|all]     (default: all)
# The scan runs as the scan command runs it: `scan_bench DIR TYPE` uses the scan's own number of
# listings in flight; the tables also show it on two threads.
set -euo pipefail
cd "$(dirname "$0")/.."
ZELVANO_WITH_TOOLS=1 scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
bin=$PWD/build/bench/bench/scan_bench
shared=$(cd ../shared/bench && pwd)
cases=${1:-all}

check_order() { # TREE
  python3 "$shared/ref_order.py" "$1" jpg >/tmp/zelvano-ref.txt
  "$bin" --list "$1" jpg >/tmp/zelvano-ours.txt
  cmp /tmp/zelvano-ref.txt /tmp/zelvano-ours.txt
  echo "order: same as the reference ($(grep -c . /tmp/zelvano-ours.txt) lines)"
}

table() { # NAME
  python3 - "$1" <<'PY'
import json, sys
results = json.load(open('/tmp/zelvano-scan.json'))['results']
find = next(r['median'] for r in results if r['command'] == 'find')
print(f"\n{sys.argv[1]}\n{'':22} {'median ms':>10} {'ratio to find':>14}")
for r in results:
    print(f"{r['command']:22} {r['median'] * 1000:10.1f} {r['median'] / find:14.2f}")
PY
}

run() { # NAME TREE RUNS PREPARE [EXTRA hyperfine args...]
  local name=$1 tree=$2 runs=$3 prepare=$4
  shift 4
  check_order "$tree"
  hyperfine --runs "$runs" ${prepare:+--prepare "$prepare"} --export-json /tmp/zelvano-scan.json -N \
    -n find "find $tree -xdev -iname *.jpg" \
    -n bfs "bfs $tree -xdev -iname *.jpg" \
    -n fd "fdfind -u --one-file-system -e jpg . $tree" \
    "$@" \
    -n "zelvano 2 threads" "$bin $tree jpg 2" \
    -n "zelvano" "$bin $tree jpg" >/dev/null
  table "$name"
}

tree_a=/tmp/zelvano-tree-a
tree_n=/tmp/zelvano-tree-n
if [ "$cases" = all ] || [ "$cases" = warm ] || [ "$cases" = cold ]; then
  [ -d "$tree_a" ] || python3 "$shared/gen_tree.py" a "$tree_a"
fi
case $cases in all | warm) run "warm cache" "$tree_a" 15 "" --warmup 3 ;; esac
case $cases in all | cold) run "cold cache" "$tree_a" 5 "sh -c 'sync; echo 3 >/proc/sys/vm/drop_caches'" ;; esac
case $cases in
all | network)
  [ -d "$tree_n" ] || python3 "$shared/gen_tree.py" n "$tree_n"
  mnt=/tmp/zelvano-net
  bash "$shared/net_drive.sh" up "$mnt" "$tree_n" 1 >/dev/null
  trap 'bash "$shared/net_drive.sh" down "$mnt"' EXIT
  # Mounted again before every run, so that no run finds sshfs's caches warm.
  run "network drive, 1 ms each way" "$mnt" 3 "bash $shared/net_drive.sh remount $mnt" \
    -n "fd -j 16" "fdfind -j 16 -u --one-file-system -e jpg . $mnt"
  ;;
esac
