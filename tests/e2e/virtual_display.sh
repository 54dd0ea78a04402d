# Sourced by the end-to-end scripts: starts a virtual X server of the given screen size (for
# example 1280x960) with its log in the given folder, sets DISPLAY and leaves the server's process
# id in $xvfb for the script's cleanup. Another run may hold a display number at the same moment,
# so a few numbers are tried; when none starts the script is skipped (exit 77).
start_virtual_display() {
  local size=$1 logdir=$2 started="" attempt display_number
  for attempt in 1 2 3; do
    display_number=$((100 + RANDOM % 800))
    while [ -e "/tmp/.X$display_number-lock" ]; do display_number=$((display_number + 1)); done
    Xvfb ":$display_number" -screen 0 "${size}x24" -nolisten tcp >"$logdir/xvfb.log" 2>&1 &
    xvfb=$!
    export DISPLAY=":$display_number"
    for _ in $(seq 100); do
      kill -0 "$xvfb" 2>/dev/null || break
      if xwininfo -root >/dev/null 2>&1; then started=yes; break; fi
      sleep 0.1
    done
    [ -n "$started" ] && return 0
    kill "$xvfb" 2>/dev/null
    xvfb=""
  done
  echo "skip: the virtual X server did not start"
  cat "$logdir/xvfb.log"
  exit 77
}
