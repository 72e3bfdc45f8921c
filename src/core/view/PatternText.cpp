#include "core/view/PatternText.h"

#include "core/platform/Cp932.h"
#include "core/view/CellColours.h"

namespace varnolt {

namespace {

constexpr uint8_t kLastErrorCode = 4;
constexpr uint8_t kLastSlot = kPatternSlotCount - 1;

// The input codes of the character values, as InputGlyphCode writes them.
constexpr GlyphCode kCharacterRunLow = 0x88A0;  // values 0x00 … 0x4F
constexpr GlyphCode kCharacterRunMid = 0x88F0;  // values 0x50 … 0xBF
constexpr GlyphCode kCharacterRunHigh = 0x89F0; // values 0xC0 … 0xFF
constexpr GlyphCode kCharacterRunEnd = 0x8ABF;
constexpr GlyphCode kLastCharacterCode = 0x8E9F; // green up to here
constexpr GlyphCode kLastErrorMarkCode = 0x8EBF; // pink up to here

// The byte position after which a typed 0x50 … 0x7F stays a plain character: it is found behind
// the first 64 glyphs.
constexpr size_t kLastConvertiblePosition = 126;

// Length of the character at POSITION of TEXT: 2 for a two-byte character, else 1.
size_t CharacterLength(std::string_view text, size_t position) {
    return IsCp932LeadByte(static_cast<unsigned char>(text[position])) && position + 1 < text.size()
               ? 2
               : 1;
}

GlyphCode CodeAt(std::string_view text, size_t position) {
    return static_cast<GlyphCode>(static_cast<unsigned char>(text[position]) << 8U |
                                  static_cast<unsigned char>(text[position + 1]));
}

// What a typed single-byte character FOUND at byte POSITION turns into: "" to remove it, a glyph,
// or nullopt to leave it.
std::optional<std::string> TypedReplacement(unsigned char found, size_t position) {
    if (found == '\r' || found == '\n') {
        return std::string();
    }
    if (found <= 0x4F || (found >= 0xA1 && found <= 0xDF)) {
        return GlyphCodeBytes(InputGlyphCode(found));
    }
    if (found >= 0x50 && found <= 0x7F && position <= kLastConvertiblePosition) {
        return GlyphCodeBytes(InputGlyphCode(found));
    }
    return std::nullopt;
}

// TEXT with every single-byte character FOUND (never a byte inside a two-byte character) replaced
// by REPLACEMENT.
std::string ReplaceCharacter(std::string_view text, char found, std::string_view replacement) {
    std::string result;
    result.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size();) {
        const size_t length = CharacterLength(text, i);
        if (length == 1 && text[i] == found) {
            result += replacement;
        } else {
            result += text.substr(i, length);
        }
        i += length;
    }
    return result;
}

// One scan: the first single-byte character that changes the text, replaced everywhere.
std::optional<std::string> ConvertOnce(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = CharacterLength(text, i);
        if (length == 1) {
            if (const auto replacement = TypedReplacement(static_cast<unsigned char>(text[i]), i)) {
                return ReplaceCharacter(text, text[i], *replacement);
            }
        }
        i += length;
    }
    return std::nullopt;
}

} // namespace

std::optional<GlyphCode> GlyphOfElement(PatternElement element) {
    switch (element.kind) {
    case kPatternCharacter:
        return InputGlyphCode(element.value);
    case kPatternError:
        if (element.value <= kLastErrorCode) {
            return static_cast<GlyphCode>(kErrorGlyphFirst + element.value);
        }
        return std::nullopt;
    case kPatternAny:
        return kAnyGlyph;
    case kPatternBitMask:
        if (element.value <= kLastSlot) {
            return static_cast<GlyphCode>(kBitMaskGlyphFirst + element.value);
        }
        return std::nullopt;
    case kPatternRange:
        if (element.value <= kLastSlot) {
            return static_cast<GlyphCode>(kRangeGlyphFirst + element.value);
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

std::optional<PatternElement> ElementOfGlyph(GlyphCode code) {
    const auto element = [](uint8_t kind, unsigned value) {
        return PatternElement{kind, static_cast<uint8_t>(value)};
    };
    if (code >= kCharacterRunLow && code < kCharacterRunMid) {
        return element(kPatternCharacter, code - 0x88A0U);
    }
    if (code >= kCharacterRunMid && code < kCharacterRunHigh) {
        return element(kPatternCharacter, code - 0x8930U);
    }
    if (code >= kCharacterRunHigh && code <= kCharacterRunEnd) {
        return element(kPatternCharacter, code - 0x89C0U);
    }
    if (code >= kErrorGlyphFirst && code <= kErrorGlyphFirst + kLastErrorCode) {
        return element(kPatternError, code - kErrorGlyphFirst);
    }
    if (code == kAnyGlyph) {
        return element(kPatternAny, 0);
    }
    if (code >= kBitMaskGlyphFirst && code <= kBitMaskGlyphFirst + kLastSlot) {
        return element(kPatternBitMask, code - kBitMaskGlyphFirst);
    }
    if (code >= kRangeGlyphFirst && code <= kRangeGlyphFirst + kLastSlot) {
        return element(kPatternRange, code - kRangeGlyphFirst);
    }
    return std::nullopt;
}

std::vector<GlyphCode> PatternGlyphCodes(std::span<const PatternElement> elements) {
    std::vector<GlyphCode> codes;
    for (const PatternElement element : elements) {
        const auto code = GlyphOfElement(element);
        if (!code) {
            break;
        }
        codes.push_back(*code);
    }
    return codes;
}

std::string PatternDisplayText(std::span<const PatternElement> elements) {
    std::string text;
    for (const GlyphCode code : PatternGlyphCodes(elements)) {
        text += GlyphCodeBytes(code);
    }
    return text;
}

std::vector<PatternElement> PatternFromText(std::string_view text) {
    std::vector<PatternElement> elements;
    for (size_t i = 0; i < text.size() && elements.size() < kMaxPatternLength;) {
        const size_t length = CharacterLength(text, i);
        if (length == 2) {
            if (const auto element = ElementOfGlyph(CodeAt(text, i))) {
                elements.push_back(*element);
            }
        }
        i += length;
    }
    return elements;
}

size_t TextCharacterCount(std::string_view text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); i += CharacterLength(text, i)) {
        ++count;
    }
    return count;
}

std::string LimitText(std::string_view text, size_t limit) {
    size_t end = 0;
    for (size_t kept = 0; end < text.size() && kept < limit; ++kept) {
        end += CharacterLength(text, end);
    }
    return std::string(text.substr(0, end));
}

std::string ConvertTypedInput(std::string_view text) {
    std::string converted(text);
    while (auto next = ConvertOnce(converted)) {
        converted = std::move(*next);
    }
    return converted;
}

Rgb InputGlyphBackground(GlyphCode code) {
    if (code <= kLastCharacterCode) {
        return kSdColours.background;
    }
    if (code <= kLastErrorMarkCode) {
        return kErrorColours.background;
    }
    return kInputMarkBackground;
}

} // namespace varnolt
