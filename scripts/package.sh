#!/usr/bin/env bash
# Builds the Debian package of the viewer and the krn tool, lists what it holds and checks it
# with lintian where lintian is installed.
#
# usage: scripts/package.sh [BUILD_FOLDER]
#   Without a folder, the release preset is configured and built (build/release). With one, that
#   already configured build folder is used as it is (for example build/dev).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh

export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
build=${1:-}
if [ -z "$build" ]; then
  build=build/release
  cmake --preset release -DKRN_BUILD_BENCH=OFF >/dev/null
fi
[ -f "$build/CMakeCache.txt" ] || { echo "package: $build is not a configured build folder" >&2; exit 2; }

# Only what the package holds: the programs and the files made for them.
cmake --build "$build" -j "$(nproc)" --target quorkrn krn colordb quorkrn_data manpages package_docs

rm -f "$build"/quorkrn_*.deb
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/quorkrn_*.deb)

echo "== $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
echo "== contents"
dpkg -c "$deb"

if command -v lintian >/dev/null; then
  echo "== lintian"
  # Errors fail the build; warnings and notes are shown.
  lintian --fail-on error "$deb"
else
  echo "lintian is not installed: the package was not checked"
fi
echo "package: $deb"
