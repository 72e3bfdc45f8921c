#include "core/view/PatternText.h"

#include "core/view/CellColours.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnolt {
namespace {

// Text of glyph codes, two bytes each.
std::string Glyphs(std::initializer_list<GlyphCode> codes) {
    std::string text;
    for (const GlyphCode code : codes) {
        text += GlyphCodeBytes(code);
    }
    return text;
}

std::string RepeatGlyph(GlyphCode code, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += GlyphCodeBytes(code);
    }
    return text;
}

struct GlyphCase {
    PatternElement element;
    GlyphCode code;
};

TEST(PatternText, ElementsAndGlyphsMapBothWaysAtEveryRunBoundary) {
    const GlyphCase cases[] = {
        {{kPatternCharacter, 0x00}, 0x88A0}, {{kPatternCharacter, 0x41}, 0x88E1},
        {{kPatternCharacter, 0x4F}, 0x88EF}, {{kPatternCharacter, 0x50}, 0x8980},
        {{kPatternCharacter, 0x80}, 0x89B0}, {{kPatternCharacter, 0xBF}, 0x89EF},
        {{kPatternCharacter, 0xC0}, 0x8A80}, {{kPatternCharacter, 0xC5}, 0x8A85},
        {{kPatternCharacter, 0xFF}, 0x8ABF}, {{kPatternError, 0}, 0x8EA0},
        {{kPatternError, 4}, 0x8EA4},        {{kPatternAny, 0}, 0x8EC0},
        {{kPatternBitMask, 0}, 0x8EC4},      {{kPatternBitMask, 3}, 0x8EC7},
        {{kPatternRange, 0}, 0x8EC8},        {{kPatternRange, 3}, 0x8ECB},
    };
    for (const GlyphCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.code);
        EXPECT_EQ(GlyphOfElement(c.element), c.code);
        EXPECT_EQ(ElementOfGlyph(c.code), c.element);
    }
    // Codes between the runs, and the view's own codes for 0x80 … 0xA0, stand for nothing.
    for (const GlyphCode stray : {0x889F, 0x8EA5, 0x8EC1, 0x8ECC, 0x8C50, 0x90FC}) {
        EXPECT_EQ(ElementOfGlyph(stray), std::nullopt) << std::hex << stray;
    }
}

TEST(PatternText, DisplayTextEndsAtTheFirstElementWithoutAGlyph) {
    const std::vector<PatternElement> pattern{{kPatternCharacter, 0x41},
                                              {kPatternAny, 0},
                                              {kPatternError, 5}, // no such error
                                              {kPatternCharacter, 0x42}};
    EXPECT_EQ(PatternDisplayText(pattern), Glyphs({0x88E1, 0x8EC0}));
    const std::vector<PatternElement> unknownKind{{7, 0}, {kPatternCharacter, 0x41}};
    EXPECT_EQ(PatternDisplayText(unknownKind), "");
}

TEST(PatternText, TextBackToElementsDropsStrayBytesAndForeignCodes) {
    // A letter typed behind the first 64 glyphs stays a single byte; closing keeps the rest.
    const std::string text = Glyphs({0x88E1}) + "Z" + Glyphs({0x90FC, 0x8EA1, 0x8ECB}) + "q";
    const std::vector<PatternElement> expected{
        {kPatternCharacter, 0x41}, {kPatternError, 1}, {kPatternRange, 3}};
    EXPECT_EQ(PatternFromText(text), expected);
    EXPECT_EQ(PatternFromText(RepeatGlyph(0x88E1, 200)).size(), kMaxPatternLength);
}

struct TypedCase {
    const char* name;
    std::string typed;
    std::string converted;
};

TEST(PatternText, TypedCharactersBecomeGlyphs) {
    const std::string glyphs63 = RepeatGlyph(0x88E1, 63);
    const std::string glyphs64 = RepeatGlyph(0x88E1, 64);
    const TypedCase cases[] = {
        {"letter A", "A", Glyphs({0x88E1})},
        {"half-width katakana", "\xC5", Glyphs({0x8A85})},
        {"every occurrence", "AxA", Glyphs({0x88E1, 0x89A8, 0x88E1})},
        {"line breaks removed", "A\r\nB", Glyphs({0x88E1, 0x88E2})},
        {"Z after 63 glyphs", glyphs63 + "Z", glyphs63 + Glyphs({0x898A})},
        {"Z after 64 glyphs", glyphs64 + "Z", glyphs64 + "Z"},
        {"A after 64 glyphs", glyphs64 + "A", glyphs64 + Glyphs({0x88E1})},
        {"stray Z does not stop later letters", glyphs64 + "Z" + "(",
         glyphs64 + "Z" + Glyphs({0x88C8})},
        // 0x88C5 ('%') has 0xC5 as its trail byte: a typed 0xC5 must not touch it.
        {"trail bytes untouched", Glyphs({0x88C5}) + "\xC5", Glyphs({0x88C5, 0x8A85})},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ConvertTypedInput(c.typed), c.converted);
    }
}

TEST(PatternText, LimitCountsCharactersNotBytes) {
    const std::string text = Glyphs({0x88E1, 0x88E2}) + "Z";
    EXPECT_EQ(TextCharacterCount(text), 3U);
    EXPECT_EQ(LimitText(text, 1), Glyphs({0x88E1}));
    EXPECT_EQ(LimitText(text, 5), text);
}

TEST(PatternText, GlyphBackgroundsFollowTheCodeRanges) {
    EXPECT_EQ(InputGlyphBackground(0x88E1), kSdColours.background);
    EXPECT_EQ(InputGlyphBackground(0x8E9F), kSdColours.background);
    EXPECT_EQ(InputGlyphBackground(0x8EA4), kErrorColours.background);
    EXPECT_EQ(InputGlyphBackground(0x8EC0), kInputMarkBackground);
}

} // namespace
} // namespace varnolt
