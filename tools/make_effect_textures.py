#!/usr/bin/python3
"""Draws the post-processing effects' textures.

Usage: make_effect_textures.py REPO_ROOT

  crt/scanlines.png            256 x 256, opaque; even rows white, odd rows
                               black; tiles in both directions
  crt/vignette.png             256 x 256, black whose alpha is 0 in the middle
                               and rises smoothly to the corners
  crt/perlin.png               256 x 256, opaque grey Perlin noise (four
                               octaves) that tiles in both directions
  texel_color/gameboy_colors.png
                               4 x 1, the Game Boy shades, darkest first

The noise uses its own fixed-seed generator, so every run writes the same files.
"""

import math
import os
import sys

from PIL import Image

SIZE = 256
GAMEBOY = [(0x0F, 0x38, 0x0F), (0x30, 0x62, 0x30), (0x8B, 0xAC, 0x0F), (0x9B, 0xBC, 0x0F)]
NOISE_SEED = 0x5EED1234
NOISE_OCTAVES = [(4, 1.0), (8, 0.5), (16, 0.25), (32, 0.125)]  # (cells across, weight)


def scanlines():
    img = Image.new("RGBA", (SIZE, SIZE))
    px = img.load()
    for y in range(SIZE):
        v = 255 if y % 2 == 0 else 0
        for x in range(SIZE):
            px[x, y] = (v, v, v, 255)
    return img


def smoothstep(e0, e1, x):
    t = min(1.0, max(0.0, (x - e0) / (e1 - e0)))
    return t * t * (3.0 - 2.0 * t)


def vignette():
    img = Image.new("RGBA", (SIZE, SIZE))
    px = img.load()
    for y in range(SIZE):
        for x in range(SIZE):
            dx = (x + 0.5) / SIZE - 0.5
            dy = (y + 0.5) / SIZE - 0.5
            d = math.sqrt(dx * dx + dy * dy) / math.sqrt(0.5)  # 1 in the corners
            a = round(255 * smoothstep(0.55, 1.05, d))
            px[x, y] = (0, 0, 0, a)
    return img


class XorShift32:
    """A tiny generator of our own, so the noise does not depend on the
    random module of a particular Python version."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF or 1

    def next(self):
        s = self.state
        s ^= (s << 13) & 0xFFFFFFFF
        s ^= s >> 17
        s ^= (s << 5) & 0xFFFFFFFF
        self.state = s
        return s


def gradients(rng, cells):
    grid = []
    for _ in range(cells * cells):
        angle = (rng.next() / 4294967296.0) * 2.0 * math.pi
        grid.append((math.cos(angle), math.sin(angle)))
    return grid


def fade(t):
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0)


def perlin_octave(grid, cells, u, v):
    """Classic gradient noise at (u, v) in cell units; the lattice wraps at
    `cells`, which makes the texture tile."""
    x0 = int(math.floor(u))
    y0 = int(math.floor(v))
    fx = u - x0
    fy = v - y0

    def dot(ix, iy, dx, dy):
        g = grid[(iy % cells) * cells + (ix % cells)]
        return g[0] * dx + g[1] * dy

    n00 = dot(x0, y0, fx, fy)
    n10 = dot(x0 + 1, y0, fx - 1.0, fy)
    n01 = dot(x0, y0 + 1, fx, fy - 1.0)
    n11 = dot(x0 + 1, y0 + 1, fx - 1.0, fy - 1.0)
    sx = fade(fx)
    sy = fade(fy)
    a = n00 + (n10 - n00) * sx
    b = n01 + (n11 - n01) * sx
    return a + (b - a) * sy


def perlin():
    rng = XorShift32(NOISE_SEED)
    octaves = [(cells, weight, gradients(rng, cells)) for cells, weight in NOISE_OCTAVES]
    values = []
    for y in range(SIZE):
        for x in range(SIZE):
            total = 0.0
            for cells, weight, grid in octaves:
                total += weight * perlin_octave(grid, cells, x * cells / SIZE, y * cells / SIZE)
            values.append(total)
    lo = min(values)
    hi = max(values)
    img = Image.new("RGBA", (SIZE, SIZE))
    img.putdata([(g, g, g, 255) for g in (round(255 * (v - lo) / (hi - lo)) for v in values)])
    return img


def gameboy_colors():
    img = Image.new("RGBA", (len(GAMEBOY), 1))
    img.putdata([c + (255,) for c in GAMEBOY])
    return img


def save(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, format="PNG", optimize=False, compress_level=9)


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: make_effect_textures.py REPO_ROOT\n")
        return 2
    textures = os.path.join(sys.argv[1], "assets", "framework", "textures")
    save(scanlines(), os.path.join(textures, "crt", "scanlines.png"))
    save(vignette(), os.path.join(textures, "crt", "vignette.png"))
    save(perlin(), os.path.join(textures, "crt", "perlin.png"))
    save(gameboy_colors(), os.path.join(textures, "texel_color", "gameboy_colors.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
