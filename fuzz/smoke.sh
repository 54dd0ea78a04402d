#!/usr/bin/env bash
# Bounded fuzz smoke: runs every fuzz_* binary in BUILD_DIR/fuzz on its seeds for a share of a
# two-minute budget and fails on any crash, leak or sanitizer report. libFuzzer binaries (clang,
# KRN_FUZZ=ON) fuzz; binaries linked with the replay main (gcc builds) replay their seeds once.
#
# Seeds: the preview-file target's seeds are written at run time by make_preview_seeds, plus any
# crafted files kept in fuzz/seeds/preview/; every other target uses fuzz/corpus/<target>/ when it
# exists, else starts from an empty corpus.
set -uo pipefail

if [ $# -ne 1 ]; then
  echo "usage: fuzz/smoke.sh BUILD_DIR" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd) || exit 2
total_budget=${KRN_FUZZ_BUDGET:-110}   # seconds of fuzzing in all; seed making comes on top

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

mapfile -t targets < <(find "$build/fuzz" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz smoke: no fuzz_* binaries in $build/fuzz" >&2
  exit 1
fi
per_target=$(( total_budget / ${#targets[@]} ))
[ "$per_target" -lt 5 ] && per_target=5

work=$(mktemp -d "${TMPDIR:-/tmp}/krn-fuzz-smoke.XXXXXX")
trap 'rm -rf "$work"' EXIT

failed=0
for bin in "${targets[@]}"; do
  name=$(basename "$bin")
  seeds="$work/$name-seeds"
  corpus="$work/$name-corpus"
  mkdir -p "$seeds" "$corpus"
  if [ "$name" = fuzz_preview_file ]; then
    if [ -x "$build/fuzz/make_preview_seeds" ]; then
      "$build/fuzz/make_preview_seeds" "$seeds" || { echo "fuzz smoke: seed maker failed" >&2; failed=1; }
    fi
    if [ -d "$here/seeds/preview" ]; then
      cp "$here"/seeds/preview/* "$seeds"/ 2>/dev/null || true
    fi
  elif [ -d "$here/corpus/$name" ]; then
    cp -r "$here/corpus/$name"/. "$seeds"/
  fi

  log="$work/$name.log"
  # The help text is read whole before it is searched: a search that stops at the first match
  # would cut the pipe, and under pipefail a libFuzzer binary would be taken for a replayer and
  # then fuzz without an end.
  help=$("$bin" -help=1 2>&1 || true)
  # Every run has a hard limit of its own as well, so a target can never hold CI hostage.
  if grep -q 'max_total_time' <<<"$help"; then
    echo "== fuzz $name for ${per_target}s"
    timeout --kill-after=10 $((per_target + 60)) \
      "$bin" -max_total_time="$per_target" -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
      -artifact_prefix="$work/$name-" "$corpus" "$seeds" >"$log" 2>&1
    status=$?
  else
    echo "== replay $name"
    timeout --kill-after=10 300 "$bin" "$seeds" >"$log" 2>&1
    status=$?
  fi
  if [ $status -ne 0 ] || grep -Eq 'ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error:|SUMMARY: ' "$log"; then
    echo "fuzz smoke: $name failed (status $status)" >&2
    tail -n 60 "$log" >&2
    for artifact in "$work/$name-"crash-* "$work/$name-"leak-* "$work/$name-"timeout-* "$work/$name-"oom-*; do
      [ -e "$artifact" ] && cp "$artifact" "$build/" && echo "fuzz smoke: kept $(basename "$artifact") in $build" >&2
    done
    failed=1
  else
    grep -E '^(stat::number_of_executed_units|replayed)' "$log" | sed "s/^/   /"
  fi
done

if [ $failed -ne 0 ]; then
  echo "fuzz smoke: FAILED" >&2
  exit 1
fi
echo "fuzz smoke: clean"
