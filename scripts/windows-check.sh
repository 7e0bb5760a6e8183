#!/bin/sh
# Compiles every source under src/ for Windows with MinGW-w64 (syntax only), so
# the _WIN32 branches the Linux build never sees are at least compiled. The
# library headers are the system's, reached through a temporary include
# directory that holds only those libraries: adding /usr/include itself would
# put the Linux C library in front of MinGW's.
#   WINDOWS_CXX=...  another MinGW-w64 C++ compiler; JOBS=N  parallel compiles;
#   KEEP=1  leaves the temporary include directory in place.
set -eu
cd "$(dirname "$0")/.."

CXX=${WINDOWS_CXX:-x86_64-w64-mingw32-g++-posix}
if ! command -v "$CXX" >/dev/null 2>&1; then
  echo "windows check: $CXX not found; run scripts/install-deps.sh" >&2
  exit 2
fi
for header in SDL2/SDL.h SDL2/SDL_mixer.h SDL2/SDL_image.h GL/glew.h GLES3/gl31.h KHR/khrplatform.h \
  EGL/egl.h freetype2/ft2build.h stb/stb_image.h imgui/imgui.h imgui/backends/imgui_impl_sdl.h; do
  if [ ! -f "/usr/include/$header" ]; then
    echo "windows check: /usr/include/$header not found; run scripts/install-deps.sh" >&2
    exit 2
  fi
done

work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
inc=$work/include
mkdir -p "$inc/SDL2" "$work/out"
for dir in GL GLES3 KHR EGL; do ln -s "/usr/include/$dir" "$inc/$dir"; done

# SDL's headers include "SDL_config.h" from their own directory, and Debian's
# copy describes a Linux build (and points into the multiarch directory). The
# SDL directory is therefore mirrored header by header, with a Windows
# configuration of its own in place of that one. -fno-canonical-system-headers
# below keeps GCC from resolving the links, which would lead the quoted include
# back to /usr/include/SDL2.
for header in /usr/include/SDL2/*.h; do
  [ "${header##*/}" = SDL_config.h ] || ln -s "$header" "$inc/SDL2/"
done
cat >"$inc/SDL2/SDL_config.h" <<'EOF'
/* Just enough of a Windows SDL configuration for SDL's public headers. */
#ifndef SDL_config_h_
#define SDL_config_h_
#include "SDL_platform.h"
#define HAVE_LIBC 1
#define HAVE_STDARG_H 1
#define HAVE_STDDEF_H 1
#define HAVE_STDINT_H 1
#endif
EOF

# What the CMake build gives the targets (see CMakeLists.txt), minus the
# optimisation flags; src/game only for the game's own files.
set -- -std=c++17 -fsyntax-only -fno-canonical-system-headers -Wall -Wextra -Wpedantic -DIMGUI_IMPL_OPENGL_ES3 \
  -Isrc/framework -Isrc -I/usr/include/imgui/backends \
  -isystem "$inc/SDL2" -isystem "$inc" -isystem /usr/include/freetype2 \
  -isystem /usr/include/imgui -isystem /usr/include/stb

sources=$(find src -name '*.cpp' | LC_ALL=C sort)
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
running=0
n=0
for source in $sources; do
  n=$((n + 1))
  extra=""
  case $source in src/game/*) extra=-Isrc/game ;; esac
  (
    status=0
    "$CXX" "$@" $extra "$source" >"$work/out/$n.log" 2>&1 || status=$?
    echo "$status" >"$work/out/$n.status"
  ) &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait
    running=0
  fi
done
wait

ok=0
failed=0
n=0
for source in $sources; do
  n=$((n + 1))
  if [ "$(cat "$work/out/$n.status")" = 0 ]; then
    ok=$((ok + 1))
    # Warnings do not fail the check, but they are shown.
    if [ -s "$work/out/$n.log" ]; then cat "$work/out/$n.log" >&2; fi
  else
    failed=$((failed + 1))
    cat "$work/out/$n.log" >&2
    echo "windows check: FAILED $source"
  fi
done

if [ "$failed" -ne 0 ]; then
  echo "windows check: $failed of $n files failed, $ok ok"
  exit 1
fi
echo "windows check: $ok files ok"
