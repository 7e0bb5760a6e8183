#!/bin/sh
# Installs the Debian packages the project needs.
#   scripts/install-deps.sh play   what building and playing the game need (plus
#                                  Xvfb and ImageMagick when there is no display,
#                                  for run.sh's screenshot run)
#   scripts/install-deps.sh        all of that plus what the tests, benchmarks,
#                                  Windows compile check and asset tools add
set -eu
PLAY="build-essential cmake pkg-config ninja-build \
 libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev libglew-dev libgles-dev libegl-dev \
 libfreetype-dev libstb-dev libimgui-dev libgl1-mesa-dri libegl-mesa0"
HEADLESS="xvfb xauth imagemagick"
DEVELOP="git x11-utils xdotool sox \
 libgtest-dev libgmock-dev googletest libbenchmark-dev clang-format clang libclang-rt-14-dev \
 g++-mingw-w64-x86-64-posix fonts-dotgothic16 fonts-noto-color-emoji python3-pil python3-fonttools"

PKGS=$PLAY
if [ "${1:-all}" = play ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then PKGS="$PKGS $HEADLESS"; fi
else
  PKGS="$PKGS $HEADLESS $DEVELOP"
fi
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
# shellcheck disable=SC2086 # the lists are word lists
$SUDO apt-get install -y --no-install-recommends $PKGS
