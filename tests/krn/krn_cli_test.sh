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

# browse: signatures in ascending order whatever the files' order, surfaces and inks only with
# --all, every invalid file with its reason, and a FIFO among the candidates does not block.
job="$work/browse"
"$krn" sample --out "$job" --preset twosignatures --dpi 72 >/dev/null || fail "sample twosignatures"
"$krn" sample --out "$job" --preset invalid --dpi 72 >/dev/null || fail "sample invalid into job"
mkfifo "$job/x.tif" 2>/dev/null
tree=$(timeout 30 "$krn" browse "$job"); status=$?
[ $status -eq 1 ] || fail "browse with invalid files exits $status, not 1"
signatures=$(grep -E '^  Signature [0-9]+ ' <<<"$tree" | head -n 2 | awk '{ print $2 }' | tr '\n' ' ')
[ "$signatures" = "1 2 " ] || fail "browse signature order: $signatures"
grep -Eq '^Catalogue \[2 Signatures\]'$'\t''----$' <<<"$tree" || fail "browse imposition line"
grep -Eq '^      ' <<<"$tree" && fail "browse without --all shows surfaces"
grep -q 'x.tif: Not a regular file' <<<"$tree" || [ ! -p "$job/x.tif" ] || fail "browse FIFO"
grep -q 'Truncated.tif: ' <<<"$tree" || fail "browse lists no reason for the truncated file"
all=$(timeout 30 "$krn" browse "$job" --all)
grep -Eq '^        (Cyan|Black)'$'\t''[0-9]{4}-' <<<"$all" || fail "browse --all shows no inks"
"$krn" browse "$job/none" 2>/dev/null; [ $? -eq 1 ] || fail "browse of a missing folder"
"$krn" browse 2>/dev/null; [ $? -eq 2 ] || fail "browse without a folder"

if [ $failures -ne 0 ]; then
  echo "krn_cli: $failures failures" >&2
  exit 1
fi
echo "krn_cli: all checks passed"
