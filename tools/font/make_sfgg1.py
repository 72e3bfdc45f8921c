#!/usr/bin/python3
"""Writes the cell font resources/fonts/SFgg1.ttf (family "SFgg1").

Each glyph code of the data view and of the character input dialog is a two-byte
Shift-JIS code; the program decodes it with a code page 932 decoder and draws the
character in this font. The font therefore maps each picture at the Unicode
character of its code, and every picture is one em (two character cells) wide.

Needs Debian's python3-fonttools, fonts-dejavu-core and fonts-droid-fallback;
iconv (libc-bin) for the decoder check. Usage:

    tools/font/make_sfgg1.py [--output resources/fonts/SFgg1.ttf]
"""

import argparse
import subprocess
import sys
from pathlib import Path

from fontTools.fontBuilder import FontBuilder
from fontTools.misc.timeTools import timestampFromString
from fontTools.ttLib import newTable
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.tables.O_S_2f_2 import Panose

import glyph_table
import outlines

REPOSITORY = Path(__file__).resolve().parents[2]
DEFAULT_OUTPUT = REPOSITORY / "resources" / "fonts" / "SFgg1.ttf"
LATIN_SOURCE = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"
WIDE_SOURCE = "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf"

FAMILY = "SFgg1"
VERSION = "1.200"
BUILD_DATE = "Thu Dec 10 00:00:00 2026"
COPYRIGHT = (
    "Cell font of Varnolt. Letters, digits and signs from DejaVu Sans Mono "
    "(Copyright (c) 2003 by Bitstream, Inc. All Rights Reserved. Bitstream Vera is a "
    "trademark of Bitstream, Inc. DejaVu changes are in public domain); "
    "katakana from Droid Sans Fallback (Copyright (c) 2006-2010 Google Corp.)."
)
LICENSE = (
    "Glyphs from DejaVu Sans Mono: Bitstream Vera Fonts license (derived font, "
    "renamed). Glyphs from Droid Sans Fallback: Apache License, Version 2.0. "
    "See resources/fonts/SFgg1.LICENSE.txt."
)
# OS/2 code page bits: Latin 1 only. The font holds pictures at a few hundred kanji and kana
# code points; declaring Japanese would make text renderers pick it as a fallback for ordinary
# Japanese text (menus showed "8E" for 型). The program selects "SFgg1" by name.
CODE_PAGES = 1 << 0


def check_iconv_agrees(codes):
    """Returns the codes whose character differs between Python's cp932 codec and iconv's
    CP932 (the decoder the program uses on POSIX)."""
    data = b"".join(glyph_table.code_bytes(code) for code in codes)
    result = subprocess.run(
        ["iconv", "-f", "CP932", "-t", "UTF-32BE"], input=data, capture_output=True, check=True
    )
    decoded = result.stdout.decode("utf-32-be")
    if len(decoded) != len(codes):
        return list(codes)
    return [
        code
        for code, character in zip(codes, decoded)
        if glyph_table.code_character(code) != character
    ]


def notdef_glyph():
    """An open box: what a renderer shows for a character the font does not hold."""
    pen = TTGlyphPen(None)
    for left, bottom, right, top, clockwise in (
        (100, -50, 900, 800, True),
        (160, 10, 840, 740, False),
    ):
        corners = [(left, bottom), (left, top), (right, top), (right, bottom)]
        if not clockwise:
            corners.reverse()
        pen.moveTo(corners[0])
        for corner in corners[1:]:
            pen.lineTo(corner)
        pen.closePath()
    return pen.glyph()


