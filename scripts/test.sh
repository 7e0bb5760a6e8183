#!/bin/sh
# Installs what is needed, builds, checks formatting and runs every test (unit,
# GL and end to end) under a virtual X server.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/format-check.sh
scripts/build.sh
cd build
xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure --timeout 600 -j 2 "$@"
