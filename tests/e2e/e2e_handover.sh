#!/usr/bin/env bash
# End-to-end run of the real viewer under a virtual X server: a first start with one preview file,
# a second start in another folder with another file, named by a relative path, that hands it
# over and ends, both jobs in the first instance
# (told by the job windows' titles), a screenshot, and Ctrl+Q that quits and writes the
# preferences. Exit code 77 when no virtual X server (or no xdotool to type the keys) is there.
#
# Usage: e2e_handover.sh QUORKRN KRN WORK_FOLDER
set -uo pipefail

viewer=$(readlink -f "${1:?quorkrn path}")
krn=${2:?krn path}
work=${3:?work folder}

command -v Xvfb >/dev/null || { echo "skip: Xvfb not installed"; exit 77; }
command -v xdotool >/dev/null || { echo "skip: xdotool not installed"; exit 77; }
command -v xwininfo >/dev/null || { echo "skip: xwininfo not installed"; exit 77; }

. "$(dirname "$0")/e2e_common.sh"
e2e_viewer_environment "$work"

fail() {
  echo "FAIL: $*"
  echo "--- windows:"; xwininfo -root -tree 2>/dev/null | grep '"' | head -20
  echo "--- first instance log:"; tail -20 "$work/first.log" 2>/dev/null
  echo "--- second start log:"; tail -20 "$work/second.log" 2>/dev/null
  exit 1
}

# A small two-signature job at a low resolution keeps the run short.
e2e_sample_job "$krn" "$work" twosignatures 72
e2e_two_signature_files "$work"

first=""
xvfb=""
trap 'e2e_stop "$first"' EXIT
start_virtual_display 1280x960 "$work"

job_titles() { xwininfo -root -tree 2>/dev/null | grep -o '"Quor KRN - [^"]*"' | sort -u; }
wait_for_titles() { # count, tenths of a second
  for _ in $(seq "$2"); do
    [ "$(job_titles | wc -l)" -ge "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

"$viewer" "$first_file" >"$work/first.log" 2>&1 &
first=$!
wait_for_titles 1 100 || fail "the first job window did not open"

# The second start names its file relative to a folder of its own, not the first instance's.
(cd "$work" && timeout 10 "$viewer" "job/$(basename "$second_file")" >"$work/second.log" 2>&1)
second_status=$?
[ "$second_status" -eq 0 ] || fail "the second start ended with $second_status"
wait_for_titles 2 50 || fail "the handed-over file did not open in the first instance"
kill -0 "$first" 2>/dev/null || fail "the first instance has gone"
[ "$(job_titles | wc -l)" -eq 2 ] || fail "expected two job windows"
echo "job windows:"; job_titles

window=$(xwininfo -root -tree | awk '/"Quor KRN - / { print $1; exit }')
command -v import >/dev/null && import -window "$window" "$work/screenshot.png" 2>/dev/null && echo "screenshot: $work/screenshot.png"

store="$XDG_CONFIG_HOME/Quor/Varnex.conf"
# Qt ignores synthetic key events sent to a window; without a window manager the keys reach the
# window that holds the input focus.
xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+q
for _ in $(seq 100); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
kill -0 "$first" 2>/dev/null && fail "Ctrl+Q did not end the viewer"
wait "$first"; status=$?
first=""
[ "$status" -eq 0 ] || fail "the viewer ended with $status"
grep -q 'WKRN_PreviousFolderPath' "$store" 2>/dev/null || fail "the preferences were not written to $store"
[ "$(grep -c '^Quor%5CVarnex%5CWKRN_\|WKRN_' "$store")" -ge 15 ] || fail "fewer than fifteen preferences written"
echo "PASS"
