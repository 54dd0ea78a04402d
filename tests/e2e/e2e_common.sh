# Sourced by the end-to-end scripts: what every run of the real viewer needs.

e2e_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# A fresh work folder (with config, data and job folders) and a private environment for the
# viewer: its settings, data and runtime folders, the X11 platform, and the sanitizer's
# suppressions (a sanitizer build loads the desktop's system libraries, whose own leaks are not the
# viewer's). The instance socket's path must fit a socket address (107 bytes), which a folder below
# a deep checkout can exceed: the runtime folder is a short one of its own in $runtime (mktemp
# makes it private), removed by e2e_stop.
e2e_viewer_environment() {
  local work=$1
  rm -rf "$work"
  mkdir -p "$work/config" "$work/data" "$work/job"
  runtime=$(mktemp -d /tmp/krn-run-XXXXXX)
  export XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  export LSAN_OPTIONS="suppressions=$e2e_here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
}

# Ends the given processes (empty ids are skipped) and the virtual X server, and removes the
# runtime folder: the scripts' exit trap.
e2e_stop() {
  local pid
  for pid in "$@" "${xvfb:-}"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  [ -n "${runtime:-}" ] && rm -rf "$runtime"
  return 0
}

# Writes krn's sample job of the given preset and resolution into WORK/job; without it the run is
# skipped (exit 77).
e2e_sample_job() {
  local krn=$1 work=$2 preset=$3 dpi=$4
  if ! "$krn" sample --out "$work/job" --preset "$preset" --dpi "$dpi" >"$work/sample.log" 2>&1; then
    echo "skip: krn sample could not write the $preset sample"; cat "$work/sample.log"; exit 77
  fi
}

# Sets first_file and second_file to one preview file of each of the first two signatures of the
# sample job in WORK/job: two different jobs. The sample names its files
# <title>_S<signature>_<surface>_<ink>.tif.
e2e_two_signature_files() {
  first_file=$(find "$1/job" -maxdepth 1 -name '*_S1_0_*.tif' | sort | head -1)
  second_file=$(find "$1/job" -maxdepth 1 -name '*_S2_0_*.tif' | sort | head -1)
  [ -n "$first_file" ] && [ -n "$second_file" ] ||
    fail "no two preview files of different signatures in the sample"
}

# Starts a virtual X server of the given screen size (for
# example 1280x960) with its log in the given folder, sets DISPLAY and leaves the server's process
# id in $xvfb for the script's cleanup. The server picks a free display number itself and tells it
# (-displayfd): scripts run side by side, and two that picked the same number would share one
# server until the first one's cleanup took it from the other. -noreset: by default the server
# resets whenever its last client leaves (the readiness probe, say), and a viewer that connects
# during the reset is refused ("could not connect to display"). When no server starts after a few
# tries the script is skipped (exit 77).
start_virtual_display() {
  local size=$1 logdir=$2 attempt number
  for attempt in 1 2 3; do
    : >"$logdir/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$logdir/display" \
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
