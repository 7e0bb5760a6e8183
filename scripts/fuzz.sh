#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 20).
# Findings are written to build-fuzz/findings/; the committed seeds stay untouched.
set -eu
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-20}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DOSTREL_FUZZ=ON -DOSTREL_BUILD_TESTS=OFF \
  -DOSTREL_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target fuzz_config fuzz_bitmap_font
mkdir -p build-fuzz/findings build-fuzz/corpus/config build-fuzz/corpus/bitmap_font
for target in config bitmap_font; do
  echo "fuzzing $target for ${SECONDS_EACH}s"
  # -print_funcs=0: no symbolizer for newly covered functions (its restart
  # warnings were noise); a crash report still gets its symbolized stack.
  build-fuzz/fuzz/fuzz_$target -max_total_time="$SECONDS_EACH" -close_fd_mask=3 -print_final_stats=1 -print_funcs=0 \
    -artifact_prefix=build-fuzz/findings/$target- build-fuzz/corpus/$target fuzz/corpus/$target 2>&1 |
    grep -E "^(stat::|Done|==|SUMMARY|ERROR)" || true
  if ls build-fuzz/findings/$target-* >/dev/null 2>&1; then
    echo "fuzz_$target found a crash: build-fuzz/findings/"; exit 1
  fi
done
