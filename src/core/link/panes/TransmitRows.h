#pragma once

#include "core/view/GlyphCodes.h"

#include <cstddef>
#include <vector>

namespace varnolt {

class CSaParameter;

// What row ROW of the transmit pane shows: in "No." the glyph 8F81 hex + row (the two-digit
// number row + 1 of the cell font), in "送信文字" the entry's characters as the glyphs of its
// pattern text, up to the first element of a kind no glyph stands for.
struct TransmitRow {
    GlyphCode number = 0;
    std::vector<GlyphCode> text;
};

[[nodiscard]] TransmitRow TransmitRowOf(const CSaParameter& settings, size_t row);

} // namespace varnolt
