"""Which picture the cell font holds at which two-byte Shift-JIS code.

The codes mirror src/core/view/GlyphCodes.cpp (the program's side); the Qt test
tests/ui/CellFontTest.cpp checks that the generated font holds a full-width
picture at every code that module can produce.
"""

import unicodedata
from dataclasses import dataclass

# Two-letter names of the control codes 0x00 ... 0x1F, in code order, and of 0x7F.
CONTROL_NAMES = (
    "NU SH SX EX ET EQ AK BL BS HT LF VT FF CR SO SI "
    "DL D1 D2 D3 D4 NK SY EB CN EM SB EC FS GS RS US"
).split()
DELETE_NAME = "DT"

# Marks: the error marks by error code, the idle label halves, the search marks.
ERROR_MARKS = ("PE", "FE", "PF", "BR", "OE")
MARK_IDLE_LABEL_FIRST, MARK_IDLE_LABEL_SECOND = 16, 17
MARK_ANY = 32
MARK_FIRST_BIT_MASK = 36
MARK_FIRST_RANGE = 40
PATTERN_SLOTS = 4

IDLE_LABEL = ("ID", "LE")  # the two cells read "IDLE"
ANY_MARK = "??"
BIT_MASK_LETTER = "M"  # "M0" ... "M3"
RANGE_LETTER = "R"  # "R0" ... "R3"

# The separator styles of the digit cells: (separator, separator comes first).
SEPARATOR_STYLES = (
    (".", False), (".", True), ("/", False), ("/", True),
    (":", False), (":", True), (" ", False), (" ", True),
)

EMPTY_CELL = 0x90FC
TOO_LARGE = 0x8FE4
TOO_LARGE_TEXT = ">99"
TOO_LARGE_WEIGHTS = (0.85, 1.1, 1.1)  # a narrow ">", the digits as wide as they can be


@dataclass(frozen=True)
class Picture:
    """What one glyph shows.

    kind "slots": TEXT drawn in slots side by side across the cell, as wide as
        their WEIGHTS say (equal when not given);
    kind "single": one half-width character, centred;
    kind "wide": one full-width character (katakana and Japanese punctuation);
    kind "blank": nothing.
    """

    kind: str
    text: str = ""
    weights: tuple = ()


def character_name_code(v):
    if v <= 0x4F:
        return 0x88A0 + v
    if v <= 0x7F or 0xA1 <= v <= 0xBF:
        return 0x8930 + v
    if v <= 0x9F:
        return 0x8BD0 + v
    if 0xC0 <= v <= 0xDF:
        return 0x89C0 + v
    return 0x8BE0 + v


def hexadecimal_code(v):
    if v <= 0x6F:
        return 0x8B80 + v
    if v <= 0x9F:
        return 0x8BD0 + v
    return 0x8BE0 + v


def digit_code(style, digit):
    v = style * 16 + digit
    return 0x8D00 + v + 0x80 if v <= 0x6F else 0x8E00 + v - 0x30


def mark_code(v):
    return 0x8EA0 + v


def two_digit_code(n):
    return 0x8F00 + n + 0x80


def input_code(v):
    """The character input dialog's code for character value V."""
    if v < 0x50:
        return 0x88A0 + v
    if v < 0xC0:
        return 0x8930 + v
    return 0x89C0 + v


def full_width_form(v):
    """The full-width character that shows half-width katakana or punctuation V."""
    if v == 0xDE:
        return "\u309B"  # ゛
    if v == 0xDF:
        return "\u309C"  # ゜
    return unicodedata.normalize("NFKC", bytes([v]).decode("cp932"))


def character_name_picture(v):
    if v < 0x20:
        return Picture("slots", CONTROL_NAMES[v])
    if v == 0x20:
        return Picture("blank")  # also the blank cell of idle and time-stamp groups
    if v < 0x7F:
        return Picture("single", chr(v))
    if v == 0x7F:
        return Picture("slots", DELETE_NAME)
    if 0xA1 <= v <= 0xDF:
        return Picture("wide", full_width_form(v))
    return Picture("slots", "%02X" % v)


def mark_pictures():
    marks = {code: Picture("slots", name) for code, name in enumerate(ERROR_MARKS)}
    marks[MARK_IDLE_LABEL_FIRST] = Picture("slots", IDLE_LABEL[0])
    marks[MARK_IDLE_LABEL_SECOND] = Picture("slots", IDLE_LABEL[1])
    marks[MARK_ANY] = Picture("slots", ANY_MARK)
    for k in range(PATTERN_SLOTS):
        marks[MARK_FIRST_BIT_MASK + k] = Picture("slots", "%s%d" % (BIT_MASK_LETTER, k))
        marks[MARK_FIRST_RANGE + k] = Picture("slots", "%s%d" % (RANGE_LETTER, k))
    return marks


def build_table():
    """Every glyph code of the cell font with its picture, as a dict."""
    table = {}

    def put(code, picture):
        held = table.setdefault(code, picture)
        if held != picture:
            raise ValueError("code %04X asked for %s and %s" % (code, held, picture))

    for v in range(256):
        put(character_name_code(v), character_name_picture(v))
        put(input_code(v), character_name_picture(v))
        put(hexadecimal_code(v), Picture("slots", "%02X" % v))
    for style, (separator, first) in enumerate(SEPARATOR_STYLES):
        for digit in range(10):
            text = separator + str(digit) if first else str(digit) + separator
            put(digit_code(style, digit), Picture("slots", text))
    for value, picture in mark_pictures().items():
        put(mark_code(value), picture)
    for n in range(100):
        put(two_digit_code(n), Picture("slots", "%02d" % n))
    put(TOO_LARGE, Picture("slots", TOO_LARGE_TEXT, TOO_LARGE_WEIGHTS))
    put(EMPTY_CELL, Picture("blank"))
    return table


def code_bytes(code):
    return bytes([code >> 8, code & 0xFF])


def code_character(code):
    """The character that the code page 932 decoder gives for CODE."""
    character = code_bytes(code).decode("cp932")
    if len(character) != 1:
        raise ValueError("code %04X decodes to %r" % (code, character))
    return character
