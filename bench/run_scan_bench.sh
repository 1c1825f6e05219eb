#!/usr/bin/env bash
# Times the scan's search on a generated photo archive (about 20,000 folders and 400,000 files)
# against find, bfs and fd, on a warm cache, and prints each one's ratio to find's median time.
#   bench/run_scan_bench.sh [TREE]    TREE defaults to /tmp/zelvano-tree-a (made when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
ZELVANO_WITH_TOOLS=1 scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
tree=${1:-/tmp/zelvano-tree-a}
[ -d "$tree" ] || python3 ../shared/bench/gen_tree.py a "$tree"
bin=build/bench/bench/scan_bench

# The order check first: the scan's list must equal the reference line for line.
python3 ../shared/bench/ref_order.py "$tree" jpg >/tmp/zelvano-ref.txt
"$bin" --list "$tree" jpg 2 >/tmp/zelvano-ours.txt
cmp /tmp/zelvano-ref.txt /tmp/zelvano-ours.txt && echo "order: same as the reference ($(grep -c . /tmp/zelvano-ours.txt) lines)"

hyperfine --warmup 3 --runs 15 --export-json /tmp/zelvano-scan.json -N \
  -n find "find $tree -xdev -iname *.jpg" \
  -n bfs "bfs $tree -xdev -iname *.jpg" \
  -n fd "fdfind -u --one-file-system -e jpg . $tree" \
  -n "zelvano 1 thread" "$bin $tree jpg 1" \
  -n "zelvano 2 threads" "$bin $tree jpg 2" >/dev/null
python3 - <<'PY'
import json
results = json.load(open('/tmp/zelvano-scan.json'))['results']
find = next(r['median'] for r in results if r['command'] == 'find')
print(f"{'':20} {'median ms':>10} {'ratio to find':>14}")
for r in results:
    print(f"{r['command']:20} {r['median'] * 1000:10.1f} {r['median'] / find:14.2f}")
PY
