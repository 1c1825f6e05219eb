#!/usr/bin/env bash
# What printing a very large picture costs in memory: the real program on an Xvfb display of its own
# prints to a print system of its own (a cups-pdf queue), and the program's peak resident memory is
# read before Print and after the page has come out. Each picture is listed alone, under its type,
# and printed in a run of its own; the printed size is read from the PDF.
#   bench/run_print_bench.sh [WIDTHxHEIGHT.jpg ...]   (default: 644x484.jpg 8660x5774.jpg 17000x16500.jpg)
#   (needs root, for the print system's mount namespace)
set -euo pipefail
cd "$(dirname "$0")/.."
ZELVANO_WITH_TOOLS=1 scripts/install-deps.sh
for preset in default bench; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done
pictures=("$@")
[ ${#pictures[@]} -gt 0 ] || pictures=(644x484.jpg 8660x5774.jpg 17000x16500.jpg)
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; sleep 0.5; rm -rf --one-file-system "$work"' EXIT

source bench/desktop.sh
tests/support/print_system.sh "$work" >"$work/cups.log" 2>&1 &
pids+=($!)
wait_for 300 grep -qx ready "$work/cups.log"
export CUPS_SERVER="$work/cups.sock"
start_desktop
mkdir -m 700 "$work/pics"

main() { xdotool search --onlyvisible --name '^Zelvano - Version' 2>/dev/null | head -n1; }
active_named() { [[ $(xdotool getwindowname "$(xdotool getactivewindow 2>/dev/null)" 2>/dev/null) =~ $1 ]]; }
printed() { find "$work/printed" -name '*.pdf' 2>/dev/null | wc -l; }
peak_mib() { awk '/VmHWM/ { printf "%d", $2 / 1024 }' "/proc/$1/status"; }

printf '%-22s %14s %14s %22s\n' picture 'before (MiB)' 'printing (MiB)' 'printed (inches)'
for picture in "${pictures[@]}"; do
  size=${picture%.*} type=${picture##*.}
  build/bench/bench/make_picture "$work/pics/$picture" "${size%x*}" "${size#*x}"
  rm -f "$work/app/"*.log
  printf '%s\r\n%s\r\n' "$work/pics/" "$picture" >"$work/app/Zelvano$type.log"
  (cd "$work/app" && exec ./zelvano >/dev/null 2>&1) &
  app=$!
  pids+=("$app")
  wait_for 200 active_named '^Zelvano - Version'
  sleep 1 # the preview and the picture box's header are read
  before=$(peak_mib "$app")
  n=$(printed)
  eval "$(xdotool getwindowgeometry --shell "$(main)")"
  # Print, at its place in twips, below the menu bar (the client area is 492 pixels high).
  xdotool mousemove --window "$(main)" $(((7500 + 400) / 15)) $((HEIGHT - 19 - 492 + (6960 + 187) / 15)) click 1
  wait_for 200 active_named '^Print'
  xdotool key Return
  one_more() { [ "$(printed)" -gt "$n" ] && [ -z "$(lpstat -o 2>/dev/null)" ]; }
  wait_for 1200 one_more
  during=$(peak_mib "$app")
  pdf=$(find "$work/printed" -name '*.pdf' -newer "$work/app/Zelvano$type.log" | tail -n1)
  read -r _ _ _ x0 y0 x1 y1 _ <<<"$(tests/support/printed_page.py "$pdf")"
  inches=$(awk -v w=$((x1 - x0)) -v h=$((y1 - y0)) 'BEGIN { printf "%.2f x %.2f", w / 72, h / 72 }')
  printf '%-22s %14s %14s %22s\n' "$picture" "$before" "$during" "$inches"
  kill "$app"
  wait "$app" 2>/dev/null || true
  rm -f "$work/pics/$picture"
done
