#!/usr/bin/python3
"""Draws the game's pictures: 14 card faces, the card back, the logo and the icons.

Usage: make_pictures.py REPO_ROOT

Everything is drawn on a grid of "art pixels" and enlarged ARTPX times by pixel
repetition, so all pictures share one pixel size and stay sharp under the
nearest filtering the game uses. The card faces take their pictures from Noto
Color Emoji (rendered by Pillow at the font's bitmap size 109), shrunk to the
art grid with hard edges and mapped onto the same palette the rest uses.

Nothing random is used; the same inputs give the same files.
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

ARTPX = 4  # screen pixels per art pixel at the pictures' native size

EMOJI_FONT = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
EMOJI_SIZE = 109  # the only bitmap strike the colour font carries

# The palette. The four greens are the Game Boy shades the palette effect
# uses; the darkest one outlines everything. The rest covers the emoji.
OUTLINE = (15, 56, 15)
GREEN_DARK = (48, 98, 48)
GREEN = (139, 172, 15)
GREEN_LIGHT = (155, 188, 15)
CREAM = (246, 240, 222)
CREAM_SHADE = (218, 207, 178)
PALETTE = [
    OUTLINE, GREEN_DARK, GREEN, GREEN_LIGHT, CREAM, CREAM_SHADE,
    (255, 255, 255), (176, 176, 184), (112, 112, 124), (60, 60, 70), (24, 24, 30),
    (236, 52, 52), (164, 28, 40), (255, 138, 128),
    (250, 150, 36), (200, 96, 24),
    (255, 216, 56), (222, 164, 24), (255, 240, 150),
    (140, 88, 44), (92, 56, 30),
    (246, 160, 196), (214, 86, 150),
    (162, 98, 214), (96, 58, 150),
    (64, 142, 236), (30, 78, 168), (110, 172, 232), (156, 214, 255),
    (255, 204, 160),
    (84, 196, 60), (34, 120, 44),
]

# Card faces: key index -> (file name, emoji). Chosen to differ in colour and
# in outline so a pair is recognised at a glance.
FACES = [
    ("apple", "\U0001F34E"),
    ("banana", "\U0001F34C"),
    ("grapes", "\U0001F347"),
    ("watermelon", "\U0001F349"),
    ("mushroom", "\U0001F344"),
    ("frog", "\U0001F438"),
    ("penguin", "\U0001F427"),
    ("octopus", "\U0001F419"),
    ("fox", "\U0001F98A"),
    ("star", "\u2B50"),
    ("gem", "\U0001F48E"),
    ("rocket", "\U0001F680"),
    ("rainbow", "\U0001F308"),
    ("whale", "\U0001F433"),
]

CARD = 32  # card side in art pixels (128 screen pixels)
PICTURE = 22  # emoji side in art pixels before its outline
PICTURE_COLOURS = 10  # flat colours per emoji before mapping onto the palette


def palette_image():
    flat = []
    for colour in PALETTE:
        flat.extend(colour)
    flat.extend(PALETTE[0] * (256 - len(PALETTE)))
    pal = Image.new("P", (1, 1))
    pal.putpalette(flat)
    return pal


def to_palette(img):
    """Maps an RGBA picture onto the palette without dithering; alpha is kept."""
    alpha = img.getchannel("A")
    rgb = img.convert("RGB").quantize(palette=palette_image(), dither=Image.Dither.NONE)
    out = rgb.convert("RGBA")
    out.putalpha(alpha)
    return out


def enlarge(img, factor=ARTPX):
    return img.resize((img.width * factor, img.height * factor), Image.NEAREST)


def outline(img, colour=OUTLINE):
    """Adds a one-pixel outline around the opaque pixels (4-neighbourhood)."""
    w, h = img.size
    src = img.load()
    out = img.copy()
    dst = out.load()
    for y in range(h):
        for x in range(w):
            if src[x, y][3]:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < w and 0 <= ny < h and src[nx, ny][3]:
                    dst[x, y] = colour + (255,)
                    break
    return out


def emoji_sprite(char, side):
    """The emoji on a side x side grid with hard edges, in the palette, outlined."""
    font = ImageFont.truetype(EMOJI_FONT, EMOJI_SIZE)
    canvas = Image.new("RGBA", (160, 160), (0, 0, 0, 0))
    ImageDraw.Draw(canvas).text((80, 80), char, font=font, embedded_color=True, anchor="mm")
    canvas = canvas.crop(canvas.getbbox())
    inner = side - 2
    scale = inner / max(canvas.size)
    size = (max(1, round(canvas.width * scale)), max(1, round(canvas.height * scale)))
    # Area averaging, then a few flat colours of the picture's own, then the
    # nearest palette colours: flat areas instead of speckles where a shade
    # falls between two palette entries.
    small = canvas.resize(size, Image.BOX)
    # Hard edges: a pixel is either part of the picture or not.
    alpha = small.getchannel("A").point(lambda a: 255 if a >= 110 else 0)
    flat = small.convert("RGB").quantize(colors=PICTURE_COLOURS, method=Image.Quantize.MEDIANCUT,
                                         dither=Image.Dither.NONE).convert("RGBA")
    flat.putalpha(alpha)
    small = to_palette(flat)
    boxed = Image.new("RGBA", (side, side), (0, 0, 0, 0))
    boxed.alpha_composite(small, ((side - size[0]) // 2, (side - size[1]) // 2))
    return outline(boxed)


def card_blank(body, shade, ring):
    """The card shape: rounded outline, body colour, an inner ring, a shaded lower edge."""
    img = Image.new("RGBA", (CARD, CARD), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    last = CARD - 1
    d.rectangle((0, 0, last, last), fill=OUTLINE + (255,))
    d.rectangle((1, 1, last - 1, last - 1), fill=body + (255,))
    # Shaded bottom and right inner edge give the card some thickness.
    d.line((1, last - 1, last - 1, last - 1), fill=shade + (255,))
    d.line((last - 1, 1, last - 1, last - 1), fill=shade + (255,))
    d.rectangle((2, 2, last - 3, last - 3), outline=ring + (255,))
    # Rounded corners: cut the corner pixel, pull the outline in by one.
    for cx, cy, sx, sy in ((0, 0, 1, 1), (last, 0, -1, 1), (0, last, 1, -1), (last, last, -1, -1)):
        img.putpixel((cx, cy), (0, 0, 0, 0))
        img.putpixel((cx + sx, cy + sy), OUTLINE + (255,))
    return img


def card_face(char):
    img = card_blank(CREAM, CREAM_SHADE, GREEN_LIGHT)
    sprite = emoji_sprite(char, PICTURE + 2)
    offset = (CARD - sprite.width) // 2
    img.alpha_composite(sprite, (offset, offset))
    return enlarge(img)


def card_back():
    img = card_blank(GREEN_DARK, OUTLINE, GREEN)
    px = img.load()
    # Diamond lattice inside the ring.
    for y in range(3, CARD - 3):
        for x in range(3, CARD - 3):
            if (x + y) % 6 == 0 or (x - y) % 6 == 0:
                px[x, y] = GREEN + (255,)
    # A centred medallion with a question mark: the card hides its picture.
    d = ImageDraw.Draw(img)
    c0, c1 = 9, CARD - 10
    d.rectangle((c0, c0, c1, c1), fill=OUTLINE + (255,))
    d.rectangle((c0 + 1, c0 + 1, c1 - 1, c1 - 1), fill=GREEN_LIGHT + (255,))
    for cx, cy in ((c0, c0), (c1, c0), (c0, c1), (c1, c1)):
        px[cx, cy] = GREEN_DARK + (255,)
    question = [
        ".####.",
        "##..##",
        "....##",
        "...##.",
        "..##..",
        "..##..",
        "......",
        "..##..",
    ]
    qx = (CARD - len(question[0])) // 2
    qy = (CARD - len(question)) // 2
    for j, row in enumerate(question):
        for i, ch in enumerate(row):
            if ch == "#":
                px[qx + i, qy + j] = OUTLINE + (255,)
    return enlarge(img)


# Letter shapes for the logo, drawn for it. The title letters are enlarged
# twice again (two-pixel strokes); the subtitle letters are used as they are.
TITLE_LETTERS = {
    "Z": ["#####", "....#", "...##", "..##.", "..#..", ".##..", "##...", "#....", "#####"],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "N": ["#...#", "##..#", "##..#", "#.#.#", "#.#.#", "#.#.#", "#..##", "#..##", "#...#"],
    "E": ["#####", "#....", "#....", "#....", "####.", "#....", "#....", "#....", "#####"],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
}
SMALL_LETTERS = {
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
}


def letters_mask(text, letters, scale, spacing, space):
    """The text set in the given letter shapes as an L mask."""
    height = len(next(iter(letters.values()))) * scale
    width = 0
    for i, ch in enumerate(text):
        width += space if ch == " " else len(letters[ch][0]) * scale
        if i + 1 < len(text) and ch != " " and text[i + 1] != " ":
            width += spacing
    mask = Image.new("L", (width, height), 0)
    x = 0
    for i, ch in enumerate(text):
        if ch == " ":
            x += space
            continue
        rows = letters[ch]
        for j, row in enumerate(rows):
            for k, c in enumerate(row):
                if c == "#":
                    mask.paste(255, (x + k * scale, j * scale, x + (k + 1) * scale, (j + 1) * scale))
        x += len(rows[0]) * scale
        if i + 1 < len(text) and text[i + 1] != " ":
            x += spacing
    return mask


def stamp(img, mask, pos, fill, fill_low=None):
    """Draws the mask in `fill` (its lower half in `fill_low` when given),
    outlined, with the outline thickened to the lower right as a drop shadow."""
    w, h = mask.size
    face = Image.new("RGBA", mask.size, fill + (255,))
    if fill_low is not None:
        face.paste(fill_low + (255,), (0, h // 2, w, h))
    solid = Image.new("RGBA", (w + 2, h + 2), (0, 0, 0, 0))
    solid.paste(face, (1, 1), mask)
    solid = outline(solid)
    layer = Image.new("RGBA", (w + 3, h + 3), (0, 0, 0, 0))
    shadow = Image.new("RGBA", solid.size, OUTLINE + (255,))
    layer.paste(shadow, (1, 1), solid)
    layer.alpha_composite(solid)
    img.alpha_composite(layer, (pos[0] - 1, pos[1] - 1))


def mini_card(face_down):
    """An 8 x 11 card for the logo: one face down, one showing a star."""
    w, h = 8, 11
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, h - 1), fill=OUTLINE + (255,))
    body = GREEN_DARK if face_down else CREAM
    d.rectangle((1, 1, w - 2, h - 2), fill=body + (255,))
    for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        img.putpixel((x, y), (0, 0, 0, 0))
    px = img.load()
    if face_down:
        # The big back's medallion in small: a light diamond on the dark body.
        for j, row in enumerate(["..#..", ".###.", "##.##", ".###.", "..#.."]):
            for i, ch in enumerate(row):
                if ch == "#":
                    px[(w - 5) // 2 + i, 3 + j] = GREEN_LIGHT + (255,)
    else:
        star = [
            "..#..",
            ".###.",
            "#####",
            ".###.",
            ".#.#.",
        ]
        for j, row in enumerate(star):
            for i, ch in enumerate(row):
                if ch == "#":
                    px[(w - 5) // 2 + i, 3 + j] = (255, 216, 56, 255)
    return img


def logo():
    """93 x 35 art pixels: ZINNET between two small cards, MEMORY GAME below."""
    img = Image.new("RGBA", (93, 35), (0, 0, 0, 0))
    title = letters_mask("ZINNET", TITLE_LETTERS, scale=2, spacing=3, space=0)
    subtitle = letters_mask("MEMORY GAME", SMALL_LETTERS, scale=1, spacing=1, space=4)
    title_x = (img.width - title.width) // 2
    stamp(img, title, (title_x, 3), GREEN_LIGHT, fill_low=GREEN)
    stamp(img, subtitle, ((img.width - subtitle.width) // 2, 26), CREAM)
    left = mini_card(face_down=True)
    right = mini_card(face_down=False)
    top = 3 + (title.height - left.height) // 2
    img.alpha_composite(left, (0, top))
    img.alpha_composite(right, (img.width - right.width, top))
    return enlarge(img)


def icon_canvas():
    return Image.new("RGBA", (16, 16), (0, 0, 0, 0))


def rounded_box(d, box, fill, edge=OUTLINE):
    x0, y0, x1, y1 = box
    d.rectangle(box, fill=edge + (255,))
    d.rectangle((x0 + 1, y0 + 1, x1 - 1, y1 - 1), fill=fill + (255,))
    for x, y in ((x0, y0), (x1, y0), (x0, y1), (x1, y1)):
        d.point((x, y), fill=(0, 0, 0, 0))


def icon_navbar():
    """The menu button: three bars on a green button."""
    img = icon_canvas()
    d = ImageDraw.Draw(img)
    rounded_box(d, (0, 0, 15, 15), GREEN_DARK)
    d.line((1, 14, 14, 14), fill=OUTLINE + (255,))
    d.line((14, 1, 14, 14), fill=OUTLINE + (255,))
    for y in (4, 7, 10):
        d.rectangle((4, y, 11, y + 1), fill=CREAM + (255,))
    return enlarge(img)


def icon_esc():
    """A key cap labelled ESC."""
    img = icon_canvas()
    d = ImageDraw.Draw(img)
    rounded_box(d, (0, 1, 15, 14), CREAM_SHADE)
    d.rectangle((2, 2, 13, 11), fill=CREAM + (255,))
    letters = {
        "E": ["###", "#..", "##.", "#..", "###"],
        "S": [".##", "#..", ".#.", "..#", "##."],
        "C": [".##", "#..", "#..", "#..", ".##"],
    }
    x = 2
    for ch in "ESC":
        for j, row in enumerate(letters[ch]):
            for i, c in enumerate(row):
                if c == "#":
                    d.point((x + i, 4 + j), fill=OUTLINE + (255,))
        x += 4
    return enlarge(img)


def icon_mouse():
    """A mouse with its left button lit: the button that selects."""
    img = icon_canvas()
    d = ImageDraw.Draw(img)
    # Cord.
    d.line((8, 0, 8, 2), fill=OUTLINE + (255,))
    body = [
        "...######...",
        "..#GGGG#..#.",
        ".#GGGGG#...#",
        ".#GGGGG#...#",
        ".#GGGGG#...#",
        ".##########.",
        ".#.........#",
        ".#.........#",
        ".#.........#",
        ".#.........#",
        "..#.......#.",
        "...#######..",
    ]
    ox, oy = 2, 3
    for j, row in enumerate(body):
        for i, ch in enumerate(row):
            if ch == "#":
                img.putpixel((ox + i, oy + j), OUTLINE + (255,))
            elif ch == "G":
                img.putpixel((ox + i, oy + j), GREEN_LIGHT + (255,))
    # Fill the rest of the body with cream.
    for j, row in enumerate(body):
        inside = [i for i, ch in enumerate(row) if ch == "#"]
        if len(inside) < 2:
            continue
        for i in range(inside[0] + 1, inside[-1]):
            if row[i] == ".":
                img.putpixel((ox + i, oy + j), CREAM + (255,))
    return enlarge(img)


def save(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, format="PNG", optimize=False, compress_level=9)


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: make_pictures.py REPO_ROOT\n")
        return 2
    root = sys.argv[1]
    textures = os.path.join(root, "assets", "game", "textures")
    for name, char in FACES:
        save(card_face(char), os.path.join(textures, "cards", name + ".png"))
    save(card_back(), os.path.join(textures, "cards", "back.png"))
    save(logo(), os.path.join(textures, "logo.png"))
    save(icon_navbar(), os.path.join(textures, "icons", "navbar.png"))
    save(icon_esc(), os.path.join(textures, "icons", "esc.png"))
    save(icon_mouse(), os.path.join(textures, "icons", "mouse.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
