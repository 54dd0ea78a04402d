#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run, and only what is
# missing, so that a machine that has them all pays one dpkg query per package.
set -euo pipefail

packages=(
  # toolchain
  cmake ninja-build g++ ccache pkg-config clang libclang-rt-14-dev
  # libraries
  libtiff-dev qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-tools-dev-tools
  qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  # the ink-zone charts (the charts' CMake package needs the OpenGL one)
  qt6-charts-dev libqt6opengl6-dev
  # headless runs of the viewer
  xvfb xauth x11-utils imagemagick xdotool openbox ghostscript
  # scalable icons; installing, packaging and checking the desktop integration
  qt6-svg-dev libqt6svg6 help2man desktop-file-utils shared-mime-info xdg-utils
  libfile-mimeinfo-perl lintian dpkg-dev fakeroot
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg -s "$p" >/dev/null 2>&1 || ! dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
