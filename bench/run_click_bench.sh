#!/usr/bin/env bash
# How long the window takes to answer a click while a drive says nothing: the real program on an Xvfb
# display of its own, under Openbox, with a picture on the test drive, which falls silent before the
# picture is deleted. While the deletion waits on the drive:
#   ROUNDS times, a click on the wait window's Cancel, timed until the box that names the drive shows
#   (then the drive answers and falls silent again for the next round);
#   once, a click on Exit, timed until the window is gone.
#   bench/run_click_bench.sh [ROUNDS]      (default: 10; needs root, for a mount namespace of its own)
set -euo pipefail
[ -n "${ZELVANO_OWN_MOUNTS:-}" ] || exec unshare -m --propagation private env ZELVANO_OWN_MOUNTS=1 "$0" "$@"
cd "$(dirname "$0")/.."
ZELVANO_WITH_TOOLS=1 scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default >/dev/null
rounds=${1:-10}
work=$(mktemp -d)
pids=()
drive=''
# The drive answers first, so that nothing waits on it as everything ends.
trap '[ -z "$drive" ] || kill -USR1 "$drive"; kill "${pids[@]}" 2>/dev/null; sleep 0.5; rm -rf --one-file-system "$work"' EXIT

source bench/desktop.sh
start_desktop
mkdir -m 700 "$work/drive"
printf 'BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0\x10\0\0\0\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0\0\0\xff\0\0\xff\0\0\0\0\xff\0\0\xff\0\0' >"$work/drive/a.bmp"
printf '%s\r\n%s\r\n' "$work/drive/" a.bmp >"$work/app/Zelvanobmp.log"
build/default/tests/plain_drive "$work/drive" -f >"$work/drive.log" 2>&1 &
drive=$!
pids+=("$drive")
wait_for 100 grep -qx ready "$work/drive.log"
(cd "$work/app" && exec ./zelvano >/dev/null 2>&1) &
pids+=($!)
main() { xdotool search --onlyvisible --name '^Zelvano - Version' 2>/dev/null | head -n1; }
active_box() { # the active window, when it is one of the program's boxes or its wait window
  local w
  w=$(xdotool getactivewindow 2>/dev/null) && [ "$(xdotool getwindowname "$w")" = Zelvano ] && echo "$w"
}
box_other_than() { # a box other than $1 has the keys
  local b
  b=$(active_box) && [ "$b" != "${1:-}" ]
}
main_active() { [ -n "$(main)" ] && [ "$(xdotool getactivewindow 2>/dev/null)" = "$(main)" ]; }
wait_for 200 main_active

times=()
for round in $(seq "$rounds"); do
  kill -USR2 "$drive" # from now on the drive says nothing
  xdotool key --clearmodifiers Delete
  wait_for 100 box_other_than
  question=$(active_box)
  xdotool key --clearmodifiers Return # Yes
  wait_for 100 box_other_than "$question"
  wait=$(active_box) # the wait window: Cancel lies in its lower middle
  eval "$(xdotool getwindowgeometry --shell "$wait")"
  times+=("$(/usr/bin/python3 bench/click_answer.py "$wait" $((WIDTH / 2)) $((HEIGHT * 80 / 99)) shown)")
  wait_for 100 box_other_than "$wait"
  xdotool key --clearmodifiers Return # the box that names the drive
  kill -USR1 "$drive" # it answers again, and what it held ends
  wait_for 100 main_active
  sleep 0.2
done
python3 - "${times[@]}" <<'PY'
import statistics, sys
t = sorted(float(v) for v in sys.argv[1:])
print(f"Cancel while a drive says nothing, until the box shows, {len(t)} clicks: "
      f"median {statistics.median(t):.1f} ms, max {t[-1]:.1f} ms")
PY

kill -USR2 "$drive"
xdotool key --clearmodifiers Delete
wait_for 100 box_other_than
question=$(active_box)
xdotool key --clearmodifiers Return
wait_for 100 box_other_than "$question"
window=$(main)
eval "$(xdotool getwindowgeometry --shell "$window")"
# Exit, at its designed place below the menu bar: 10740 + 367 twips across, 6960 + 187 down, at 15
# twips a pixel; the client area is 492 pixels high, the status bar 19.
echo "Exit while a drive says nothing, until the window is gone:" \
  "$(/usr/bin/python3 bench/click_answer.py "$window" 740 $((HEIGHT - 19 - 492 + 476)) gone) ms"
