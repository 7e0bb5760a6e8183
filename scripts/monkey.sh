#!/bin/sh
# A long random-input run of the whole game (tests/e2e/MonkeyTest.cpp), by
# default 30 minutes in the sanitized build. A run that crashes is reported
# with its seed and log, and the next one starts with a new seed until the time
# is up. Prints the frames played, the screens visited and the crashes.
#   scripts/monkey.sh [MINUTES] [BUILD_DIR]     (defaults: 30, build-asan)
# Build first: BUILD_DIR=build-asan BUILD_TYPE=Debug scripts/build.sh -DOSTREL_SANITIZE=ON
set -u
cd "$(dirname "$0")/.."
MINUTES=${1:-30}
BUILD_DIR=${2:-build-asan}
BIN=$BUILD_DIR/tests/e2e_MonkeyTest
if [ ! -x "$BIN" ]; then
  echo "monkey: $BIN not found; build it first" >&2
  exit 2
fi
LOG_DIR=$BUILD_DIR/monkey
mkdir -p "$LOG_DIR"

# A display: the caller's, or a virtual one per run.
run() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 1920x1080x24" "$@"
  fi
}

end=$(($(date +%s) + MINUTES * 60))
runs=0
crashes=0
frames=0
while [ "$(date +%s)" -lt "$end" ]; do
  remaining=$((end - $(date +%s)))
  [ "$remaining" -lt 5 ] && break
  seed=$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')
  log=$LOG_DIR/run-$runs-seed-$seed.log
  echo "monkey: run $runs, seed $seed, up to ${remaining}s, log $log"
  OSTREL_MONKEY_SEED=$seed OSTREL_MONKEY_SECONDS=$remaining run "$BIN" >"$log" 2>&1
  status=$?
  played=$(sed -n 's/^Monkey: frames \([0-9]*\) in.*/\1/p' "$log" | tail -n 1)
  if [ -z "$played" ]; then
    # Died before its summary: the last minute report says how far it got.
    played=$(sed -n 's/^Monkey: \([0-9]*\) frames, .*/\1/p' "$log" | tail -n 1)
  fi
  frames=$((frames + ${played:-0}))
  grep -E '^Monkey: (frames|screens|quits)' "$log" | sed 's/^/  /'
  if [ "$status" -ne 0 ]; then
    crashes=$((crashes + 1))
    echo "monkey: run $runs (seed $seed) FAILED with status $status after ${played:-?} frames:"
    grep -E 'ERROR: AddressSanitizer|runtime error|SUMMARY|Failure|terminate|Segmentation|Aborted' "$log" | head -n 10 |
      sed 's/^/  /'
  fi
  runs=$((runs + 1))
done
echo "monkey: $runs runs, $frames frames, $crashes crashes in $MINUTES minutes ($BUILD_DIR)"
[ "$crashes" -eq 0 ]
