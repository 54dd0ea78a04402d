#!/usr/bin/env bash
# Installs what is missing, builds the viewer and the krn tool, writes the "brochure" sample job
# once and opens it in Quor KRN. Without a display the viewer runs under a virtual X server for a
# few seconds; a screenshot of its job window is saved as a PNG and its path printed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh

export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
build=build/dev
cmake --preset dev >/dev/null
cmake --build --preset dev --target quorkrn krn -j "$(nproc)"

viewer="$build/src/WKRN/quorkrn"
krn="$build/tools/krn/krn"
sample="$build/sample/brochure"
if [ ! -f "$sample/.complete" ]; then
  rm -rf "$sample"
  mkdir -p "$sample"
  "$krn" sample --out "$sample" --preset brochure
  touch "$sample/.complete"
fi

shopt -s nullglob nocaseglob
files=("$sample"/*.tif "$sample"/*.prv "$sample"/*.krn)
shopt -u nullglob nocaseglob
if [ ${#files[@]} -eq 0 ]; then
  echo "run: no preview files in $sample" >&2
  exit 1
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$viewer" "${files[@]}"
fi

# No display: a virtual X server, a screenshot of the job window, then quit.
work=$(mktemp -d "${TMPDIR:-/tmp}/quorkrn-run.XXXXXX")
display_number=$((90 + RANDOM % 400))
while [ -e "/tmp/.X$display_number-lock" ]; do display_number=$((display_number + 1)); done
Xvfb ":$display_number" -screen 0 1280x960x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
cleanup() {
  [ -n "${viewer_pid:-}" ] && kill "$viewer_pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display_number"
for _ in $(seq 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

# The screenshot shows the whole sheet with its imposition, whatever the user's own preferences
# say; those are left alone, since this run keeps its preferences in a folder of its own.
mkdir -p "$work/config/Quor"
cat >"$work/config/Quor/Varnex.conf" <<'CONF'
[Software]
Quor\Varnex\WKRN_ZoomToFitWindowOnOpen=@ByteArray(\x1)
Quor\Varnex\WKRN_ShowImpositionOnOpen=@ByteArray(\x1)
CONF
XDG_CONFIG_HOME="$work/config" "$viewer" "${files[@]}" >"$work/quorkrn.log" 2>&1 &
viewer_pid=$!

window=""
for _ in $(seq 150); do
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Quor KRN - / { print $1; exit }')
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "run: the job window did not appear; see $work/quorkrn.log" >&2
  exit 1
fi
# The splash stays in front for five seconds; the picture builds up meanwhile.
sleep 6
shot="$PWD/$build/screenshots/quorkrn-$(date +%Y%m%d-%H%M%S).png"
mkdir -p "$(dirname "$shot")"
# The palettes are windows of their own above the job window: the picture is taken from the
# screen, cut to the job window's rectangle.
geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
  /Width:/ { w = $2 } /Height:/ { h = $2 } END { printf "%dx%d+%d+%d", w, h, x, y }')
import -window root -crop "$geometry" +repage "$shot"
if command -v xdotool >/dev/null; then
  xdotool windowfocus --sync "$window" key --clearmodifiers ctrl+q 2>/dev/null || true
  for _ in $(seq 30); do
    kill -0 "$viewer_pid" 2>/dev/null || break
    sleep 0.1
  done
fi
echo "$shot"
