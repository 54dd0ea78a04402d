#!/bin/sh
# The speed and memory targets for real press sheets, measured side by side in one run and printed
# as one Markdown table, run by hand (never in CI):
#
#   bench/targets.sh [--size WIDTHxHEIGHT] [--screen N] [--runs N] [BUILD_DIR]
#
#   --size    the eight-ink dense surface (default 96000x72000, a real 2400-dpi plate: writing it
#             takes minutes and about 2.5 GB; 4096x3072 runs in about a minute)
#   --screen  the side of the one separation of the 1:8 comparison (default 16384)
#   --runs    timed runs of each command line, after one warm-up run (default 5; median reported)
#   BUILD_DIR a build with krn and the benchmarks (default build/release)
#
# Rows, each measured in this run:
# 1. 1:8 of one Group 4 separation: `krn render --level 6` / `vips shrink FILE out.v 8 8`.
# 2. Whole 1:64 overview of the dense surface: `krn render --level 9` / libtiff's single-threaded
#    decode of every tile of its eight files (bench_renderer's EightInks_LibtiffDecode).
# 3. First complete picture of the fitted surface in an offscreen 1600 x 1000 sheet view, from
#    opening the files to every pixel shown (the reduced-image overview), with the time to the
#    last exact tile beside it (bench_sheetview's Targets_EveryPixelFitted and
#    Targets_FirstPictureFitted).
# 4. A 1920 x 1080 viewport at 1:1 made cold at 40 spread positions, 95th percentile
#    (Targets_ViewportOneToOneCold; the pause the view takes after each 1:1 tile is off).
# 5. Peak resident memory of a process panning the whole surface at 1:1, screen after screen
#    (Targets_PanWholeSurfaceOneToOne, measured from outside with /usr/bin/time).
# 6. The ink-limit cells (0.5 mm measuring area) of the whole dense surface on every core /
#    libtiff's single-threaded decode of every tile (row 2's), and the peak resident memory of
#    the process counting them (bench_coverage's InkLimitWholeSurface, alone, /usr/bin/time).
# `krn render` gets `--threads N` (N = the cores) and `--memory` is reported when its --help
# offers them, so the script runs alike before and after the render options exist.
#
# Inputs are written once into $KRN_BENCH_DIR (default /tmp/krn-targets) and reused: the
# separation by `bench_renderer --write-screen`, the surface by `krn sample --preset large
# --content dense --inks 8`. Needs python3; vips (libvips-tools) for row 1, else that row reads
# n/a. The output format is stable: one header block, then the table.
set -eu

SIZE=96000x72000
SCREEN_SIZE=16384
RUNS=5
BUILD=build/release
while [ $# -gt 0 ]; do
    case $1 in
    --size) SIZE=$2; shift 2 ;;
    --screen) SCREEN_SIZE=$2; shift 2 ;;
    --runs) RUNS=$2; shift 2 ;;
    -h | --help) sed -n '2,30p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "targets: unknown option $1" >&2; exit 2 ;;
    *) BUILD=$1; shift ;;
    esac
done
case $SIZE in
*x*) WIDTH=${SIZE%x*}; HEIGHT=${SIZE#*x} ;;
*) echo "targets: --size wants WIDTHxHEIGHT" >&2; exit 2 ;;
esac

KRN=$BUILD/tools/krn/krn
RENDERER=$BUILD/bench/bench_renderer
SHEETVIEW=$BUILD/bench/bench_sheetview
COVERAGE=$BUILD/bench/bench_coverage
WORK=${KRN_BENCH_DIR:-/tmp/krn-targets}
command -v python3 >/dev/null || { echo "targets: python3 is not installed" >&2; exit 2; }
for program in "$KRN" "$RENDERER" "$SHEETVIEW" "$COVERAGE"; do
    [ -x "$program" ] || { echo "targets: build $program first" >&2; exit 2; }
done
mkdir -p "$WORK"
CORES=$(nproc 2>/dev/null || echo 1)

# Options of `krn render` that exist in this build.
RENDER_OPTIONS=
RENDER_HELP=$("$KRN" render --help 2>&1 || true)
case $RENDER_HELP in *--threads*) RENDER_OPTIONS="--threads $CORES" ;; esac
MEMORY_OPTION=no
case $RENDER_HELP in *--memory*) MEMORY_OPTION=yes ;; esac

# Inputs, written once.
SCREEN=$WORK/screen-$SCREEN_SIZE.tif
if [ ! -f "$SCREEN" ]; then
    echo "writing $SCREEN" >&2
    "$RENDERER" --write-screen "$SCREEN" "$SCREEN_SIZE" >/dev/null
