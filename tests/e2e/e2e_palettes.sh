#!/usr/bin/env bash
# End-to-end run of the palettes under a virtual X server: one start opens two jobs in two job
# windows side by side. Switching from the first to the second hides the first window's floating
# palettes, switching back shows them again; once they are docked, switching leaves them where
# they are, drawn in the first window. Exit code 77 when no virtual X server (or no xdotool,
# xprop or ImageMagick) is there.
#
# Usage: e2e_palettes.sh QUORKRN KRN WORK_FOLDER
set -uo pipefail

viewer=${1:?quorkrn path}
krn=${2:?krn path}
work=${3:?work folder}

for tool in Xvfb xdotool xwininfo xprop import compare convert; do
  command -v "$tool" >/dev/null || { echo "skip: $tool not installed"; exit 77; }
done

. "$(dirname "$0")/e2e_common.sh"
e2e_viewer_environment "$work"

fail() {
  echo "FAIL: $*"
  echo "--- windows:"; xwininfo -root -tree 2>/dev/null | grep '"' | head -20
  echo "--- viewer log:"; tail -20 "$work/viewer.log" 2>/dev/null
  exit 1
}

e2e_sample_job "$krn" "$work" twosignatures 72
e2e_two_signature_files "$work"

viewer_pid=""
xvfb=""
trap 'e2e_stop "$viewer_pid"' EXIT
start_virtual_display 1280x960 "$work"

job_windows() { xwininfo -root -tree 2>/dev/null | awk '/"Quor KRN - / { print $1 }' | sort -u; }
# The palettes of a job window: the windows that name it as the window they belong to.
palettes_of() {
  local job=$(( $1 )) window
  for window in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ { print $1 }'); do
    xprop -id "$window" WM_TRANSIENT_FOR 2>/dev/null | grep -qi "window id # 0x0*$(printf '%x' "$job")\$" &&
      echo "$window"
  done
}
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
viewable_palettes_of() {
  local window
  for window in $(palettes_of "$1"); do viewable "$window" && echo "$window"; done
}
wait_until() { # tenths of a second, command...
  local tenths=$1; shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  return 1
}
activate() { xdotool windowfocus --sync "$1" 2>/dev/null; sleep 0.5; }
no_floating_palette() { [ -z "$(viewable_palettes_of "$1")" ]; }
all_viewable() { local w; for w in "$@"; do viewable "$w" || return 1; done; }
none_viewable() { local w; for w in "$@"; do viewable "$w" && return 1; done; return 0; }
# The right-hand column of a window, where palettes dock on the right.
column_of() { import -window "$1" "$work/shot.png" 2>/dev/null && convert "$work/shot.png" -gravity East -crop 220x400+0+80 +repage "$2"; }
differing_pixels() { compare -metric AE -fuzz 4% "$1" "$2" null: 2>&1 | awk '{ print int($1) }'; }

"$viewer" "$first_file" "$second_file" >"$work/viewer.log" 2>&1 &
viewer_pid=$!
wait_until 150 bash -c '[ "$(xwininfo -root -tree 2>/dev/null | grep -c "\"Quor KRN - ")" -ge 2 ]' ||
  fail "two job windows did not open"
sleep 6 # the splash stays in front for five seconds
read -r first second < <(job_windows | tr '\n' ' ')
[ -n "$first" ] && [ -n "$second" ] || fail "expected two job windows"

# Side by side, so that neither hides the other.
xdotool windowsize "$first" 620 860 windowmove "$first" 0 0
xdotool windowsize "$second" 620 860 windowmove "$second" 650 0
sleep 0.5
activate "$first"
xdotool key --window "$first" --clearmodifiers ctrl+shift+p # Float Right, against the new edge
sleep 0.5
shown=$(viewable_palettes_of "$first")
[ -n "$shown" ] || fail "the first job window shows no floating palette"
echo "floating palettes of the first window: $(echo $shown)"

activate "$second"
wait_until 30 none_viewable $shown || fail "the first window's floating palettes stayed on screen"
[ -n "$(viewable_palettes_of "$second")" ] || fail "the second window's palettes are not shown"
activate "$first"
wait_until 30 all_viewable $shown || fail "the first window's floating palettes did not come back"
for window in $(viewable_palettes_of "$second"); do
  fail "the second window's floating palette $window stayed on screen"
done

# Docked: part of the window, drawn in it, and left there when the other window is active.
column_of "$first" "$work/before.png" || fail "no screenshot of the first window"
xdotool key --window "$first" --clearmodifiers ctrl+d # Dock Right
wait_until 30 no_floating_palette "$first" || fail "a palette is still floating after Dock Right"
sleep 0.5
column_of "$first" "$work/docked.png"
[ "$(differing_pixels "$work/before.png" "$work/docked.png")" -gt 2000 ] ||
  fail "no docked palette appeared on the right of the first window"
activate "$second"
column_of "$first" "$work/inactive.png"
[ "$(differing_pixels "$work/docked.png" "$work/inactive.png")" -lt 200 ] ||
  fail "the docked palettes changed when the other window was activated"
import -window root "$work/screenshot.png" 2>/dev/null && echo "screenshot: $work/screenshot.png"

activate "$first"
xdotool key --window "$first" --clearmodifiers ctrl+q 2>/dev/null
wait_until 50 bash -c "! kill -0 $viewer_pid 2>/dev/null" || fail "Ctrl+Q did not end the viewer"
wait "$viewer_pid"; status=$?
viewer_pid=""
[ "$status" -eq 0 ] || fail "the viewer ended with $status"
echo "PASS"
