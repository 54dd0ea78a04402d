#!/usr/bin/env bash
# The tool's threaded work on a dense plate: render (indexed 1:1, counted 1:4, averaged 1:32) and
# thumbnail on two threads give the same bytes as on one, and the ink-zone count completes. In the
# ThreadSanitizer build any race it sees ends the run with an error, so this is also the race
# check of the renderer's workers reading real preview files.
# usage: krn_threads_test.sh KRN_BINARY SCRATCH_FOLDER
set -uo pipefail
krn=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

job="$work/dense"
"$krn" sample --out "$job" --preset large --content dense --inks 4 --size 2048x1536 >/dev/null ||
  fail "sample large --content dense"

for level in 3 5 8; do
  "$krn" render "$job" --level "$level" --threads 2 --out "$work/two-$level.ppm" ||
    fail "render --level $level on two threads"
  "$krn" render "$job" --level "$level" --threads 1 --out "$work/one-$level.ppm" ||
    fail "render --level $level on one thread"
  cmp -s "$work/two-$level.ppm" "$work/one-$level.ppm" ||
    fail "level $level on two threads differs from one thread"
done

"$krn" thumbnail "$job" --threads 2 --out "$work/two-thumb.ppm" || fail "thumbnail on two threads"
"$krn" thumbnail "$job" --threads 1 --out "$work/one-thumb.ppm" || fail "thumbnail on one thread"
cmp -s "$work/two-thumb.ppm" "$work/one-thumb.ppm" || fail "thumbnail differs with the threads"

zones=$("$krn" coverage "$job" --zones 8 --csv) || fail "coverage"
[ "$(wc -l <<<"$zones")" -ge 6 ] || fail "coverage printed: $zones"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
rm -rf "$work"
echo "krn threads: all checks passed"
