// Feeds arbitrary bytes to the pattern texts of the character input dialog and the search: as a
// text typed into the edit, and as pattern elements read from a settings file or a search. A
// pattern shown as text reads back as the same pattern (up to its first element without a
// glyph); every text reads as at most 128 elements that all have a glyph; the edit's conversion
// of typed characters is finished after one pass, and cutting a text keeps a prefix of at most
// the characters asked for.

#include "core/platform/Cp932.h"
#include "core/view/PatternText.h"
#include "core/view/SearchCriteria.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"

using namespace varnolt;
using fuzz::Check;

namespace {

// Whether TEXT holds a carriage return or line feed as a character of its own.
bool HoldsLineEnd(std::string_view text) {
    for (size_t k = 0; k < text.size(); ++k) {
        const auto byte = static_cast<unsigned char>(text[k]);
        if (IsCp932LeadByte(byte) && k + 1 < text.size()) {
            ++k;
        } else if (byte == '\r' || byte == '\n') {
            return true;
        }
    }
    return false;
}

void CheckText(std::string_view text) {
    const std::vector<PatternElement> elements = PatternFromText(text);
    Check(elements.size() <= kMaxPatternLength);
    Check(std::all_of(elements.begin(), elements.end(),
                      [](PatternElement e) { return GlyphOfElement(e).has_value(); }));
    const std::string shown = PatternDisplayText(elements);
    Check(shown.size() == 2 * elements.size() && PatternFromText(shown) == elements);

    const std::string converted = ConvertTypedInput(text);
    Check(ConvertTypedInput(converted) == converted);
    Check(!HoldsLineEnd(converted));

    const size_t characters = TextCharacterCount(text);
    Check(characters <= text.size());
    for (const size_t limit : {size_t{0}, size_t{1}, characters / 2, characters, characters + 1}) {
        const std::string cut = LimitText(text, limit);
        Check(text.starts_with(cut) && TextCharacterCount(cut) == std::min(limit, characters));
    }
}

// ELEMENT as its glyph keeps it: the value of "any" means nothing and is not kept.
PatternElement Kept(PatternElement element) {
    return element.kind == kPatternAny ? PatternElement{kPatternAny, 0} : element;
}

// ELEMENTS as a pattern: the glyphs stop at the first element without one, and the text of the
// glyphs reads back as exactly the elements before it.
void CheckElements(std::span<const PatternElement> elements) {
    const auto glyphless = std::find_if(elements.begin(), elements.end(), [](PatternElement e) {
        return !GlyphOfElement(e).has_value();
    });
    const auto shownCount = static_cast<size_t>(glyphless - elements.begin());
    Check(PatternGlyphCodes(elements).size() == shownCount);
    const std::vector<PatternElement> back = PatternFromText(PatternDisplayText(elements));
    const size_t kept = std::min(shownCount, kMaxPatternLength);
    Check(back.size() == kept);
    for (size_t k = 0; k < kept; ++k) {
        Check(back[k] == Kept(elements[k]));
    }
    for (const PatternElement element : elements.first(shownCount)) {
        Check(ElementOfGlyph(*GlyphOfElement(element)) == Kept(element));
    }

    CharacterPattern pattern;
    pattern.setElements(elements);
    Check(pattern.usedElements().size() == std::min(elements.size(), kMaxPatternLength));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckText({reinterpret_cast<const char*>(data), size});

    std::vector<PatternElement> elements;
    for (size_t k = 0; k + 1 < size; k += 2) {
        // Mostly the pattern kinds, so that long patterns are common.
        const uint8_t kind =
            data[k] < 0xF0 ? std::array<uint8_t, 5>{1, 2, 10, 20, 21}[data[k] % 5] : data[k];
        elements.push_back({kind, data[k + 1]});
    }
    CheckElements(elements);
    return 0;
}
