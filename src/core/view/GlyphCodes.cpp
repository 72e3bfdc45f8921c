#include "core/view/GlyphCodes.h"

#include "core/platform/Cp932.h"

#include <algorithm>
#include <utility>

namespace varnolt {

namespace {

constexpr std::uint8_t kLargestTwoDigitNumber = 99;
constexpr std::uint8_t kLargestDigit = 9;
constexpr std::uint8_t kLargestSeparatorStyle = 7;

// The codes skip the trail bytes that Shift-JIS does not use (0x00 … 0x3F, 0x7F, 0xFD … 0xFF),
// which is why each set is made of several runs with their own offsets.
GlyphCode CharacterNameCode(std::uint8_t value) {
    const unsigned v = value;
    if (v <= 0x4F) {
        return static_cast<GlyphCode>(0x88A0 + v);
    }
    if (v <= 0x7F || (v >= 0xA1 && v <= 0xBF)) {
        return static_cast<GlyphCode>(0x8930 + v);
    }
    if (v <= 0x9F) {
        return static_cast<GlyphCode>(0x8BD0 + v);
    }
    if (v >= 0xC0 && v <= 0xDF) {
        return static_cast<GlyphCode>(0x89C0 + v);
    }
    // 0xA0 and 0xE0 … 0xFF: these and 0x80 … 0x9F share their codes with the hexadecimal set,
    // since their name is their hex code.
    return static_cast<GlyphCode>(0x8BE0 + v);
}

GlyphCode HexadecimalCode(std::uint8_t value) {
    const unsigned v = value;
    if (v <= 0x6F) {
        return static_cast<GlyphCode>(0x8B80 + v);
    }
    if (v <= 0x9F) {
        return static_cast<GlyphCode>(0x8BD0 + v);
    }
    return static_cast<GlyphCode>(0x8BE0 + v);
}

GlyphCode DigitWithSeparatorCode(std::uint8_t value) {
    const unsigned style = value / 16U;
    const unsigned digit = value % 16U;
    if (style > kLargestSeparatorStyle) {
        return kEmptyCellGlyph;
    }
    if (digit > kLargestDigit) {
        return kTooLargeGlyph;
    }
    const unsigned v = value;
    if (v <= 0x6F) {
        return static_cast<GlyphCode>(0x8D00 + v + 0x80);
    }
    return static_cast<GlyphCode>(0x8E00 + v - 0x30);
}

bool IsDefinedMark(std::uint8_t value) {
    return value < kMarkFirstError + kErrorMarkCount || value == kMarkIdleLabelFirst ||
           value == kMarkIdleLabelSecond || value == kMarkAny ||
           (value >= kMarkFirstBitMask && value < kMarkFirstBitMask + kPatternSlotCount) ||
           (value >= kMarkFirstRange && value < kMarkFirstRange + kPatternSlotCount);
}

GlyphCode MarkCode(std::uint8_t value) {
    return IsDefinedMark(value) ? static_cast<GlyphCode>(0x8EA0 + value) : kEmptyCellGlyph;
}

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The one character of a UTF-8 text, or U+FFFD when it holds anything else.
char32_t SingleCharacter(const std::string& utf8) {
    if (utf8.empty()) {
        return kReplacementCharacter;
    }
    const auto lead = static_cast<unsigned char>(utf8[0]);
    size_t length = 1;
    char32_t character = lead;
    if (lead >= 0xF0) {
        length = 4;
        character = lead & 0x07U;
    } else if (lead >= 0xE0) {
        length = 3;
        character = lead & 0x0FU;
    } else if (lead >= 0xC0) {
        length = 2;
        character = lead & 0x1FU;
    }
    if (utf8.size() != length) {
        return kReplacementCharacter;
    }
    for (size_t i = 1; i < length; ++i) {
        character = (character << 6U) | (static_cast<unsigned char>(utf8[i]) & 0x3FU);
    }
    return character;
}

char32_t DecodeGlyphCode(GlyphCode code) {
    return SingleCharacter(Cp932ToUtf8(GlyphCodeBytes(code)));
}

using CharacterTable = std::vector<std::pair<GlyphCode, char32_t>>;

const CharacterTable& FontCharacters() {
    static const CharacterTable table = [] {
        CharacterTable characters;
        for (const GlyphCode code : AllGlyphCodes()) {
            characters.emplace_back(code, DecodeGlyphCode(code));
        }
        return characters;
    }();
    return table;
}

} // namespace

GlyphCode CellGlyphCode(GlyphSet set, std::uint8_t value) {
    switch (set) {
    case GlyphSet::CharacterName:
        return CharacterNameCode(value);
    case GlyphSet::Hexadecimal:
        return HexadecimalCode(value);
    case GlyphSet::DigitWithSeparator:
        return DigitWithSeparatorCode(value);
    case GlyphSet::Mark:
        return MarkCode(value);
    case GlyphSet::TwoDigits:
        return TwoDigitGlyphCode(value);
    }
    return kEmptyCellGlyph;
}

GlyphCode TwoDigitGlyphCode(std::uint32_t number) {
    if (number > kLargestTwoDigitNumber) {
        return kTooLargeGlyph;
    }
    return static_cast<GlyphCode>(0x8F00 + number + 0x80);
}

GlyphCode InputGlyphCode(std::uint8_t value) {
    const unsigned v = value;
    if (v < 0x50) {
        return static_cast<GlyphCode>(0x88A0 + v);
    }
    if (v < 0xC0) {
        return static_cast<GlyphCode>(0x8930 + v);
    }
    return static_cast<GlyphCode>(0x89C0 + v);
}

std::string GlyphCodeBytes(GlyphCode code) {
    return {static_cast<char>(code >> 8U), static_cast<char>(code & 0xFFU)};
}

char32_t GlyphCharacter(GlyphCode code) {
    const CharacterTable& table = FontCharacters();
    const auto found = std::lower_bound(table.begin(), table.end(), code,
                                        [](const std::pair<GlyphCode, char32_t>& entry,
                                           GlyphCode key) { return entry.first < key; });
    if (found != table.end() && found->first == code) {
        return found->second;
    }
    return DecodeGlyphCode(code);
}

std::vector<GlyphCode> AllGlyphCodes() {
    constexpr GlyphSet kSets[] = {GlyphSet::CharacterName, GlyphSet::Hexadecimal,
                                  GlyphSet::DigitWithSeparator, GlyphSet::Mark,
                                  GlyphSet::TwoDigits};
    std::vector<GlyphCode> codes;
    for (unsigned v = 0; v <= 0xFF; ++v) {
        const auto value = static_cast<std::uint8_t>(v);
        for (const GlyphSet set : kSets) {
            codes.push_back(CellGlyphCode(set, value));
        }
        codes.push_back(InputGlyphCode(value));
    }
    codes.push_back(kEmptyCellGlyph);
    codes.push_back(kTooLargeGlyph);
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}

} // namespace varnolt
