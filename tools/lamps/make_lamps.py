#!/usr/bin/python3
"""Draws the status bar's line lamps into resources/lamps/.

Each lamp is 15 x 15 pixels on magenta (255, 0, 255), the colour the status bar makes
transparent. Every state has its own shape, not only its own colour, so that the lamps read at
a glance and without colour vision:

    on       a lit lamp: bright disc with a highlight inside a dark rim
    off      an unlit lamp: dark disc inside a ring of the lamp's colour
    unknown  a white disc with a question mark inside a dark rim
    inactive a flat grey disc with a bar (not connected)

Green is the send side, aqua the receive side. The disc is drawn at 8 times the size and scaled
down; pixels less than half covered become magenta, so no pink fringe is left. Run it with a
Python that has Pillow; the PNG files it writes are committed, so building the program needs no
Python.
"""
from pathlib import Path

from PIL import Image, ImageDraw

OUT = Path(__file__).resolve().parents[2] / "resources" / "lamps"
SIZE = 15
SCALE = 8
MAGENTA = (255, 0, 255)

FAMILIES = {
    "send": {"lit": (40, 230, 40), "glow": (190, 255, 190), "dark": (20, 70, 20), "ring": (20, 150, 20)},
    "receive": {"lit": (20, 225, 235), "glow": (200, 255, 255), "dark": (10, 64, 72), "ring": (0, 140, 150)},
}
GREY = {"fill": (190, 190, 190), "edge": (120, 120, 120), "bar": (110, 110, 110)}
INK = (30, 30, 30)

# A question mark on the 15 x 15 grid, one string per row from row 3.
QUESTION = [
    ".....###.....",
    "....#...#....",
    "........#....",
    ".......#.....",
    "......#......",
    "......#......",
    ".............",
    "......#......",
]


def disc(paint):
    """Draws with PAINT(draw, big) on the large canvas and returns the 15 x 15 picture."""
    big = Image.new("RGBA", (SIZE * SCALE, SIZE * SCALE), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), SIZE * SCALE)
    small = big.resize((SIZE, SIZE), Image.LANCZOS)
    out = Image.new("RGB", (SIZE, SIZE), MAGENTA)
    for y in range(SIZE):
        for x in range(SIZE):
            r, g, b, a = small.getpixel((x, y))
            if a >= 128:
                out.putpixel((x, y), (r, g, b))
    return out


def circle(d, big, inset, **style):
    m = inset * SCALE
    d.ellipse((m, m, big - m - 1, big - m - 1), **style)


def lamp_on(colours):
    def paint(d, big):
        circle(d, big, 0.5, fill=colours["dark"])
        circle(d, big, 1.5, fill=colours["lit"])
        d.ellipse((4 * SCALE, 3 * SCALE, 8 * SCALE, 7 * SCALE), fill=colours["glow"])
    return disc(paint)


def lamp_off(colours):
    def paint(d, big):
        circle(d, big, 0.5, fill=colours["ring"])
        circle(d, big, 2.5, fill=colours["dark"])
    return disc(paint)


def lamp_unknown(colours):
    def paint(d, big):
        circle(d, big, 0.5, fill=colours["dark"])
        circle(d, big, 2.0, fill=(250, 250, 250))
    picture = disc(paint)
    for row, line in enumerate(QUESTION):
        for column, mark in enumerate(line):
            if mark == "#":
                picture.putpixel((column + 1, row + 3), INK)
    return picture


def lamp_inactive():
    def paint(d, big):
        circle(d, big, 0.5, fill=GREY["edge"])
        circle(d, big, 1.5, fill=GREY["fill"])
        d.rectangle((4 * SCALE, 7 * SCALE, 11 * SCALE - 1, 8 * SCALE - 1), fill=GREY["bar"])
    return disc(paint)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    pictures = {"lamp_inactive": lamp_inactive(), "lamp_blank": Image.new("RGB", (1, SIZE), MAGENTA)}
    for family, colours in FAMILIES.items():
        pictures["lamp_%s_on" % family] = lamp_on(colours)
        pictures["lamp_%s_off" % family] = lamp_off(colours)
        pictures["lamp_%s_unknown" % family] = lamp_unknown(colours)
    for name, picture in pictures.items():
        picture.save(OUT / (name + ".png"), optimize=True)
    # /tmp/lamp-sheet.png: the lamps eight times the size, to look at after a change.
    sheet = Image.new("RGB", (len(pictures) * 20 * 8, 20 * 8), (240, 240, 240))
    for k, picture in enumerate(pictures.values()):
        sheet.paste(picture.resize((picture.width * 8, SIZE * 8), Image.NEAREST), (k * 160 + 20, 20))
    sheet.save(Path("/tmp") / "lamp-sheet.png")


if __name__ == "__main__":
    main()
