#!/usr/bin/env bash
# Builds the benchmarks and prints load and save times of a 500,000-record list file against the
# plain reference, with their ratios, the time to remove one record from the full list, to add Copy's
# record to it (written whole, against an append in place), and the resident memory of one loaded
# table.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
bin=build/bench/bench/list_bench

"$bin" --benchmark_repetitions=7 --benchmark_report_aggregates_only=true \
       --benchmark_format=csv 2>/dev/null | tee /tmp/zelvano-list-bench.csv | grep -E '^list file|median'
python3 - <<'PY'
import csv
rows = {r['name'].split('/')[0].replace('_median', ''): float(r['real_time'])
        for r in csv.DictReader(l for l in open('/tmp/zelvano-list-bench.csv') if l.startswith(('name', '"BM_')))
        if r['name'].endswith('_median')}
for op in ('Load', 'Save'):
    ours, ref = rows[f'BM_{op}_Zelvano'], rows[f'BM_{op}_Reference']
    print(f'{op}: ours {ours:.1f} ms, reference {ref:.1f} ms, ratio {ours / ref:.2f}')
PY
"$bin" --memory zelvano
"$bin" --memory reference
