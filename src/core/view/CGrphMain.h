#pragma once

#include "core/capture/RecordWord.h"
#include "core/view/CellCanvas.h"
#include "core/view/CellColours.h"
#include "core/view/GlyphCodes.h"
#include "core/view/ViewTypes.h"

#include <cstdint>
#include <string_view>

namespace varnolt {

// The row labels of the six control lines, top to bottom.
inline constexpr const char* kControlLineLabels[kControlLineCount] = {
    "  R S  ", "  E R  ", "  C S  ", "  D R  ", "  C D  ", "  C I  "};

// The cell painter: turns cell contents into glyph codes of the cell font and draws them, and
// draws the six-row control-line graph of a cell. The font itself belongs to the canvas; the
// painter only chooses its size: 20 for screen cells, 38 for printed ones.
class CGrphMain {
public:
    static constexpr int32_t kSmallGlyphHeight = 20;
    static constexpr int32_t kLargeGlyphHeight = 38;

    // The font size a draw call of HEIGHT uses.
    [[nodiscard]] static int32_t FontHeight(int32_t height) {
        return height <= kSmallGlyphHeight ? kSmallGlyphHeight : kLargeGlyphHeight;
    }

    // VALUE of glyph SET at AT.
    void DrawGlyph(CellCanvas& canvas, CanvasPoint at, int32_t height, CellColours colours,
                   uint8_t value, GlyphSet set) const;
    // A glyph given by its code (the idle and time-stamp tables produce codes).
    void DrawCode(CellCanvas& canvas, CanvasPoint at, int32_t height, CellColours colours,
                  GlyphCode code) const;
    // The empty-cell glyph white on white.
    void EraseCell(CellCanvas& canvas, CanvasPoint at, int32_t height) const;

    // The six control-line rows of one cell whose first row lies just below AT: LEFT states in
    // the left half, RIGHT states in the right half (six 2-bit states, RS lowest). ROWPITCH is
    // the distance from one row to the next.
    void DrawControlLines(CellCanvas& canvas, CanvasPoint at, Coordinate rowPitch, uint16_t left,
                          uint16_t right, Surface surface, LinePattern pattern) const;
    // The six rows white, as the line pattern clears them before drawing.
    void EraseControlLines(CellCanvas& canvas, CanvasPoint at, Coordinate rowPitch,
                           Surface surface) const;
};

// A label text (UTF-8) with an opaque background, in the label face of character height HEIGHT.
void DrawLabelText(CellCanvas& canvas, CanvasPoint at, int32_t height, CellColours colours,
                   std::string_view text);

} // namespace varnolt