fi
DENSE=$WORK/dense-${WIDTH}x$HEIGHT
if [ "$(find "$DENSE/" -name '*.tif' 2>/dev/null | wc -l)" -ne 8 ]; then
    echo "writing $DENSE" >&2
    rm -rf "$DENSE"
    "$KRN" sample --out "$DENSE" --preset large --content dense --inks 8 --size "${WIDTH}x$HEIGHT" >/dev/null
fi

# median_ms COMMAND...: the median wall time of RUNS runs after one warm-up, or n/a.
median_ms() {
    python3 - "$RUNS" "$@" <<'PY'
import subprocess, sys, time
runs, command = int(sys.argv[1]), sys.argv[2:]
quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    subprocess.run(command, check=True, **quiet)
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, check=True, **quiet)
        times.append((time.perf_counter() - start) * 1000)
    times.sort()
    print('%.1f' % times[len(times) // 2])
except (OSError, subprocess.CalledProcessError):
    print('n/a')
PY
}

# bench_value JSON NAME FIELD: a field of one benchmark of Google Benchmark's JSON, or n/a.
bench_value() {
    python3 - "$@" <<'PY'
import json, sys
path, name, field = sys.argv[1:]
try:
    for b in json.load(open(path))['benchmarks']:
        if b['name'].startswith(name) and not b.get('error_occurred') and field in b:
            print('%.1f' % b[field])
            break
    else:
        print('n/a')
except (OSError, ValueError, KeyError):
    print('n/a')
PY
}

# row LABEL MEASURED VALUE LIMIT UNIT: one line of the table; met when VALUE <= LIMIT.
row() {
    python3 - "$@" <<'PY'
import sys
label, measured, value, limit, unit = sys.argv[1:]
try:
    v = float(value)
    shown = ('%.2f' % v if unit == '' else '%.0f %s' % (v, unit) if v >= 10 else
             '%.2f %s' % (v, unit))
    met = 'yes' if v <= float(limit) else 'no'
except ValueError:
    shown, met = 'n/a', 'n/a'
print('| %s | %s | %s | %s | %s |' % (label, measured, shown, (limit + ' ' + unit).strip(), met))
PY
}

# ms VALUE: VALUE with its unit, or n/a.
ms() {
    case $1 in n/a) echo n/a ;; *) echo "$1 ms" ;; esac
}

ratio() {
    python3 -c 'import sys
try: print("%.3f" % (float(sys.argv[1]) / float(sys.argv[2])))
except (ValueError, ZeroDivisionError): print("n/a")' "$1" "$2"
}

LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo unknown)
STARTED=$(date -u '+%Y-%m-%d %H:%M UTC')

# 1. 1:8 of one separation against vips. RENDER_OPTIONS is split into its words on purpose.
# shellcheck disable=SC2086
KRN_SHRINK=$(median_ms "$KRN" render "$SCREEN" --level 6 --out "$WORK/screen.ppm" $RENDER_OPTIONS)
if command -v vips >/dev/null; then
    VIPS_SHRINK=$(median_ms vips shrink "$SCREEN" "$WORK/shrink.v" 8 8)
else
    VIPS_SHRINK=n/a
fi
R1=$(ratio "$KRN_SHRINK" "$VIPS_SHRINK")

# 2. Whole 1:64 overview against libtiff's decode of every tile.
# shellcheck disable=SC2086
OVERVIEW=$(median_ms "$KRN" render "$DENSE" --level 9 --out "$WORK/overview.ppm" $RENDER_OPTIONS)
KRN_BENCH_INKS=$DENSE "$RENDERER" --benchmark_filter='EightInks_LibtiffDecode' \
    --benchmark_format=json --benchmark_out="$WORK/decode.json" >/dev/null 2>&1 || true
DECODE=$(bench_value "$WORK/decode.json" BM_EightInks_LibtiffDecode real_time)
R2=$(ratio "$OVERVIEW" "$DECODE")

# 3 and 4. The sheet view: first fitted picture, cold 1:1 viewports.
KRN_BENCH_JOB=$DENSE QT_QPA_PLATFORM=offscreen "$SHEETVIEW" \
    --benchmark_filter='Targets_(EveryPixelFitted|FirstPictureFitted|ViewportOneToOneCold)' \
    --benchmark_format=json --benchmark_out="$WORK/sheetview.json" >/dev/null 2>&1 || true
