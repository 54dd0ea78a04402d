#!/bin/sh
# The ink-presetting targets, measured side by side in one run on the dense eight-ink sheet and
# printed as one Markdown table, run by hand (never in CI):
#
#   bench/ppf_targets.sh [--size WIDTHxHEIGHT] [--runs N] [BUILD_DIR]
#
#   --size    the dense sheet (default 96000x72000, a real 2400-dpi plate: writing it takes
#             minutes and about 2.5 GB; 8192x6144 runs in a few seconds)
#   --runs    timed runs of each command line, after one warm-up run (default 3; median reported)
#   BUILD_DIR a build with krn and bench_renderer (default build/release)
#
# Rows, each measured in this run:
# 1. `krn ppf DENSE --sheet 1 --out FILE` (every surface of the sheet at 50.8 dpi, one thread per
#    core) / `krn coverage DENSE --zones 32` on the same sheet.
# 2. The same `krn ppf` / libtiff's single-threaded decode of every tile of the sheet's files
#    (bench_renderer's EightInks_LibtiffDecode, mean of three).
# 3. Peak resident memory of `krn ppf`, measured from outside with /usr/bin/time.
#
# The sheet is written once into $KRN_BENCH_DIR (default /tmp/krn-targets, shared with
# bench/targets.sh) by `krn sample --preset large --content dense --inks 8`. Needs python3 and
# /usr/bin/time (Debian package time) for row 3.
set -eu

SIZE=96000x72000
RUNS=3
BUILD=build/release
while [ $# -gt 0 ]; do
    case $1 in
    --size) SIZE=$2; shift 2 ;;
    --runs) RUNS=$2; shift 2 ;;
    -h | --help) sed -n '2,22p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "ppf_targets: unknown option $1" >&2; exit 2 ;;
    *) BUILD=$1; shift ;;
    esac
done
case $SIZE in
*x*) ;;
*) echo "ppf_targets: --size wants WIDTHxHEIGHT" >&2; exit 2 ;;
esac

KRN=$BUILD/tools/krn/krn
RENDERER=$BUILD/bench/bench_renderer
WORK=${KRN_BENCH_DIR:-/tmp/krn-targets}
command -v python3 >/dev/null || { echo "ppf_targets: python3 is not installed" >&2; exit 2; }
for program in "$KRN" "$RENDERER"; do
    [ -x "$program" ] || { echo "ppf_targets: build $program first" >&2; exit 2; }
done
mkdir -p "$WORK"
DENSE=$WORK/dense-$SIZE
if [ "$(find "$DENSE/" -name '*.tif' 2>/dev/null | wc -l)" -ne 8 ]; then
    echo "writing $DENSE" >&2
    rm -rf "$DENSE"
    "$KRN" sample --out "$DENSE" --preset large --content dense --inks 8 --size "$SIZE" >/dev/null
fi
OUT=$WORK/dense-$SIZE.ppf
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo unknown)
STARTED=$(date -u '+%Y-%m-%d %H:%M UTC')

KRN_BENCH_INKS=$DENSE "$RENDERER" --benchmark_filter='EightInks_LibtiffDecode' \
    --benchmark_format=json --benchmark_out="$WORK/ppf-decode.json" >/dev/null 2>&1 || true
PEAK=n/a
if [ -x /usr/bin/time ]; then
    /usr/bin/time -f '%M' -o "$WORK/ppf.rss" "$KRN" ppf "$DENSE" --sheet 1 --out "$OUT" \
        >/dev/null 2>&1 && PEAK=$(tail -n 1 "$WORK/ppf.rss")
fi
LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo unknown)
CPU=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo 2>/dev/null | head -n 1)
CORES=$(nproc 2>/dev/null || echo 1)

echo "# ppf_targets.sh: dense sheet $SIZE x 8 inks (front only: the large preset is one-sided)"
echo "# machine: $CORES x ${CPU:-unknown}; $STARTED; load average before $LOAD_BEFORE, after $LOAD_AFTER"
echo "# build: $BUILD; runs: $RUNS, median, after one warm-up"
echo
# The two command lines are timed alternately, so that a change in the machine's load meets both.
python3 - "$RUNS" "$WORK/ppf-decode.json" "$PEAK" \
    "$KRN ppf $DENSE --sheet 1 --out $OUT" "$KRN coverage $DENSE --zones 32" <<'PY'
import json, shlex, subprocess, sys, time
runs, decode_json, peak = int(sys.argv[1]), sys.argv[2], sys.argv[3]
commands = [shlex.split(c) for c in sys.argv[4:6]]
quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
times = [[], []]
try:
    for c in commands:
        subprocess.run(c, check=True, **quiet)
    for _ in range(runs):
        for k, c in enumerate(commands):
            start = time.perf_counter()
            subprocess.run(c, check=True, **quiet)
            times[k].append((time.perf_counter() - start) * 1000)
    ppf, zones = (sorted(t)[len(t) // 2] for t in times)
except (OSError, subprocess.CalledProcessError):
    ppf = zones = None
try:
    decode = next(b['real_time'] for b in json.load(open(decode_json))['benchmarks']
                  if b['name'].startswith('BM_EightInks_LibtiffDecode') and
                  not b.get('error_occurred'))
except (OSError, ValueError, KeyError, StopIteration):
    decode = None

def row(label, measured, value, limit, unit=''):
    if value is None:
        shown, met = 'n/a', 'n/a'
    else:
        shown = '%.2f' % value if unit == '' else '%.0f %s' % (value, unit)
        met = 'yes' if value <= limit else 'no'
    print('| %s | %s | %s | %s | %s |' % (label, measured, shown, ('%g %s' % (limit, unit)).strip(), met))

def ms(v):
    return 'n/a' if v is None else '%.0f ms' % v

print('| target | measured | value | limit | met |')
print('|---|---|---|---|---|')
row('whole sheet at 50.8 dpi, krn ppf / krn coverage --zones 32', 'ppf %s, coverage %s' % (ms(ppf), ms(zones)),
    None if ppf is None or zones is None else ppf / zones, 1.1)
row('whole sheet at 50.8 dpi, krn ppf / single-thread libtiff decode of all tiles',
    'ppf %s, decode %s' % (ms(ppf), ms(decode)),
    None if ppf is None or decode is None else ppf / decode, 0.6)
row('peak resident memory of krn ppf', 'whole sheet', None if peak == 'n/a' else int(peak) / 1024, 300, 'MiB')
PY
