#!/usr/bin/env bash
# The installed layout end to end: installs the build into a scratch root (DESTDIR, prefix /usr),
# checks that every file lands where the desktop and the programs look for it, that the desktop
# entry is valid and the file type names .krn and .prv files once installed, and that the
# installed programs find their data there and nowhere else:
#   - the installed krn colours inks from the installed colour library;
#   - the installed viewer, started under a virtual X server with a sample job, shows the English
#     user guide on F1; in German it shows the German user guide under the German module's title;
#     and its picture of the sheet changes when the installed colour library is taken away.
# Exit code 77 (skipped) only when no virtual X server is there.
#
# usage: e2e_installed.sh BUILD_FOLDER WORK_FOLDER
set -uo pipefail

build=${1:?build folder}
work=${2:?work folder}

command -v Xvfb >/dev/null || { echo "skip: Xvfb not installed (Debian xvfb)"; exit 77; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
need() { command -v "$1" >/dev/null || { echo "FAIL: $1 not found (scripts/bootstrap.sh installs it)"; exit 1; }; }
for tool in xdotool xwininfo import compare desktop-file-validate update-mime-database xdg-mime; do
  need "$tool"
done

rm -rf "$work"
mkdir -p "$work"
root="$work/root"
if ! DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
  echo "FAIL: cmake --install"; tail -20 "$work/install.log"; exit 1
fi
usr="$root/usr"
share="$usr/share/quorkrn"

# --- what the package puts where
for f in bin/quorkrn bin/krn share/quorkrn/Pantone.colordb share/quorkrn/QuorKRN_de.qm \
  share/quorkrn/QuorKRNHelp_en.html share/quorkrn/QuorKRNHelp_de.html share/quorkrn/splash.png \
  share/applications/quorkrn.desktop share/mime/packages/quorkrn.xml \
  share/icons/hicolor/scalable/apps/quorkrn.svg share/man/man1/quorkrn.1.gz \
  share/man/man1/krn.1.gz share/doc/quorkrn/copyright share/doc/quorkrn/changelog.gz; do
  [ -s "$usr/$f" ] || fail "not installed: /usr/$f"
done
[ -x "$usr/bin/quorkrn" ] && [ -x "$usr/bin/krn" ] || fail "the programs are not executable"
# The icon the desktop entry names, and every picture the toolbar asks the theme for.
icon=$(sed -n 's/^Icon=//p' "$usr/share/applications/quorkrn.desktop")
[ -s "$usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no hicolor icon '$icon'"
[ "$(find "$usr/share/icons/hicolor/scalable" -name 'quorkrn-*.svg' | wc -l)" -ge 24 ] ||
  fail "fewer than 24 toolbar, status and job-browser icons in hicolor"

# --- desktop entry and file type
desktop-file-validate "$usr/share/applications/quorkrn.desktop" || fail "desktop-file-validate"
grep -q '^Exec=quorkrn %F$' "$usr/share/applications/quorkrn.desktop" || fail "Exec is not 'quorkrn %F'"
mimetype=$(sed -n 's/^MimeType=\([^;]*\);.*/\1/p' "$usr/share/applications/quorkrn.desktop")

# A small job at a low resolution keeps the run short; the brochure has a spot ink without a
# CMYK equivalent, so its colour comes from the colour library.
job="$work/job"
"$usr/bin/krn" sample --out "$job" --preset brochure --dpi 72 >"$work/sample.log" 2>&1 ||
  { echo "FAIL: the installed krn could not write the sample job"; cat "$work/sample.log"; exit 1; }
sample=$(find "$job" -name '*_0_Black.tif' | head -n 1)

xdg="$work/xdg"
mkdir -p "$xdg/mime/packages"
cp "$usr/share/mime/packages/quorkrn.xml" "$xdg/mime/packages/"
cp "$sample" "$work/lower.krn"
cp "$sample" "$work/UPPER.PRV"
cp "$sample" "$work/plain.tif"
query() { env -u XDG_CURRENT_DESKTOP -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
  XDG_DATA_HOME="$1" xdg-mime query filetype "$2" 2>/dev/null; }
[ "$(query "$xdg" "$work/lower.krn")" != "$mimetype" ] ||
  fail ".krn is already $mimetype before the definition is installed"
XDG_DATA_HOME="$xdg" update-mime-database "$xdg/mime" || fail "update-mime-database"
for f in lower.krn UPPER.PRV; do
  type=$(query "$xdg" "$work/$f")
  [ "$type" = "$mimetype" ] || fail "xdg-mime names $f '$type', not '$mimetype'"
done
type=$(query "$xdg" "$work/plain.tif")
[ "$type" = "image/tiff" ] || fail "a .tif preview file is '$type', not image/tiff"

# --- the installed krn finds the installed colour library
empty="$work/empty.colordb"
: >"$work/empty.txt"
"$usr/bin/krn" colordb build "$work/empty.txt" "$empty" || fail "krn colordb build"
render() { XDG_DATA_HOME="$work/no-user-data" "$usr/bin/krn" render "$job" --level 8 "$@"; }
render --out "$work/installed.ppm" || fail "installed krn render"
render --colordb "$share/Pantone.colordb" --out "$work/named.ppm" || fail "krn render --colordb"
render --colordb "$empty" --out "$work/none.ppm" || fail "krn render without a library"
cmp -s "$work/installed.ppm" "$work/named.ppm" || fail "the installed krn did not use the installed colour library"
cmp -s "$work/installed.ppm" "$work/none.ppm" && fail "the colour library makes no difference to the render"
grep -q '^krn (Quor KRN) ' <<<"$("$usr/bin/krn" --version)" || fail "krn --version"
grep -q '^quorkrn (Quor KRN) ' <<<"$("$usr/bin/quorkrn" --version)" || fail "quorkrn --version"

# --- the installed viewer under a virtual X server
xvfb=""
viewer=""
. "$(dirname "$0")/e2e_common.sh"
# The instance socket's path must fit a socket address (107 bytes), which a folder below a deep
# checkout can exceed: each run's runtime folder lies in a short one of its own.
runtime=$(mktemp -d /tmp/krn-run-XXXXXX)
trap 'e2e_stop "$viewer"' EXIT
start_virtual_display 1024x768 "$work"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
export LSAN_OPTIONS="suppressions=$e2e_here/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

titles() { xwininfo -root -tree 2>/dev/null | grep -o '"Quor KRN[^"]*"' | sort -u; }
wait_for() { # pattern, tenths of a second
  for _ in $(seq "$2"); do
    titles | grep -q -- "$1" && return 0
    sleep 0.1
  done
  return 1
}

# Starts the installed viewer with the job (language in $1, run name in $2) and waits for its
# job window; prints the window id.
start_viewer() {
  local lang=$1 run=$2
  mkdir -p "$runtime/$run" "$work/$run/config" "$work/$run/data"
  chmod 700 "$runtime/$run"
  XDG_RUNTIME_DIR="$runtime/$run" XDG_CONFIG_HOME="$work/$run/config" \
    XDG_DATA_HOME="$work/$run/data" LANG="$lang" LANGUAGE="" LC_ALL="" LC_MESSAGES="" \
    "$usr/bin/quorkrn" "$job"/*.tif >"$work/$run.log" 2>&1 &
  viewer=$!
  wait_for '"Quor KRN - ' 300 || { fail "$run: no job window"; return 1; }
}

stop_viewer() {
  [ -n "$viewer" ] || return 0
  kill "$viewer" 2>/dev/null
  wait "$viewer" 2>/dev/null
  viewer=""
}

# The job window's picture once painting has settled (two looks alike, half a second apart).
settled_shot() {
  local window=$1 out=$2 previous="$2.previous.png"
  import -window "$window" "$previous" 2>/dev/null
  for _ in $(seq 20); do
    sleep 0.5
    import -window "$window" "$out" 2>/dev/null
    [ "$(compare -metric AE "$previous" "$out" null: 2>&1)" = "0" ] && return 0
    cp "$out" "$previous"
  done
  return 0
}

# F1 in the job window; the help window's title, or the box that says the guide is missing.
press_help() {
  local window=$1
  xdotool windowactivate --sync "$window" 2>/dev/null
  xdotool windowfocus --sync "$window" key --clearmodifiers F1 2>/dev/null
}

job_window() { xwininfo -root -tree 2>/dev/null | awk '/"Quor KRN - [^H]/ { print $1; exit }'; }

# English: the English guide.
if start_viewer en_US.UTF-8 english; then
  window=$(job_window)
  settled_shot "$window" "$work/with-library.png"
  press_help "$window"
  wait_for '"Quor KRN Help"' 100 || fail "English: F1 shows no 'Quor KRN Help' window: $(titles | tr '\n' ' ')"
  titles | grep -q 'Help Unavailable' && fail "English: the user guide is unavailable"
  import -window root "$work/english-help.png" 2>/dev/null
fi
stop_viewer

# German: the German module (the help window's title is its translation) and the German guide.
if start_viewer de_DE.UTF-8 german; then
  # As in English: keys reach the window once it has settled (slowly in the sanitizer build).
  window=$(job_window)
  settled_shot "$window" "$work/german-start.png"
  press_help "$window"
  wait_for '"Quor KRN-Hilfe"' 100 || fail "German: F1 shows no 'Quor KRN-Hilfe' window: $(titles | tr '\n' ' ')"
  titles | grep -q 'nicht verf' && fail "German: the German user guide is unavailable"
  import -window root "$work/german-help.png" 2>/dev/null
fi
stop_viewer

# Without the installed colour library the spot ink is drawn in the default grey instead.
mv "$share/Pantone.colordb" "$work/Pantone.colordb.away"
if start_viewer en_US.UTF-8 nolibrary; then
  settled_shot "$(job_window)" "$work/without-library.png"
  difference=$(compare -metric AE "$work/with-library.png" "$work/without-library.png" null: 2>&1)
  [ "${difference%% *}" != "0" ] || fail "the viewer's picture is the same without its colour library"
fi
stop_viewer
mv "$work/Pantone.colordb.away" "$share/Pantone.colordb"

if [ $failures -ne 0 ]; then
  echo "installed layout: $failures failures (screenshots and logs in $work)"
  exit 1
fi
echo "installed layout: all checks passed"
