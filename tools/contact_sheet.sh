#!/bin/sh
# Lays out every picture at the sizes the game draws it, on the table colour,
# for a look at the whole set. Needs ImageMagick (montage, convert) and python3-pil.
#
#   tools/contact_sheet.sh [OUTPUT.png]      (default /tmp/contact.png)
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=${1:-/tmp/contact.png}
T="$ROOT/assets/game/textures"
FX="$ROOT/assets/framework/textures"
TABLE='#a3a7c2'
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Sprites are sampled with nearest filtering: scale with the point filter.
at() { convert "$1" -filter point -resize "$2!" "$3"; }

# A table of 20 cards at 128 px: six face down, the fourteen faces.
set --
for i in 1 2 3 4 5 6; do set -- "$@" "$T/cards/back.png"; done
for f in "$T"/cards/*.png; do [ "$(basename "$f")" = back.png ] || set -- "$@" "$f"; done
montage "$@" -tile 5x -geometry 128x128+16+8 -filter point -background "$TABLE" "$WORK/table.png"

# Cards at the other sizes the layout can give (and ~100 / 150 px).
n=0
for s in 64 96 150 256; do
    at "$T/cards/fox.png" ${s}x$s "$WORK/c$n.png"; n=$((n + 1))
    at "$T/cards/back.png" ${s}x$s "$WORK/c$n.png"; n=$((n + 1))
done
convert -background "$TABLE" "$WORK"/c[0-7].png -bordercolor "$TABLE" -border 4 -gravity center +append "$WORK/cards_sizes.png"

# The logo at the three sizes the screens use.
at "$T/logo.png" 372x140 "$WORK/l0.png"
at "$T/logo.png" 279x105 "$WORK/l1.png"
at "$T/logo.png" 186x70 "$WORK/l2.png"
convert -background "$TABLE" "$WORK/l0.png" "$WORK/l1.png" "$WORK/l2.png" -bordercolor "$TABLE" -border 6 -gravity center +append "$WORK/logos.png"

# Icons at 64, 32, 24, 16 and 8 px.
n=0
for icon in navbar esc mouse; do
    for s in 64 32 24 16 8; do
        at "$T/icons/$icon.png" ${s}x$s "$WORK/i$n.png"; n=$((n + 1))
    done
done
convert -background "$TABLE" $(for k in $(seq 0 $((n - 1))); do echo "$WORK/i$k.png"; done) \
    -bordercolor "$TABLE" -border 5 -gravity center +append "$WORK/icons.png"

# The bitmap font as the game draws it: the intro's prompt and hints at scale
# 0.5 (icons 16 px, 10 px below the caption), menu entries at 0.5 and 1.
/usr/bin/python3 - "$ROOT" "$WORK/text.png" <<'EOF'
import sys
from PIL import Image
root, out = sys.argv[1], sys.argv[2]
atlas = Image.open(root + "/assets/game/fonts/bitmap_font.png").convert("RGBA")
height, cell, widths = 0, 0, {}
for line in open(root + "/assets/game/fonts/bitmap_font.csv"):
    line = line.rstrip("\n")
    if line.startswith("Char ") and "Base Width," in line:
        widths[int(line[5:line.index("Base Width,") - 1])] = int(line.split("Base Width,")[1])
    elif line.startswith("Font Height,"):
        height = int(line[12:])
    elif line.startswith("Cell Width,"):
        cell = int(line[11:])
def text(img, s, x, y, scale, colour):
    for ch in s:
        c = ord(ch)
        glyph = atlas.crop(((c % 16) * cell, (c // 16) * cell, (c % 16 + 1) * cell, (c // 16 + 1) * cell))
        size = int(height * scale)
        glyph = glyph.resize((size, size), Image.BILINEAR)
        tint = Image.new("RGBA", glyph.size, colour)
        tint.putalpha(glyph.getchannel("A"))
        img.alpha_composite(tint, (int(x), int(y)))
        x += widths.get(c, 0) * scale
img = Image.new("RGBA", (800, 230), (163, 167, 194, 255))
w = 800
text(img, "Click to play", w // 2 - height * 0.5 * 13 * 0.25, 20, 0.5, (255, 255, 255, 255))
for name, cap, px in (("esc", "Menu", w // 2 - 125), ("mouse", "Select", w // 2 - 5)):
    icon = Image.open(root + "/assets/game/textures/icons/" + name + ".png").convert("RGBA")
    side = int(height * 0.5)
    img.alpha_composite(icon.resize((side, side), Image.NEAREST), (px, 70 + 10))
    text(img, cap, px + height * 0.5 + 5, 70, 0.5, (255, 255, 255, 255))
text(img, "Continue", 40, 120, 0.5, (255, 255, 0, 255))
text(img, "New Game", 40, 140, 0.5, (255, 255, 255, 255))
text(img, "Art - Dorvane Tamsel", 40, 160, 0.5, (255, 255, 255, 255))
text(img, "Restart  Quit Game", 300, 120, 1.0, (255, 255, 255, 255))
text(img, "0123456789 !?.,:;-+()", 300, 170, 1.0, (255, 255, 0, 255))
img.save(out)
EOF

# Effect textures (vignette over white), palette enlarged.
convert "$FX/crt/scanlines.png" -crop 64x64+0+0 -filter point -resize 128x128 "$WORK/e0.png"
convert "$FX/crt/vignette.png" -background white -flatten -resize 128x128 "$WORK/e1.png"
convert "$FX/crt/perlin.png" -resize 128x128 "$WORK/e2.png"
convert "$FX/texel_color/gameboy_colors.png" -filter point -resize 128x32! "$WORK/e3.png"
convert -background "$TABLE" "$WORK"/e[0-3].png -bordercolor "$TABLE" -border 6 -gravity center +append "$WORK/effects.png"

convert -background "$TABLE" "$WORK/logos.png" "$WORK/table.png" "$WORK/cards_sizes.png" \
    "$WORK/icons.png" "$WORK/text.png" "$WORK/effects.png" -bordercolor "$TABLE" -border 6 -gravity center -append +repage -background "$TABLE" -flatten "$OUT"
echo "$OUT"
