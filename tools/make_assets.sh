#!/bin/sh
# Regenerates every generated asset of the game and the framework from the
# Debian packages listed in tools/README.md. Installs nothing.
#
#   tools/make_assets.sh            run from anywhere inside the repository
#
# The outputs are deterministic: running it on a clean checkout leaves
# `git status assets/` empty.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
PY=/usr/bin/python3
DOTGOTHIC=/usr/share/fonts/truetype/dotgothic16/DotGothic16-Regular.ttf
EMOJI=/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf

need() {
    if [ ! -e "$1" ]; then
        echo "make_assets: missing $1 (Debian package $2)" >&2
        exit 1
    fi
}
need_cmd() {
    if ! command -v "$1" >/dev/null 2>&1; then
        echo "make_assets: missing command $1 (Debian package $2)" >&2
        exit 1
    fi
}
need "$DOTGOTHIC" fonts-dotgothic16
need "$EMOJI" fonts-noto-color-emoji
need "$PY" python3
need /usr/include/stb/stb_image_write.h libstb-dev
need_cmd g++ g++
need_cmd pkg-config pkg-config
need_cmd sox sox
"$PY" -c "import PIL" 2>/dev/null || { echo "make_assets: missing python3-pil" >&2; exit 1; }
"$PY" -c "import fontTools" 2>/dev/null || { echo "make_assets: missing python3-fonttools" >&2; exit 1; }
pkg-config --exists freetype2 || { echo "make_assets: missing libfreetype-dev" >&2; exit 1; }

FONTS="$ROOT/assets/game/fonts"
SOUNDS="$ROOT/assets/game/sounds"
mkdir -p "$FONTS" "$SOUNDS"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

echo "fonts"
# Latin-only subset: the full font is 4.4 MB of Japanese glyphs. Every name
# record is kept so the copyright and licence travel with the file.
"$PY" -m fontTools.subset "$DOTGOTHIC" \
    --unicodes=U+0020-007E,U+00A0-00FF \
    --name-IDs='*' --name-legacy --name-languages='*' \
    --output-file="$FONTS/ThaleahFat.ttf"

g++ -std=c++17 -O2 -Wall -Wextra -Wpedantic -isystem /usr/include/stb \
    "$ROOT/tools/make_bitmap_font.cpp" -o "$WORK/make_bitmap_font" \
    $(pkg-config --cflags --libs freetype2)
"$WORK/make_bitmap_font" "$FONTS/ThaleahFat.ttf" "$FONTS/bitmap_font.png" "$FONTS/bitmap_font.csv" 16 2

echo "pictures"
"$PY" "$ROOT/tools/make_pictures.py" "$ROOT"

echo "effect textures"
"$PY" "$ROOT/tools/make_effect_textures.py" "$ROOT"

echo "sounds"
sh "$ROOT/tools/make_sounds.sh" "$SOUNDS"

echo "done"
