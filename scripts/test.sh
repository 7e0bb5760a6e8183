#!/bin/sh
# Installs what is needed, checks formatting, builds, and runs every test (unit,
# GL and end to end) under a virtual X server: once in the normal build, once
# with AddressSanitizer and UndefinedBehaviorSanitizer, then a short bounded
# run of each fuzz target.
#   SKIP_SANITIZE=1  skips the sanitized pass; SKIP_FUZZ=1 skips fuzzing.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/format-check.sh
scripts/windows-check.sh

# run.sh builds the game alone into the same directory: switch the rest back on.
scripts/build.sh -DOSTREL_BUILD_TESTS=ON -DOSTREL_BUILD_BENCH=ON
(cd build && xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure --no-tests=error -j 2)

if [ "${SKIP_SANITIZE:-0}" != 1 ]; then
  BUILD_DIR=build-asan BUILD_TYPE=Debug scripts/build.sh -DOSTREL_SANITIZE=ON -DOSTREL_BUILD_BENCH=OFF
  # The slowest end-to-end cases are covered by the normal pass above.
  (cd build-asan && xvfb-run -a -s "-screen 0 1920x1080x24" ctest --output-on-failure --no-tests=error -j 2 -LE slow)
fi

if [ "${SKIP_FUZZ:-0}" != 1 ]; then
  scripts/fuzz.sh 20
fi
echo "all tests passed"
