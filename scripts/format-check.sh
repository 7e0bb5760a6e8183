#!/bin/sh
# Fails when a C++ source of ours differs from .clang-format.
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'tools/*.cpp')
[ -z "$files" ] && exit 0
clang-format --dry-run --Werror $files
echo "format check: ok"
