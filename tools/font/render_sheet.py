#!/usr/bin/python3
"""Renders every glyph of the cell font to PNG sheets, to look at them.

One sheet at the screen size (glyph height 20 px in 23 px cells) and one at
print size (glyph height 3.8 mm at 600 dpi, 90 px in 104 px cells), each with
the glyph sets as tables and a few lines as the data view shows them. Needs
Debian's python3-pil. Usage:

    tools/font/render_sheet.py [--font resources/fonts/SFgg1.ttf] [--output-dir DIR]
"""

import argparse
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

import glyph_table as gt

REPOSITORY = Path(__file__).resolve().parents[2]
LABEL_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

SD = (70, 255, 70)
RD = (32, 244, 244)
ERROR = (240, 128, 240)
IDLE = (240, 240, 140)
STAMP = (196, 196, 196)
MARK = (224, 224, 224)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def sections():
    """(title, columns, [(label, code, background)]) for each table on the sheet."""
    names = [("%02X" % v, gt.character_name_code(v), SD) for v in range(256)]
    hexes = [("%02X" % v, gt.hexadecimal_code(v), RD) for v in range(256)]
    digits = [
        ("%d/%d" % (style, digit), gt.digit_code(style, digit), STAMP)
        for style in range(8)
        for digit in range(10)
    ]
    marks = [
        ("%d" % value, gt.mark_code(value), ERROR if value < 5 else MARK)
        for value in sorted(gt.mark_pictures())
    ]
    numbers = [("%02d" % n, gt.two_digit_code(n), IDLE) for n in range(100)]
    inputs = [
        ("%02X" % v, gt.input_code(v), SD)
        for v in list(range(0x80, 0xA1)) + list(range(0xE0, 0x100))
    ]
    special = [("empty", gt.EMPTY_CELL, MARK), ("large", gt.TOO_LARGE, IDLE)]
    return [
        ("glyph set 0: character names", 16, names),
        ("glyph set 2: hexadecimal", 16, hexes),
        ("glyph set 3: style/digit", 10, digits),
        ("glyph set 4: marks", 16, marks),
        ("glyph set 5: two-digit numbers", 10, numbers),
        ("input codes of 80-A0 and E0-FF", 16, inputs),
        ("empty cell (drawn grey here), too large", 16, special),
    ]


def sample_lines():
    """Rows as the data view shows them: lists of (code, background)."""
    name = gt.character_name_code
    text = b"Hello, World!\r\n"
    sd = [(name(c), SD) for c in text] + [(gt.mark_code(1), ERROR)]
    rd = [(name(c), RD) for c in b"\x06\x02ABC-123\xb1\xb2\xb3\xde\x03\x1b"]
    hex_row = [(gt.hexadecimal_code(c), RD) for c in b"\x06\x02ABC-123\xb1\xb2\xb3\xde"]
    idle_label = [(gt.mark_code(16), IDLE), (gt.mark_code(17), IDLE), (name(0x20), IDLE)]
    idle_value = [
        (gt.two_digit_code(12), IDLE),
        (gt.digit_code(1, 3), IDLE),
        (gt.two_digit_code(45), IDLE),
    ]
    too_large = [(gt.TOO_LARGE, IDLE), (gt.digit_code(1, 3), IDLE), (gt.two_digit_code(45), IDLE)]
    stamp_upper = [
        (gt.two_digit_code(24), STAMP),
        (gt.digit_code(3, 0), STAMP),
        (gt.digit_code(2, 1), STAMP),
        (gt.two_digit_code(15), STAMP),
    ]
    stamp_lower = [
        (gt.two_digit_code(13), STAMP),
        (gt.digit_code(5, 2), STAMP),
        (gt.digit_code(4, 5), STAMP),
        (gt.two_digit_code(7), STAMP),
    ]
    return [
        sd,
        rd,
        hex_row,
        idle_label + stamp_upper,
        idle_value + stamp_lower,
        too_large,
    ]


class Sheet:
    def __init__(self, font_path, glyph_px, cell_px, label_px):
        self.font = ImageFont.truetype(str(font_path), glyph_px)
        self.label_font = ImageFont.truetype(LABEL_FONT, label_px)
        self.glyph_px = glyph_px
        self.cell_px = cell_px
        self.label_px = label_px

    def render(self):
        blocks = [(title, columns, items) for title, columns, items in sections()]
        margin = self.cell_px
        width = margin * 2 + 16 * self.cell_px
        row_height = self.glyph_px + self.label_px + 4
        height = margin
        for _, columns, items in blocks:
            height += self.label_px * 2 + row_height * -(-len(items) // columns)
        lines = sample_lines()
        height += self.label_px * 2 + len(lines) * self.glyph_px + margin
        image = Image.new("RGB", (width, height), WHITE)
        draw = ImageDraw.Draw(image)
        y = margin
        for title, columns, items in blocks:
            draw.text((margin, y), title, font=self.label_font, fill=BLACK)
            y += self.label_px * 2
            for index, (label, code, background) in enumerate(items):
                x = margin + (index % columns) * self.cell_px
                top = y + (index // columns) * row_height
                draw.text((x, top), label, font=self.label_font, fill=(90, 90, 90))
                self.cell(draw, x, top + self.label_px + 2, code, background)
            y += row_height * -(-len(items) // columns)
        draw.text((margin, y), "as in the data view", font=self.label_font, fill=BLACK)
        y += self.label_px * 2
        for line in lines:
            for column, (code, background) in enumerate(line):
                self.cell(draw, margin + column * self.cell_px, y, code, background)
            y += self.glyph_px  # the rows of a line touch, as SD and RD rows do
        return image

    def cell(self, draw, x, y, code, background):
        draw.rectangle(
            [x, y, x + self.glyph_px - 1, y + self.glyph_px - 1], fill=background
        )
        draw.text((x, y), gt.code_character(code), font=self.font, fill=BLACK)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--font", type=Path, default=REPOSITORY / "resources/fonts/SFgg1.ttf")
    parser.add_argument("--output-dir", type=Path, default=REPOSITORY / "build-font-sheet")
    args = parser.parse_args()
    args.output_dir.mkdir(parents=True, exist_ok=True)
    for name, glyph_px, cell_px, label_px in (
        ("sheet-20px.png", 20, 23, 8),
        ("sheet-print.png", 90, 104, 22),
    ):
        path = args.output_dir / name
        Sheet(args.font, glyph_px, cell_px, label_px).render().save(path)
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
