"""Builds the TrueType outline of each cell picture from the outlines of source fonts.

Units: the cell font has 1000 units per em. A cell picture is one em wide (two
character cells) and spans the em box from DESCENT to ASCENT; every outline
stays inside that box, so neighbouring cells and the two rows of a line never
overlap.
"""

from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont

UNITS_PER_EM = 1000
ASCENT = 880
DESCENT = -120
CELL_WIDTH = UNITS_PER_EM

# Text in slots (names, hex and decimal digits, marks): letters condensed to fill
# their slot, capitals SLOT_CAP_HEIGHT tall standing on SLOT_BASELINE, so that
# they sit in the middle of the em box.
SLOT_CAP_HEIGHT = 720
SLOT_BASELINE = 20
SLOT_MARGIN = 10  # space at each side of the cell, besides the letters' own bearings

# A single half-width character (the printable ASCII characters): natural
# proportions, centred, every character including descenders and brackets in the box.
SINGLE_SCALE = 0.90  # source em to cell em
SINGLE_BASELINE = 95

# Full-width characters: the source's ideographic em box mapped onto ours, a little smaller.
WIDE_SCALE = 0.92


class SourceFont:
    """A font whose outlines the cell pictures copy, in its own units."""

    def __init__(self, path):
        self.path = path
        self.font = TTFont(path)
        self.cmap = self.font.getBestCmap()
        self.glyphs = self.font.getGlyphSet()
        self.units_per_em = self.font["head"].unitsPerEm

    def cap_height(self):
        return self.bounds("H")[3]

    def ideographic_box(self):
        """Bottom and top of the square that full-width characters are designed in: the
        customary 0.12 em below the baseline to 0.88 em above it."""
        return -0.12 * self.units_per_em, 0.88 * self.units_per_em

    def glyph_name(self, character):
        name = self.cmap.get(ord(character))
        if name is None:
            raise KeyError("%s has no glyph for %r" % (self.path, character))
        return name

    def advance(self, character):
        return self.glyphs[self.glyph_name(character)].width

    def bounds(self, character):
        pen = BoundsPen(self.glyphs)
        self.glyphs[self.glyph_name(character)].draw(pen)
        return pen.bounds

    def draw(self, character, pen, transform):
        self.glyphs[self.glyph_name(character)].draw(TransformPen(pen, transform))


class Composer:
    """Turns a glyph_table.Picture into a glyf table glyph."""

    def __init__(self, latin, wide):
        self.latin = latin  # monospaced font for letters, digits and signs
        self.wide = wide  # font with the full-width katakana and Japanese punctuation

    def glyph(self, picture):
        pen = TTGlyphPen(None)
        if picture.kind == "slots":
            self._draw_slots(picture.text, picture.weights or (1,) * len(picture.text), pen)
        elif picture.kind == "single":
            self._draw_single(picture.text, pen)
        elif picture.kind == "wide":
            self._draw_wide(picture.text, pen)
        elif picture.kind != "blank":
            raise ValueError("unknown picture kind %r" % picture.kind)
        return pen.glyph()

    def _draw_slots(self, text, weights, pen):
        font = self.latin
        unit = (CELL_WIDTH - 2 * SLOT_MARGIN) / sum(weights)
        scale_y = SLOT_CAP_HEIGHT / font.cap_height()
        left = SLOT_MARGIN
        for character, weight in zip(text, weights):
            slot_width = weight * unit
            if character != " ":
                scale_x = slot_width / font.advance(character)
                font.draw(character, pen, (scale_x, 0, 0, scale_y, left, SLOT_BASELINE))
            left += slot_width

    def _draw_single(self, character, pen):
        font = self.latin
        scale = SINGLE_SCALE * UNITS_PER_EM / font.units_per_em
        left = (CELL_WIDTH - font.advance(character) * scale) / 2
        font.draw(character, pen, (scale, 0, 0, scale, left, SINGLE_BASELINE))

    def _draw_wide(self, character, pen):
        font = self.wide
        scale = WIDE_SCALE * UNITS_PER_EM / font.units_per_em
        # The source's em box, centred on its own middle, lands centred on ours.
        box_bottom, box_top = font.ideographic_box()
        source_middle_y = (box_bottom + box_top) / 2
        left = (CELL_WIDTH - font.advance(character) * scale) / 2
        bottom = (ASCENT + DESCENT) / 2 - source_middle_y * scale
        font.draw(character, pen, (scale, 0, 0, scale, left, bottom))
