#include "core/view/CGrphMain.h"

#include "core/capture/RecordWord.h"

namespace varnolt {

namespace {

// Size of the graph of one control line within a cell.
struct ControlRowMetrics {
    Coordinate firstRowOffset; // from AT down to the top of the first row
    Coordinate halfWidth;      // each half of the cell
    Coordinate bandHeight;     // filled pattern
    Coordinate lowLevel;       // line pattern: the level of a state other than on, below the top
};

constexpr ControlRowMetrics kScreenRows{2, 12, 9, 8};
constexpr ControlRowMetrics kPaperRows{4, 22, 10, 10};

const ControlRowMetrics& RowsFor(Surface surface) {
    return surface == Surface::Paper ? kPaperRows : kScreenRows;
}

Rgb BandColour(LineState state) {
    switch (state) {
    case LineState::On:
        return kLineOnColour;
    case LineState::Off:
        return kLineOffColour;
    default:
        return kLineUnknownColour;
    }
}

// Top of row ROW, moving down the surface.
Coordinate RowTop(CanvasPoint at, int row, Coordinate rowPitch, const ControlRowMetrics& m,
                  int32_t ySign) {
    return at.y + ySign * (m.firstRowOffset + row * rowPitch);
}

} // namespace

void CGrphMain::DrawGlyph(CellCanvas& canvas, CanvasPoint at, int32_t height, CellColours colours,
                          uint8_t value, GlyphSet set) const {
    DrawCode(canvas, at, height, colours, CellGlyphCode(set, value));
}

void CGrphMain::DrawCode(CellCanvas& canvas, CanvasPoint at, int32_t height, CellColours colours,
                         GlyphCode code) const {
    canvas.DrawGlyph(at, FontHeight(height), colours.text, colours.background, code);
}

void CGrphMain::EraseCell(CellCanvas& canvas, CanvasPoint at, int32_t height) const {
    DrawCode(canvas, at, height, kBlankColours, kEmptyCellGlyph);
}

void CGrphMain::EraseControlLines(CellCanvas& canvas, CanvasPoint at, Coordinate rowPitch,
                                  Surface surface) const {
    const ControlRowMetrics& m = RowsFor(surface);
    const int32_t ySign = surface == Surface::Paper ? -1 : 1;
    for (int row = 0; row < kControlLineCount; ++row) {
        const Coordinate top = RowTop(at, row, rowPitch, m, ySign);
        const Coordinate bottom = top + ySign * m.bandHeight;
        canvas.DrawRect({at.x, top}, {at.x + m.halfWidth, bottom}, kWhite, kWhite);
        canvas.DrawRect({at.x + m.halfWidth, top}, {at.x + 2 * m.halfWidth, bottom}, kWhite,
                        kWhite);
    }
}

void CGrphMain::DrawControlLines(CellCanvas& canvas, CanvasPoint at, Coordinate rowPitch,
                                 uint16_t left, uint16_t right, Surface surface,
                                 LinePattern pattern) const {
    if (pattern != LinePattern::Line && pattern != LinePattern::Filled) {
        return;
    }
    const ControlRowMetrics& m = RowsFor(surface);
    const int32_t ySign = surface == Surface::Paper ? -1 : 1;
    if (pattern == LinePattern::Line) {
        EraseControlLines(canvas, at, rowPitch, surface);
    }
    const Coordinate middle = at.x + m.halfWidth;
    const Coordinate end = at.x + 2 * m.halfWidth;
    for (int row = 0; row < kControlLineCount; ++row) {
        const auto line = static_cast<ControlLine>(row);
        const LineState leftState = LineStateOf(left, line);
        const LineState rightState = LineStateOf(right, line);
        const Coordinate top = RowTop(at, row, rowPitch, m, ySign);
        if (pattern == LinePattern::Filled) {
            const Coordinate bottom = top + ySign * m.bandHeight;
            const Rgb leftColour = BandColour(leftState);
            const Rgb rightColour = BandColour(rightState);
            canvas.DrawRect({at.x, top}, {middle, bottom}, leftColour, leftColour);
            canvas.DrawRect({middle, top}, {end, bottom}, rightColour, rightColour);
            continue;
        }
        const auto level = [&](LineState state) {
            return state == LineState::On ? top : top + ySign * m.lowLevel;
        };
        const Coordinate leftLevel = level(leftState);
        const Coordinate rightLevel = level(rightState);
        canvas.DrawLine({at.x, leftLevel}, {middle, leftLevel}, kBlack, 1);
        if (leftLevel != rightLevel) {
            canvas.DrawLine({middle, leftLevel}, {middle, rightLevel}, kBlack, 1);
        }
        canvas.DrawLine({middle, rightLevel}, {end, rightLevel}, kBlack, 1);
    }
}

void DrawLabelText(CellCanvas& canvas, CanvasPoint at, int32_t height, CellColours colours,
                   std::string_view text) {
    canvas.DrawLabel(at, height, colours.text, colours.background, text);
}

} // namespace varnolt