FIRST=$(bench_value "$WORK/sheetview.json" BM_Targets_FirstPictureFitted real_time)
EVERY_PIXEL=$(bench_value "$WORK/sheetview.json" BM_Targets_EveryPixelFitted real_time)
FIRST_S=$(python3 -c 'import sys
try: print("%.3f" % (float(sys.argv[1]) / 1000))
except ValueError: print("n/a")' "$EVERY_PIXEL")
P95=$(bench_value "$WORK/sheetview.json" BM_Targets_ViewportOneToOneCold p95_ms)
MEDIAN=$(bench_value "$WORK/sheetview.json" BM_Targets_ViewportOneToOneCold median_ms)

# 5. Peak resident memory of a whole pan, in a process of its own.
PEAK_MIB=n/a
if [ -x /usr/bin/time ]; then
    if KRN_BENCH_JOB=$DENSE QT_QPA_PLATFORM=offscreen /usr/bin/time -f '%M' -o "$WORK/pan.rss" \
        "$SHEETVIEW" --benchmark_filter='Targets_PanWholeSurfaceOneToOne' \
        --benchmark_format=json --benchmark_out="$WORK/pan.json" >/dev/null 2>&1; then
        PEAK_MIB=$(python3 -c 'import sys; print("%.1f" % (int(open(sys.argv[1]).read().split()[-1]) / 1024))' "$WORK/pan.rss")
    fi
else
    KRN_BENCH_JOB=$DENSE QT_QPA_PLATFORM=offscreen "$SHEETVIEW" \
        --benchmark_filter='Targets_PanWholeSurfaceOneToOne' \
        --benchmark_format=json --benchmark_out="$WORK/pan.json" >/dev/null 2>&1 || true
    PEAK_MIB=$(bench_value "$WORK/pan.json" BM_Targets_PanWholeSurfaceOneToOne peak_MiB)
fi
SCREENS=$(bench_value "$WORK/pan.json" BM_Targets_PanWholeSurfaceOneToOne screens | cut -d. -f1)

# 6. The ink-limit cells of the whole surface, in a process of its own for its peak.
LIMIT_PEAK_MIB=n/a
if [ -x /usr/bin/time ]; then
    KRN_BENCH_INKS=$DENSE /usr/bin/time -f '%M' -o "$WORK/limit.rss" "$COVERAGE" \
        --benchmark_filter='InkLimitWholeSurface' --benchmark_format=json \
        --benchmark_out="$WORK/limit.json" >/dev/null 2>&1 &&
        LIMIT_PEAK_MIB=$(python3 -c 'import sys; print("%.1f" % (int(open(sys.argv[1]).read().split()[-1]) / 1024))' "$WORK/limit.rss")
else
    KRN_BENCH_INKS=$DENSE "$COVERAGE" --benchmark_filter='InkLimitWholeSurface' \
        --benchmark_format=json --benchmark_out="$WORK/limit.json" >/dev/null 2>&1 || true
    LIMIT_PEAK_MIB=$(bench_value "$WORK/limit.json" BM_InkLimitWholeSurface peak_MiB)
fi
LIMIT=$(bench_value "$WORK/limit.json" BM_InkLimitWholeSurface real_time)
R6=$(ratio "$LIMIT" "$DECODE")

LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg 2>/dev/null || echo unknown)
CPU=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo 2>/dev/null | head -n 1)

echo "# targets.sh: dense surface ${WIDTH} x ${HEIGHT} x 8 inks, separation ${SCREEN_SIZE} x ${SCREEN_SIZE}"
echo "# machine: $CORES x ${CPU:-unknown}; $STARTED; load average before $LOAD_BEFORE, after $LOAD_AFTER"
echo "# build: $BUILD; krn render options used: ${RENDER_OPTIONS:-none} (--memory offered: $MEMORY_OPTION); runs: $RUNS, median"
echo
echo "| target | measured | value | limit | met |"
echo "|---|---|---|---|---|"
row "1:8 of one ${SCREEN_SIZE} x ${SCREEN_SIZE} G4 separation, krn render / vips shrink 8 8" \
    "krn $(ms "$KRN_SHRINK"), vips $(ms "$VIPS_SHRINK")" "$R1" 0.12 ""
row "whole 1:64 overview of the 8-ink dense surface, krn render / libtiff decode of all tiles" \
    "krn $(ms "$OVERVIEW"), libtiff $(ms "$DECODE")" "$R2" 0.6 ""
row "first complete picture of the fitted 8-ink surface, offscreen 1600 x 1000 view, from opening" \
    "mean of 5: every pixel $(ms "$EVERY_PIXEL") (overview); exact tiles $(ms "$FIRST")" "$FIRST_S" 0.5 s
row "1920 x 1080 viewport at 1:1 of 8 inks made cold, 95th percentile" \
    "40 positions, median $(ms "$MEDIAN")" "$P95" 100 ms
row "peak resident memory panning the whole 8-ink surface at 1:1" \
    "${SCREENS} screens of 1920 x 1080" "$PEAK_MIB" 1024 MiB
row "ink-limit cells (0.5 mm) of the whole 8-ink dense surface on $CORES cores / libtiff decode of all tiles" \
    "cells $(ms "$LIMIT"), libtiff $(ms "$DECODE")" "$R6" 0.6 ""
row "peak resident memory counting the ink-limit cells of the whole surface" \
    "bench_coverage alone" "$LIMIT_PEAK_MIB" 300 MiB
