# Sourced by the benchmarks that work the real program: polling, and a display of its own with a
# window manager. Expects `work` (a scratch folder) and `pids` (what to stop at the end).

wait_for() { # TRIES COMMAND...: polls every 50 ms
  local tries=$1
  shift
  until "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || { echo "gave up waiting for: $*" >&2; exit 1; }
    sleep 0.05
  done
}

# Xvfb and Openbox; the program is copied to $work/app, with its runtime folder $work/run.
start_desktop() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  pids+=($!)
  wait_for 100 test -s "$work/display"
  export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/run"
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=($!)
  wait_for 100 xdotool get_num_desktops >/dev/null 2>&1
  mkdir -m 700 "$work/run" "$work/app"
  cp build/default/src/zelvano "$work/app/"
}
