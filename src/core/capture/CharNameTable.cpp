#include "core/capture/CharNameTable.h"

#include "core/platform/Cp932.h"

namespace varnolt {

namespace {

constexpr std::array<std::string_view, 0x20> kControlNames = {
    "NU", "SH", "SX", "EX", "ET", "EQ", "AK", "BL", "BS", "HT", "LF", "VT", "FF", "CR", "SO", "SI",
    "DL", "D1", "D2", "D3", "D4", "NK", "SY", "EB", "CN", "EM", "SB", "EC", "FS", "GS", "RS", "US"};

constexpr std::string_view kDeleteName = "DT";

// Full-width forms of the half-width katakana and punctuation 0xA1 ... 0xDF, in code order.
// The voiced and semi-voiced marks take their spacing forms ゛ and ゜.
constexpr std::string_view kFullWidthKana = "。「」、・ヲァィゥェォャュョッー"
                                            "アイウエオカキクケコサシスセソタチツテトナニヌネノ"
                                            "ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";

constexpr bool IsAsciiPrintable(unsigned code) {
    return code >= 0x20 && code <= 0x7E;
}
constexpr bool IsHalfWidthKana(unsigned code) {
    return code >= 0xA1 && code <= 0xDF;
}

std::string HexName(unsigned code) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    return {digits[code >> 4], digits[code & 0xF]};
}

// UTF-8 of the code point.
std::string Utf8Of(char32_t codePoint) {
    std::string text;
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return text;
}

// The full-width form of a printable ASCII character, as UTF-8. Quotes, the hyphen and the
// grave accent take the typographic forms that Japanese text uses.
std::string FullWidthAsciiUtf8(unsigned code) {
    switch (code) {
    case 0x20:
        return Utf8Of(U'\u3000'); // ideographic space
    case 0x22:
        return Utf8Of(U'\u201D'); // ”
    case 0x27:
        return Utf8Of(U'\u2019'); // ’
    case 0x2D:
        return Utf8Of(U'\u2015'); // ―
    case 0x60:
        return Utf8Of(U'\u2018'); // ‘
    default:
        return Utf8Of(static_cast<char32_t>(0xFF01 + (code - 0x21)));
    }
}

// The full-width kana of 0xA1 ... 0xDF, as UTF-8 (every one is three bytes).
std::string FullWidthKanaUtf8(unsigned code) {
    constexpr size_t kUtf8Length = 3;
    return std::string(kFullWidthKana.substr((code - 0xA1) * kUtf8Length, kUtf8Length));
}

} // namespace

CharNameTable::CharNameTable(Printable printable) {
    for (unsigned code = 0; code < texts_.size(); ++code) {
        std::string& text = texts_[code];
        const bool printableCode = IsAsciiPrintable(code) || IsHalfWidthKana(code);
        if (code < kControlNames.size()) {
            text = kControlNames[code];
        } else if (code == 0x7F) {
            text = kDeleteName;
        } else if (!printableCode) {
            text = HexName(code);
        } else if (printable == Printable::Padded) {
            text.assign(1, ' ').push_back(static_cast<char>(code));
        } else if (printable == Printable::Plain) {
            text.assign(1, static_cast<char>(code));
        } else {
            text = Utf8ToCp932(IsAsciiPrintable(code) ? FullWidthAsciiUtf8(code)
                                                      : FullWidthKanaUtf8(code));
        }
    }
}

const CharNameTable& CharNameTable::PaddedHalfWidth() {
    static const CharNameTable table(Printable::Padded);
    return table;
}

const CharNameTable& CharNameTable::PlainHalfWidth() {
    static const CharNameTable table(Printable::Plain);
    return table;
}

const CharNameTable& CharNameTable::FullWidth() {
    static const CharNameTable table(Printable::FullWidth);
    return table;
}

} // namespace varnolt
