#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnolt {

// A glyph code of the cell font "SFgg1": a two-byte Shift-JIS code, lead byte in bits 15..8,
// trail byte in bits 7..0. The program decodes it with the code page 932 decoder and draws the
// character it gives in the cell font, which holds a picture two character cells wide (one full
// em) at every code this module produces. The codes are ordinary kanji codes; only the cell font
// gives them their meaning. Each picture fills the font's em square, which runs from the font's
// ascent (0.88 em) above the baseline to its descent (0.12 em) below: drawn at pixel size 20, a
// cell whose top is at y has its baseline at y + ascent and covers 20 × 20 pixels.
using GlyphCode = std::uint16_t;

// What a cell glyph shows. The numbers are the glyph sets of the cell painter's draw calls.
enum class GlyphSet : std::uint8_t {
    CharacterName = 0,      // control-code name, the character itself, or its code in hex
    Hexadecimal = 2,        // the value as two hexadecimal digits
    DigitWithSeparator = 3, // value = separator style × 16 + digit (see DigitGlyphValue)
    Mark = 4,               // error marks, idle label halves, search marks (kMark...)
    TwoDigits = 5,          // a decimal number 00 … 99
};

// Where a DigitWithSeparator glyph puts its separator relative to the digit.
enum class SeparatorStyle : std::uint8_t {
    DigitPeriod = 0, // "3."
    PeriodDigit = 1, // ".3"
    DigitSlash = 2,  // "3/"
    SlashDigit = 3,  // "/3"
    DigitColon = 4,  // "3:"
    ColonDigit = 5,  // ":3"
    DigitSpace = 6,  // "3 "
    SpaceDigit = 7,  // " 3"
};

// Values of GlyphSet::Mark.
inline constexpr std::uint8_t kMarkFirstError = 0; // + error code 0 … 4: PE, FE, PF, BR, OE
inline constexpr std::uint8_t kErrorMarkCount = 5;
inline constexpr std::uint8_t kMarkIdleLabelFirst = 16;  // first cell of an idle group's label
inline constexpr std::uint8_t kMarkIdleLabelSecond = 17; // second cell of it
inline constexpr std::uint8_t kMarkAny = 32;             // search: any character
inline constexpr std::uint8_t kMarkFirstBitMask = 36;    // + bit mask 0 … 3
inline constexpr std::uint8_t kMarkFirstRange = 40;      // + range 0 … 3
inline constexpr std::uint8_t kPatternSlotCount = 4;     // bit masks, and ranges

// Drawn white on white, it clears a cell.
inline constexpr GlyphCode kEmptyCellGlyph = 0x90FC;
// The character name of the space: a blank cell inside idle and time-stamp groups.
inline constexpr GlyphCode kBlankGlyph = 0x88C0;
// Shows ">99": the number is too large for its cell. A two-digit cell gets it for a number above
// 99 (an idle gap of 100 s or more at the finest resolution), a digit cell for a digit above 9.
// It sits right after the two-digit numbers (00 at 0x8F80 … 99 at 0x8FE3), a code that no glyph
// set otherwise reaches.
inline constexpr GlyphCode kTooLargeGlyph = 0x8FE4;

// The code that the data view draws for VALUE in SET. Values that mean nothing in their set get a
// glyph that says so instead of a stray kanji: a number above 99 or a digit above 9 gets
// kTooLargeGlyph; an undefined mark, a separator style above 7, or a glyph set not listed above
// gets kEmptyCellGlyph (drawn in the caller's colours, it is a blank cell).
[[nodiscard]] GlyphCode CellGlyphCode(GlyphSet set, std::uint8_t value);

// The DigitWithSeparator value of a digit (0 … 9) with a separator.
[[nodiscard]] constexpr std::uint8_t DigitGlyphValue(SeparatorStyle style, std::uint8_t digit) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(style) * 16U + digit);
}

// The TwoDigits glyph of a number of any size: kTooLargeGlyph above 99, so that a large idle
// value is never reduced to a wrong two-digit one.
[[nodiscard]] GlyphCode TwoDigitGlyphCode(std::uint32_t number);

// The code by which the character input dialog writes character VALUE into its text (and shows
// patterns). It is the CharacterName code, except for 0x80 … 0xA0 and 0xE0 … 0xFF, which the
// dialog writes with other codes that the cell font draws the same way.
[[nodiscard]] GlyphCode InputGlyphCode(std::uint8_t value);

// The two code page 932 bytes of CODE, lead byte first.
[[nodiscard]] std::string GlyphCodeBytes(GlyphCode code);

// The Unicode character that the code page 932 decoder gives for CODE, at which the cell font
// holds the code's picture; U+FFFD when CODE is no character. The font's codes are decoded once,
// so painting may call this for every cell.
[[nodiscard]] char32_t GlyphCharacter(GlyphCode code);

// Every code the functions above can return, ascending, each once: the codes the cell font must
// hold.
[[nodiscard]] std::vector<GlyphCode> AllGlyphCodes();

} // namespace varnolt
