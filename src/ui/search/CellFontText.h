#pragma once

#include "core/settings/PatternElement.h"
#include "core/view/CellCanvas.h"
#include "core/view/GlyphCodes.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <span>

namespace varnolt::ui {

// Patterns shown in the cell font outside the data view: the character input dialog, and any
// dialog or pane that lists transmit strings or trigger patterns. Put the text of
// PatternGlyphString in a widget whose font is CellFont, and every element shows as its glyph.

// The cell font "SFgg1" with glyphs PIXELHEIGHT pixels high, never mixed with another face.
[[nodiscard]] QFont CellFont(int pixelHeight);

// The character that shows glyph CODE in the cell font.
[[nodiscard]] QString GlyphString(GlyphCode code);

// The glyphs of a pattern (one per element, up to the first element no glyph stands for).
[[nodiscard]] QString PatternGlyphString(std::span<const PatternElement> elements);

// The dialog face of the character input pages' small texts, PIXELHEIGHT pixels high.
[[nodiscard]] QFont UiGothicFont(int pixelHeight);

[[nodiscard]] inline QColor ToQColor(Rgb rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

} // namespace varnolt::ui
