# Sourced by the end-to-end scripts: starts a virtual X server of the given screen size (for
# example 1280x960) with its log in the given folder, sets DISPLAY and leaves the server's process
# id in $xvfb for the script's cleanup. The server picks a free display number itself and tells it
# (-displayfd): scripts run side by side, and two that picked the same number would share one
# server until the first one's cleanup took it from the other. When no server starts after a few
# tries the script is skipped (exit 77).
start_virtual_display() {
  local size=$1 logdir=$2 attempt number
  for attempt in 1 2 3; do
    : >"$logdir/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$logdir/display" \
      >"$logdir/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
      kill -0 "$xvfb" 2>/dev/null || break
      number=$(head -n 1 "$logdir/display")
      if [ -n "$number" ]; then
        export DISPLAY=":$number"
        if xwininfo -root >/dev/null 2>&1; then return 0; fi
      fi
      sleep 0.1
    done
    kill "$xvfb" 2>/dev/null
    xvfb=""
  done
  echo "skip: the virtual X server did not start"
  cat "$logdir/xvfb.log"
  exit 77
}
