#!/bin/sh
# Installs every Debian package the build, the game, the tests and the asset tools need.
set -eu
PKGS="build-essential cmake pkg-config ninja-build git \
 libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev libglew-dev libgles-dev libegl-dev \
 libfreetype-dev libstb-dev libimgui-dev \
 libgl1-mesa-dri libegl-mesa0 xvfb xauth x11-utils xdotool imagemagick sox \
 libgtest-dev libgmock-dev googletest libbenchmark-dev clang-format clang libclang-rt-14-dev \
 fonts-dotgothic16 fonts-noto-color-emoji python3-pil python3-fonttools"
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends $PKGS
