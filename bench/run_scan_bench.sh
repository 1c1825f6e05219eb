#!/usr/bin/env bash
# Times the scan's search against find, bfs and fd in three cases, each with the order check first
# and each a table of medians with their ratio to find's:
#   warm     a photo archive of about 20,000 folders and 400,000 files, its folders in the cache
#   cold     the same archive with the caches dropped before every run (needs root)
#   network  a 40,000-file share served over sshfs through a link with 1 ms each way (needs root)
# and a fourth, with its own table:
#   two      the cold archive and the share searched at once, as a scan searches two drives, against
#            each alone: the pair should take little longer than the slower one (needs root)
#   bench/run_scan_bench.sh [warm|cold|network|two|all]     (default: all)
# The scan runs as the scan command runs it: `scan_bench DIR TYPE` uses the scan's own number of
# listings in flight; the tables also show it with two.
set -euo pipefail
cd "$(dirname "$0")/.."
ZELVANO_WITH_TOOLS=1 scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
bin=$PWD/build/bench/bench/scan_bench
shared=$(cd ../shared/bench && pwd)
cases=${1:-all}

check_order() { # TREE...
  for tree in "$@"; do python3 "$shared/ref_order.py" "$tree" jpg; done >/tmp/zelvano-ref.txt
  "$bin" --list "$@" jpg >/tmp/zelvano-ours.txt
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
    -n "zelvano 2 listings" "$bin -j 2 $tree jpg" \
    -n "zelvano" "$bin $tree jpg" >/dev/null
  table "$name"
}

tree_a=/tmp/zelvano-tree-a
tree_n=/tmp/zelvano-tree-n
mnt=/tmp/zelvano-net
[ -d "$tree_a" ] || [ "$cases" = network ] || python3 "$shared/gen_tree.py" a "$tree_a"
if [ "$cases" = all ] || [ "$cases" = network ] || [ "$cases" = two ]; then
  [ -d "$tree_n" ] || python3 "$shared/gen_tree.py" n "$tree_n"
  bash "$shared/net_drive.sh" up "$mnt" "$tree_n" 1 >/dev/null
  trap 'bash "$shared/net_drive.sh" down "$mnt"' EXIT
fi
case $cases in all | warm) run "warm cache" "$tree_a" 15 "" --warmup 3 ;; esac
case $cases in all | cold) run "cold cache" "$tree_a" 5 "sh -c 'sync; echo 3 >/proc/sys/vm/drop_caches'" ;; esac
case $cases in
all | network)
  # Mounted again before every run, so that no run finds sshfs's caches warm.
  run "network drive, 1 ms each way" "$mnt" 3 "bash $shared/net_drive.sh remount $mnt" \
    -n "fd -j 16" "fdfind -j 16 -u --one-file-system -e jpg . $mnt"
  ;;
esac
case $cases in
all | two)
  check_order "$tree_a" "$mnt"
  # Both cold before every run: the disk's caches dropped, the share mounted again.
  hyperfine --runs 5 --export-json /tmp/zelvano-scan.json -N \
    --prepare "sh -c 'sync; echo 3 >/proc/sys/vm/drop_caches; bash $shared/net_drive.sh remount $mnt'" \
    -n "the disk alone" "$bin $tree_a jpg" -n "the share alone" "$bin $mnt jpg" \
    -n "both at once" "$bin $tree_a $mnt jpg" >/dev/null
  python3 - <<'PY'
import json
results = json.load(open('/tmp/zelvano-scan.json'))['results']
slower = max(r['median'] for r in results[:2])
print(f"\ntwo drives: 400,000 files cold and 40,000 over a 1 ms link\n{'':22} {'median ms':>10} {'ratio to the slower':>20}")
for r in results:
    print(f"{r['command']:22} {r['median'] * 1000:10.1f} {r['median'] / slower:20.2f}")
PY
  ;;
esac
