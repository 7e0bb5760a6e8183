#!/bin/sh
# Configures and builds into build/ (or $BUILD_DIR). Extra arguments go to cmake.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@"
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
