#!/usr/bin/env bash
# End-to-end check of the krn tool on jobs it composes itself: the sample presets place as they
# say, `info` reports valid and unreadable files, renders and thumbnails come out with ink where
# ink is and paper where every ink is hidden.
# usage: krn_cli_test.sh KRN_BINARY SCRATCH_FOLDER
set -uo pipefail
krn=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Prints "width height min max" of a binary PPM, reading its pixel bytes with od.
ppm_stats() {
  local file=$1 header width height
  header=$(head -c 64 "$file" | tr '\n' ' ')
  read -r _ width height _ <<<"$header"
  local offset=$(( $(printf 'P6\n%s %s\n255\n' "$width" "$height" | wc -c) + 1 ))
  tail -c +"$offset" "$file" | od -An -v -tu1 -w65536 |
    awk -v w="$width" -v h="$height" 'BEGIN { min = 256; max = -1 }
      { for (i = 1; i <= NF; i++) { if ($i < min) min = $i; if ($i > max) max = $i } }
      END { print w, h, min, max }'
}

brochure="$work/brochure"
"$krn" sample --out "$brochure" --preset brochure --dpi 72 >/dev/null || fail "sample brochure"
count=$(find "$brochure" -name '*.tif' | wc -l)
[ "$count" -eq 10 ] || fail "brochure wrote $count files, not 10"

dump=$("$krn" dump "$brochure")
grep -q '^10 of 10 files placed$' <<<"$dump" || fail "dump of brochure: $(tail -n 1 <<<"$dump")"

invalid="$work/invalid"
"$krn" sample --out "$invalid" --preset invalid --dpi 72 >/dev/null || fail "sample invalid"
dump=$("$krn" dump "$invalid")
grep -Eq '^1 of [0-9]+ files placed$' <<<"$dump" || fail "dump of invalid: $(tail -n 1 <<<"$dump")"

first=$(find "$brochure" -name '*_0_Black.tif' | head -n 1)
info=$("$krn" info "$first") || fail "info on a valid file exits non-zero"
grep -q 'valid preview file' <<<"$info" || fail "info does not call $first valid"
grep -q -- '--- Quor Private IFD ---' <<<"$info" || fail "info has no private directory lines"
if out=$("$krn" info "$work/missing.tif" 2>&1); then
  fail "info on a missing file exits 0"
fi
grep -q "missing.tif" <<<"$out" || fail "info does not name the missing file"

"$krn" render "$brochure" --level 8 --out "$work/front.ppm" || fail "render"
read -r w h min max < <(ppm_stats "$work/front.ppm")
{ [ "$w" -gt 0 ] && [ "$h" -gt 0 ] && [ "$min" -lt 128 ] && [ "$max" -eq 255 ]; } ||
  fail "front render $w x $h with values $min..$max has no ink or no paper"

hide=()
for ink in Cyan Magenta Yellow Black "PANTONE 185 C"; do hide+=(--hide "$ink"); done
"$krn" render "$brochure" --level 8 "${hide[@]}" --out "$work/hidden.ppm" || fail "render hidden"
read -r w2 h2 min max < <(ppm_stats "$work/hidden.ppm")
{ [ "$w2" -eq "$w" ] && [ "$h2" -eq "$h" ] && [ "$min" -eq 255 ]; } ||
  fail "with every ink hidden the render is not plain paper ($min..$max)"

"$krn" render "$brochure" --level 8 "${hide[@]}" --paper 102030 --out "$work/paper.ppm" ||
  fail "render on coloured paper"
read -r _ _ min max < <(ppm_stats "$work/paper.ppm")
{ [ "$min" -eq 16 ] && [ "$max" -eq 48 ]; } || fail "coloured paper shows $min..$max"

if "$krn" render "$brochure" --level 8 --sheet 2 --out "$work/none.ppm" 2>/dev/null; then
  fail "render of a sheet that does not exist exits 0"
fi

"$krn" thumbnail "$brochure" --surface back --out "$work/thumb.ppm" >/dev/null || fail "thumbnail"
read -r w h min max < <(ppm_stats "$work/thumb.ppm")
{ [ "$w" -le 350 ] && [ "$h" -le 350 ] && [ "$min" -lt 128 ]; } ||
  fail "thumbnail $w x $h with values $min..$max"

# Exit codes scripts rely on: info fails when any file is not a valid preview file, dump when
# nothing was placed; both say so on standard error.
bad=$(find "$invalid" -name '*.tif' | sort | head -n 1)
if "$krn" info "$first" "$bad" >/dev/null 2>"$work/info.err"; then
  fail "info on a valid and an invalid file exits 0"
fi
grep -q 'is not a valid preview file' "$work/info.err" || fail "info says nothing on stderr"
mkdir -p "$work/empty"
if "$krn" dump "$work/empty" >/dev/null 2>"$work/dump.err"; then
  fail "dump that placed nothing exits 0"
fi
grep -q 'no file was placed' "$work/dump.err" || fail "dump says nothing on stderr"

# File names are bytes: a job whose folder and files have Latin-1 names places as any other.
latin="$work/$(printf 'Brosch\xfcre')"
mkdir -p "$latin"
for f in "$brochure"/*.tif; do
  cp "$f" "$latin/$(printf '\xe9')$(basename "$f")"
done
dump=$("$krn" dump "$latin") || fail "dump of a Latin-1 named job exits non-zero"
grep -q '^10 of 10 files placed$' <<<"$dump" || fail "dump of Latin-1 names: $(tail -n 1 <<<"$dump")"
one=$(find "$latin" -name '*_0_Black.tif' | head -n 1)
dump=$("$krn" dump "$one") || fail "dump of one Latin-1 named file exits non-zero"
grep -q '^1 of 1 files placed$' <<<"$dump" || fail "dump of $one: $(tail -n 1 <<<"$dump")"

# A FIFO named as a preview file is refused at once, never waited on (timeout exits 124).
mkfifo "$work/pipe.tif"
for cmd in info dump render thumbnail; do
  args=("$work/pipe.tif")
  case $cmd in
    render) args+=(--level 9 --out "$work/pipe-render.ppm") ;;
    thumbnail) args+=(--out "$work/pipe-thumbnail.ppm") ;;
  esac
  timeout 10 "$krn" "$cmd" "${args[@]}" >"$work/pipe.out" 2>&1
  status=$?
  if [ $status -eq 124 ]; then
    fail "$cmd blocks on a FIFO"
  elif [ $status -eq 0 ]; then
    fail "$cmd on a FIFO exits 0"
  fi
  grep -q 'Not a regular file but a FIFO' "$work/pipe.out" || fail "$cmd does not say it met a FIFO"
done

if [ $failures -ne 0 ]; then
  echo "krn_cli: $failures failures" >&2
  exit 1
fi
echo "krn_cli: all checks passed"