def build_font(table, composer):
    glyphs = {".notdef": notdef_glyph()}
    cmap = {}
    for code in sorted(table):
        name = "sjis%04X" % code
        glyphs[name] = composer.glyph(table[code])
        cmap[ord(glyph_table.code_character(code))] = name
    order = list(glyphs)

    fb = FontBuilder(outlines.UNITS_PER_EM, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    glyf = fb.font["glyf"]
    metrics = {}
    for name in order:
        glyph = glyf[name]
        glyph.recalcBounds(glyf)
        metrics[name] = (outlines.CELL_WIDTH, getattr(glyph, "xMin", 0))
        check_inside_cell(name, glyph)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=outlines.ASCENT, descent=outlines.DESCENT, lineGap=0)
    fb.setupNameTable(
        {
            "copyright": COPYRIGHT,
            "familyName": FAMILY,
            "styleName": "Regular",
            "uniqueFontIdentifier": "Varnolt: %s %s" % (FAMILY, VERSION),
            "fullName": FAMILY,
            "psName": FAMILY,
            "version": "Version " + VERSION,
            "licenseDescription": LICENSE,
        }
    )
    fb.setupOS2(
        version=4,
        usWeightClass=400,
        usWidthClass=5,
        fsType=0,
        achVendID="VRNT",
        fsSelection=0x40,  # regular
        sTypoAscender=outlines.ASCENT,
        sTypoDescender=outlines.DESCENT,
        sTypoLineGap=0,
        usWinAscent=outlines.ASCENT,
        usWinDescent=-outlines.DESCENT,
        ulCodePageRange1=CODE_PAGES,
        ulCodePageRange2=0,
        ulUnicodeRange1=1,  # Basic Latin only, for the same reason
        ulUnicodeRange2=0,
        ulUnicodeRange3=0,
        ulUnicodeRange4=0,
        sxHeight=0,
        sCapHeight=outlines.SLOT_CAP_HEIGHT,
        usDefaultChar=0,
        usBreakChar=0,
        usMaxContext=0,
        panose=_panose_monospaced(),
    )
    fb.setupPost(isFixedPitch=1, underlinePosition=-100, underlineThickness=50)
    # Smooth at every size; the outlines carry no hinting instructions.
    gasp = newTable("gasp")
    gasp.version = 1
    gasp.gaspRange = {0xFFFF: 0x000A}
    fb.font["gasp"] = gasp
    head = fb.font["head"]
    head.fontRevision = float(VERSION)
    # A fixed date keeps the output byte for byte the same from run to run.
    head.created = head.modified = timestampFromString(BUILD_DATE)
    fb.font.recalcTimestamp = False
    return fb


def _panose_monospaced():
    panose = Panose()
    for field in (
        "bSerifStyle", "bContrast", "bStrokeVariation", "bArmStyle",
        "bLetterForm", "bMidline", "bXHeight",
    ):
        setattr(panose, field, 0)  # any
    panose.bFamilyType = 2  # text and display
    panose.bWeight = 5  # book
    panose.bProportion = 9  # monospaced
    return panose


def check_inside_cell(name, glyph):
    if not hasattr(glyph, "xMin"):
        return
    inside = (
        glyph.xMin >= 0
        and glyph.xMax <= outlines.CELL_WIDTH
        and glyph.yMin >= outlines.DESCENT
        and glyph.yMax <= outlines.ASCENT
    )
    if not inside:
        raise ValueError(
            "%s reaches outside its cell: %d %d %d %d"
            % (name, glyph.xMin, glyph.yMin, glyph.xMax, glyph.yMax)
        )


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", type=Path, default=DEFAULT_OUTPUT)
    args = parser.parse_args()

    table = glyph_table.build_table()
    codes = sorted(table)
    differing = check_iconv_agrees(codes)
    if differing:
        print(
            "iconv's CP932 and Python's cp932 differ at: "
            + " ".join("%04X" % code for code in differing),
            file=sys.stderr,
        )
        return 1
    composer = outlines.Composer(
        outlines.SourceFont(LATIN_SOURCE), outlines.SourceFont(WIDE_SOURCE)
    )
    fb = build_font(table, composer)
    args.output.parent.mkdir(parents=True, exist_ok=True)
    fb.save(str(args.output))
    print("%s: %d glyph codes" % (args.output, len(codes)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
