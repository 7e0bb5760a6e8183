#!/bin/sh
# Prints the size of the tests against the rest of the code, in non-blank lines
# of tracked C++, GLSL, Python, shell and CMake files, and fails above 35%.
set -eu
cd "$(dirname "$0")/.."
count() { git ls-files -- "$@" | grep -E '(\.(cpp|h|glsl|py|sh)|CMakeLists\.txt)$' | tr '\n' '\0' |
  xargs -0 cat | grep -cv '^[[:space:]]*$'; }
tests=$(count tests)
code=$(count . ':!tests')
percent=$((100 * tests / code))
echo "test ratio: $tests test lines against $code lines of code: $percent%"
if [ $((100 * tests)) -gt $((35 * code)) ]; then
  echo "test ratio: above 35%; tests should be a quarter to a third of the code" >&2
  exit 1
fi
