#!/usr/bin/env bash
# End-to-end run of the real viewer under a virtual X server: the brochure sample at 1:1, ten
# notches of the mouse wheel that must move the picture at least 150 pixels, and a Ctrl-drag of
# the zoom tool that must zoom in to the dragged rectangle. Movement and zoom are read from
# screenshots. Exit code 77 when no virtual X server (or no xdotool, ImageMagick or Python) is
# there.
#
# Usage: e2e_navigation.sh QUORKRN KRN WORK_FOLDER
set -uo pipefail

viewer=$(readlink -f "${1:?quorkrn path}")
krn=${2:?krn path}
work=${3:?work folder}
. "$(dirname "$0")/e2e_common.sh"

for tool in Xvfb xdotool xwininfo import convert python3; do
  command -v "$tool" >/dev/null || { echo "skip: $tool not installed"; exit 77; }
done

e2e_viewer_environment "$work"
mkdir -p "$work/config/Quor"
# The whole sheet first, whatever a user's own preferences say.
cat >"$work/config/Quor/Varnex.conf" <<'CONF'
[Software]
Quor\Varnex\WKRN_ZoomToFitWindowOnOpen=@ByteArray(\x1)
CONF

fail() {
  echo "FAIL: $*"
  echo "--- viewer log:"; tail -20 "$work/viewer.log" 2>/dev/null
  exit 1
}

e2e_sample_job "$krn" "$work" brochure 150

viewer_pid=""
xvfb=""
trap 'e2e_stop "$viewer_pid"' EXIT
start_virtual_display 1280x1024 "$work"

"$viewer" "$work"/job/*.tif >"$work/viewer.log" 2>&1 &
viewer_pid=$!
window=""
for _ in $(seq 150); do
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Quor KRN - / { print $1; exit }')
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no job window opened"
sleep 2

# Window geometry; the sheet view fills the middle of the window.
eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print "wx=" $4 } /Absolute upper-left Y/ { print "wy=" $4 }
  /Width:/ { print "ww=" $2 } /Height:/ { print "wh=" $2 }')"
cx=$((wx + ww / 2))
cy=$((wy + wh / 2))

shot() { # name: waits until the picture holds still, then keeps it as gray PGM
  local previous=""
  for _ in $(seq 40); do
    import -window "$window" "$work/$1.png" 2>/dev/null
    local sum
    sum=$(md5sum <"$work/$1.png")
    [ "$sum" = "$previous" ] && break
    previous=$sum
    sleep 0.5
  done
  convert "$work/$1.png" -colorspace Gray -depth 8 "$work/$1.pgm"
}

xdotool windowactivate --sync "$window" 2>/dev/null
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool mousemove "$cx" "$cy"
xdotool key --clearmodifiers ctrl+1 # 1:1: far larger than the window
sleep 1
shot before
xdotool click --repeat 10 --delay 80 5
sleep 1
shot scrolled

# A Ctrl-drag of 120 x 90 screen pixels over the screened picture of the left page.
zx=$((wx + ww / 5))
zy=$((wy + wh * 11 / 20))
xdotool mousemove $((zx - 60)) $((zy - 45))
xdotool keydown ctrl
xdotool mousedown 1
for step in 1 2 3 4 5 6; do
  xdotool mousemove $((zx - 60 + step * 20)) $((zy - 45 + step * 15))
  sleep 0.05
done
xdotool mouseup 1
xdotool keyup ctrl
sleep 1
shot zoomed

python3 - "$work" <<'PY' || fail "the picture did not scroll or zoom as expected"
import sys

def read_pgm(path):
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:]
    return [pixels[y * width:(y + 1) * width] for y in range(height)], width, height

work = sys.argv[1]
before, width, height = read_pgm(work + "/before.pgm")
scrolled, _, _ = read_pgm(work + "/scrolled.pgm")
zoomed, _, _ = read_pgm(work + "/zoomed.pgm")
left, right = width // 5, width * 4 // 5

def row_difference(a, b):
    return sum(abs(a[x] - b[x]) for x in range(left, right, 2)) / ((right - left) / 2)

# The picture moved up by s pixels: a band of the scrolled picture is found s rows lower in the
# picture before.
band = range(height // 6, height // 6 + 60, 3)
best_shift, best = 0, None
for shift in range(0, height - band[-1]):
    diff = sum(row_difference(scrolled[y], before[y + shift]) for y in band) / len(band)
    if best is None or diff < best:
        best_shift, best = shift, diff
print(f"scrolled by {best_shift} pixels (mean row difference {best:.2f})")
if best_shift < 150 or best > 8:
    sys.exit(1)

# Zoomed in: the screened dots grow, so a row changes from light to dark far less often (but
# still does: the rectangle lay on the screened picture, not on blank paper).
def transitions(rows):
    count = 0
    for row in rows[height // 4:height * 3 // 4]:
        dark = row[left] < 128
        for x in range(left + 1, right):
            now = row[x] < 128
            count += now != dark
            dark = now
    return count

before_t, zoomed_t = transitions(scrolled), transitions(zoomed)
print(f"light-dark transitions: {before_t} before the zoom, {zoomed_t} after")
if zoomed_t == 0 or zoomed_t > before_t * 0.6:
    sys.exit(1)
PY
echo "screenshots: $work/before.png $work/scrolled.png $work/zoomed.png"
kill "$viewer_pid" 2>/dev/null
wait "$viewer_pid" 2>/dev/null
viewer_pid=""
echo "PASS"
