#pragma once

#include "core/settings/PatternElement.h"
#include "core/view/CellCanvas.h"
#include "core/view/GlyphCodes.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnolt {

// Patterns as text in the cell font: the character input dialog edits a pattern as a string of
// glyph codes, and other dialogs and panes show patterns with the same codes. Such a text is code
// page 932 bytes, two per glyph with the lead byte first; typed characters arrive in it as single
// bytes until ConvertTypedInput turns them into glyphs.
//
// Character values are written with InputGlyphCode; the marks are:
inline constexpr GlyphCode kErrorGlyphFirst = 0x8EA0; // + error code 0 … 4
inline constexpr GlyphCode kAnyGlyph = 0x8EC0;
inline constexpr GlyphCode kBitMaskGlyphFirst = 0x8EC4; // + bit mask 0 … 3
inline constexpr GlyphCode kRangeGlyphFirst = 0x8EC8;   // + range 0 … 3

// The background of the marks (any, bit masks, ranges) in the edit and on the dialog's buttons.
inline constexpr Rgb kInputMarkBackground{224, 224, 224};

// No pattern holds more elements than this.
inline constexpr size_t kMaxPatternLength = 128;

// The glyph that shows ELEMENT; nullopt for an element no glyph stands for (a kind that is not a
// pattern kind, an error code above 4, a bit mask or range number above 3), which ends a pattern
// text.
[[nodiscard]] std::optional<GlyphCode> GlyphOfElement(PatternElement element);

// The element glyph CODE stands for; nullopt for every other code.
[[nodiscard]] std::optional<PatternElement> ElementOfGlyph(GlyphCode code);

// The glyph codes that show ELEMENTS, one per element, up to the first element without a glyph.
[[nodiscard]] std::vector<GlyphCode> PatternGlyphCodes(std::span<const PatternElement> elements);

// The same as a text (two bytes per glyph): what the dialog's edit starts with.
[[nodiscard]] std::string PatternDisplayText(std::span<const PatternElement> elements);

// The pattern elements of TEXT: its two-byte characters turned into elements, in order, at most
// kMaxPatternLength of them. Two-byte codes that stand for no element are dropped, and so is any
// single byte left in the text (a typed character the dialog did not convert), so that the rest
// of the text still counts.
[[nodiscard]] std::vector<PatternElement> PatternFromText(std::string_view text);

// The characters of TEXT: a two-byte character is one, any other byte another.
[[nodiscard]] size_t TextCharacterCount(std::string_view text);

// TEXT cut after its first LIMIT characters (the edit's text limit).
[[nodiscard]] std::string LimitText(std::string_view text, size_t limit);

// The dialog's edit after a change: single-byte characters become glyphs, and the scan repeats
// until it changes nothing. Each single-byte character found is replaced wherever it stands as a
// character of its own (never inside a two-byte character): carriage return and line feed are
// removed; 0x00 … 0x4F becomes its glyph; 0x50 … 0x7F becomes its glyph only when found at byte
// position 126 or before, so such a character typed behind the first 64 glyphs stays a plain
// character; a half-width katakana character (0xA1 … 0xDF) becomes the glyph of its code.
[[nodiscard]] std::string ConvertTypedInput(std::string_view text);

// The background of glyph CODE in the edit: characters green, error marks pink, the other marks
// grey.
[[nodiscard]] Rgb InputGlyphBackground(GlyphCode code);

} // namespace varnolt
