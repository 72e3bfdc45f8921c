#include "core/view/GlyphCodes.h"

#include "core/platform/Cp932.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace varnolt {
namespace {

struct CodeCase {
    GlyphSet set;
    unsigned value;
    GlyphCode code;
};

TEST(GlyphCodes, MapsEachSetAndRunBoundaryToItsCode) {
    const CodeCase cases[] = {
        {GlyphSet::CharacterName, 0x41, 0x88E1},
        {GlyphSet::Hexadecimal, 0x41, 0x8BC1},
        {GlyphSet::CharacterName, 0x85, 0x8C55},
        {GlyphSet::Hexadecimal, 0x85, 0x8C55},
        {GlyphSet::CharacterName, 0xB1, 0x89E1},
        {GlyphSet::Hexadecimal, 0xB1, 0x8C91},
        {GlyphSet::CharacterName, 0x00, 0x88A0},
        {GlyphSet::CharacterName, 0x4F, 0x88EF},
        {GlyphSet::CharacterName, 0x50, 0x8980},
        {GlyphSet::CharacterName, 0x7F, 0x89AF},
        {GlyphSet::CharacterName, 0x80, 0x8C50},
        {GlyphSet::CharacterName, 0x9F, 0x8C6F},
        {GlyphSet::CharacterName, 0xA0, 0x8C80},
        {GlyphSet::CharacterName, 0xA1, 0x89D1},
        {GlyphSet::CharacterName, 0xBF, 0x89EF},
        {GlyphSet::CharacterName, 0xC0, 0x8A80},
        {GlyphSet::CharacterName, 0xDF, 0x8A9F},
        {GlyphSet::CharacterName, 0xE0, 0x8CC0},
        {GlyphSet::CharacterName, 0xFF, 0x8CDF},
        {GlyphSet::Hexadecimal, 0x00, 0x8B80},
        {GlyphSet::Hexadecimal, 0x6F, 0x8BEF},
        {GlyphSet::Hexadecimal, 0x70, 0x8C40},
        {GlyphSet::Hexadecimal, 0xA0, 0x8C80},
        {GlyphSet::Hexadecimal, 0xFF, 0x8CDF},
        {GlyphSet::DigitWithSeparator, 0x73, 0x8E43},
        {GlyphSet::DigitWithSeparator, 0x35, 0x8DB5},
        {GlyphSet::DigitWithSeparator, 0x00, 0x8D80},
        {GlyphSet::DigitWithSeparator, 0x69, 0x8DE9},
        {GlyphSet::DigitWithSeparator, 0x70, 0x8E40},
        {GlyphSet::DigitWithSeparator, 0x79, 0x8E49},
        {GlyphSet::Mark, 0, 0x8EA0},
        {GlyphSet::Mark, 4, 0x8EA4},
        {GlyphSet::Mark, kMarkIdleLabelFirst, 0x8EB0},
        {GlyphSet::Mark, kMarkIdleLabelSecond, 0x8EB1},
        {GlyphSet::Mark, kMarkAny, 0x8EC0},
        {GlyphSet::Mark, kMarkFirstBitMask + 3, 0x8EC7},
        {GlyphSet::Mark, kMarkFirstRange, 0x8EC8},
        {GlyphSet::Mark, kMarkFirstRange + 3, 0x8ECB},
        {GlyphSet::TwoDigits, 42, 0x8FAA},
        {GlyphSet::TwoDigits, 0, 0x8F80},
        {GlyphSet::TwoDigits, 99, 0x8FE3},
        // Values that mean nothing in their set never reach a stray code: a number or digit
        // beyond its cell says so, anything else is blank.
        {GlyphSet::TwoDigits, 100, kTooLargeGlyph},
        {GlyphSet::TwoDigits, 0xFF, kTooLargeGlyph},
        {GlyphSet::DigitWithSeparator, 0x1A, kTooLargeGlyph},
        {GlyphSet::DigitWithSeparator, 0xD0, kEmptyCellGlyph}, // would be the PE mark's code
        {GlyphSet::DigitWithSeparator, 0xAF, kEmptyCellGlyph}, // would be no Shift-JIS code
        {GlyphSet::Mark, 5, kEmptyCellGlyph},
        {GlyphSet::Mark, 0xFF, kEmptyCellGlyph},
        {static_cast<GlyphSet>(1), 0x41, kEmptyCellGlyph},
        {static_cast<GlyphSet>(6), 0x41, kEmptyCellGlyph},
    };
    for (const CodeCase& c : cases) {
        EXPECT_EQ(CellGlyphCode(c.set, static_cast<std::uint8_t>(c.value)), c.code)
            << "set " << static_cast<int>(c.set) << " value " << std::hex << c.value;
    }
    EXPECT_EQ(CellGlyphCode(GlyphSet::CharacterName, ' '), kBlankGlyph);
    EXPECT_EQ(DigitGlyphValue(SeparatorStyle::SpaceDigit, 3), 0x73);
}

TEST(GlyphCodes, NumbersAboveTwoDigitsShowTooLargeInsteadOfWrapping) {
    EXPECT_EQ(TwoDigitGlyphCode(99), 0x8FE3);
    EXPECT_EQ(TwoDigitGlyphCode(100), kTooLargeGlyph);
    EXPECT_EQ(TwoDigitGlyphCode(256), kTooLargeGlyph); // 8 bits of 256 would read as 00
    EXPECT_EQ(TwoDigitGlyphCode(86400), kTooLargeGlyph);
}

TEST(GlyphCodes, InputCodesDifferFromDrawnCodesOnlyWhereTheViewDrawsTheHexCode) {
    EXPECT_EQ(InputGlyphCode('A'), 0x88E1);
    EXPECT_EQ(InputGlyphCode(0xC5), 0x8A85);
    EXPECT_EQ(InputGlyphCode(0x80), 0x89B0);
    EXPECT_EQ(InputGlyphCode(0xA0), 0x89D0);
    EXPECT_EQ(InputGlyphCode(0xE0), 0x8AA0);
    EXPECT_EQ(InputGlyphCode(0xFF), 0x8ABF);
    for (unsigned v = 0; v <= 0xFF; ++v) {
        const auto value = static_cast<std::uint8_t>(v);
        const bool hexName = (v >= 0x80 && v <= 0xA0) || v >= 0xE0;
        EXPECT_EQ(InputGlyphCode(value) != CellGlyphCode(GlyphSet::CharacterName, value), hexName)
            << std::hex << v;
        EXPECT_EQ(CellGlyphCode(GlyphSet::Hexadecimal, value) ==
                      CellGlyphCode(GlyphSet::CharacterName, value),
                  hexName)
            << std::hex << v;
    }
}

// The picture a code must show, as a key: two codes with the same key may share a picture, one
// code must never be asked for two pictures.
std::map<GlyphCode, std::set<std::string>> PicturesByCode() {
    std::map<GlyphCode, std::set<std::string>> pictures;
    const auto add = [&](GlyphCode code, std::string picture) {
        pictures[code].insert(std::move(picture));
    };
    for (unsigned v = 0; v <= 0xFF; ++v) {
        const auto value = static_cast<std::uint8_t>(v);
        const bool hexName = (v >= 0x80 && v <= 0xA0) || v >= 0xE0;
        const std::string name = (hexName ? "hex " : "name ") + std::to_string(v);
        add(CellGlyphCode(GlyphSet::CharacterName, value), name);
        add(InputGlyphCode(value), name);
        add(CellGlyphCode(GlyphSet::Hexadecimal, value), "hex " + std::to_string(v));
        const bool validDigit = v / 16 <= 7 && v % 16 <= 9;
        add(CellGlyphCode(GlyphSet::DigitWithSeparator, value), validDigit
                                                                    ? "digit " + std::to_string(v)
                                                                : v / 16 <= 7 ? "too large"
                                                                              : "empty");
        const GlyphCode mark = CellGlyphCode(GlyphSet::Mark, value);
        add(mark, mark == kEmptyCellGlyph ? "empty" : "mark " + std::to_string(v));
        add(CellGlyphCode(GlyphSet::TwoDigits, value),
            v <= 99 ? "number " + std::to_string(v) : "too large");
    }
    add(kEmptyCellGlyph, "empty");
    add(kTooLargeGlyph, "too large");
    return pictures;
}

TEST(GlyphCodes, EveryCodeIsOneShiftJisCharacterWithOnePicture) {
    const std::vector<GlyphCode> all = AllGlyphCodes();
    const auto pictures = PicturesByCode();
    ASSERT_EQ(all.size(), pictures.size());

    std::set<char32_t> characters;
    for (const GlyphCode code : all) {
        ASSERT_TRUE(pictures.contains(code)) << std::hex << code;
        EXPECT_EQ(pictures.at(code).size(), 1U)
            << std::hex << code << " is asked for " << *pictures.at(code).begin() << " and "
            << *pictures.at(code).rbegin();
        const unsigned lead = code >> 8U;
        const unsigned trail = code & 0xFFU;
        EXPECT_TRUE(lead >= 0x81 && lead <= 0x9F) << std::hex << code;
        EXPECT_TRUE((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC))
            << std::hex << code;
        // One character each, and a different one for each code: the font can tell them apart.
        const std::string utf8 = Cp932ToUtf8(GlyphCodeBytes(code));
        EXPECT_EQ(utf8.size(), 3U) << std::hex << code;
        EXPECT_NE(utf8, "\xEF\xBF\xBD") << std::hex << code;
        EXPECT_TRUE(characters.insert(GlyphCharacter(code)).second) << std::hex << code;
    }
}

TEST(GlyphCodes, CharacterIsWhatTheCodePageDecoderGives) {
    EXPECT_EQ(GlyphCharacter(0x88A0), U'\u5516');          // NU
    EXPECT_EQ(GlyphCharacter(kEmptyCellGlyph), U'\u7DDA'); // 線
    EXPECT_EQ(GlyphCharacter(0x82A0), U'\u3042');          // not a cell glyph: decoded anyway
    EXPECT_EQ(GlyphCharacter(0x887F), U'\uFFFD');          // no Shift-JIS code
    EXPECT_EQ(GlyphCharacter(0x0041), U'\uFFFD');          // two characters, not one
}

} // namespace
} // namespace varnolt
