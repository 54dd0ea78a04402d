#!/bin/sh
# Side-by-side comparison of `krn render` with libvips on one-bit preview files, run by hand:
#
#   bench/compare-vips.sh [BUILD_DIR]
#
# 1. Cross-check: the 1:8 render of one black separation against `vips shrink FILE out.v 8 8`
#    of the same file. vips reads the min-is-white image as paper 255 and ink 0, so its average
#    is 255 minus the coverage; the render shows black at percentage floor(100 x coverage / 255),
#    which may only be lighter, by at most 3 levels (one percentage step of 2.55 plus vips's
#    rounding). Done on a writer-made 16384 x 16384 screen and, when `krn sample` is available,
#    on the Black separation of a sample job.
# 2. Timing with hyperfine: `krn render --level 6 --out x.ppm` and `vips shrink FILE out.v 8 8`
#    in one run. The target is a ratio of at least 3.
#
# Needs a Release build with the benchmarks (KRN_BUILD_BENCH=ON), python3, and the Debian
# packages libvips-tools and hyperfine. Files go to $KRN_BENCH_DIR (default /tmp/krn-compare-vips).
set -eu

BUILD=${1:-build/release}
KRN=$BUILD/tools/krn/krn
BENCH=$BUILD/bench/bench_renderer
WORK=${KRN_BENCH_DIR:-/tmp/krn-compare-vips}
for tool in vips hyperfine python3; do
    command -v "$tool" >/dev/null || { echo "compare-vips: $tool is not installed" >&2; exit 2; }
done
[ -x "$KRN" ] && [ -x "$BENCH" ] || { echo "compare-vips: build $KRN and $BENCH first" >&2; exit 2; }
mkdir -p "$WORK"
SCREEN=$WORK/screen.tif
[ -f "$SCREEN" ] || { echo "writing $SCREEN"; "$BENCH" --write-screen "$SCREEN"; }

# compare RENDER.ppm SHRINK.pgm: red channel of the render minus the vips grey, per pixel.
compare() {
    python3 - "$1" "$2" <<'PY'
import collections, sys

def read_pnm(path):
    data = open(path, 'rb').read()
    fields, i = [], 0
    while len(fields) < 4:
        while data[i:i + 1].isspace():
            i += 1
        if data[i:i + 1] == b'#':
            while data[i:i + 1] not in (b'\n', b'\r'):
                i += 1
            continue
        j = i
        while not data[j:j + 1].isspace():
            j += 1
        fields.append(data[i:j])
        i = j
    return int(fields[1]), int(fields[2]), data[i + 1:]

w1, h1, render = read_pnm(sys.argv[1])
w2, h2, shrink = read_pnm(sys.argv[2])
# vips rounds a half-pixel edge up and averages the partial cell there; the level picture rounds
# it to the even neighbour. Only the cells both pictures hold whole are compared.
w, h = min(w1, w2), min(h1, h2)
diff = collections.Counter()
for y in range(h):
    row1 = render[3 * w1 * y:3 * w1 * (y + 1):3][:w]
    row2 = shrink[w2 * y:w2 * (y + 1)][:w]
    diff.update(r - s for r, s in zip(row1, row2))
print('  %dx%d pixels compared (render %dx%d, vips %dx%d); render minus vips: %s' % (
    w, h, w1, h1, w2, h2, ', '.join('%+d: %d' % item for item in sorted(diff.items()))))
bad = sum(n for d, n in diff.items() if d < 0 or d > 3)
if bad:
    sys.exit('  %d pixels outside 0..3' % bad)
print('  all within 0..3')
PY
}

crosscheck() {
    echo "cross-check: $1"
    "$KRN" render "$1" --level 6 --colour "$2=000000" --out "$WORK/render.ppm"
    vips shrink "$1" "$WORK/shrink.v" 8 8 2>/dev/null
    vips copy "$WORK/shrink.v" "$WORK/shrink.pgm"
    compare "$WORK/render.ppm" "$WORK/shrink.pgm"
}

crosscheck "$SCREEN" Black
if "$KRN" help | grep -q '^  sample'; then
    rm -rf "$WORK/sample"
    "$KRN" sample --out "$WORK/sample" >/dev/null
    for f in "$WORK"/sample/*; do
        # The Black separation of the front of the first sheet.
        if "$KRN" render "$f" --level 12 --colour Black=000000 --out "$WORK/probe.ppm" 2>/dev/null; then
            crosscheck "$f" Black
            break
        fi
    done
fi

echo "timing: $SCREEN"
hyperfine --warmup 1 --runs 10 --export-markdown "$WORK/timing.md" \
    -n "krn render --level 6" "$KRN render $SCREEN --level 6 --out $WORK/x.ppm" \
    -n "vips shrink 8 8" "vips shrink $SCREEN $WORK/out.v 8 8 2>/dev/null"
cat "$WORK/timing.md"
