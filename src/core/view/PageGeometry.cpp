#include "core/view/PageGeometry.h"

#include <algorithm>

namespace varnolt {

namespace {

// Cells of one page's extent, never negative.
int32_t Fit(int32_t length, int32_t pitch) {
    return pitch > 0 ? std::max(0, length / pitch) : 0;
}

// Values that differ between screen and paper.
struct SurfaceMetrics {
    int32_t glyphHeight;
    Coordinate leftMargin;
    Coordinate labelX;
    Coordinate stampX; // first stamp cell and continuous data x
    Coordinate cellWidth;
    Coordinate rowPitch;
    Coordinate controlRowPitch;
    Coordinate continuousLinePitch[2]; // without, with control lines
    Coordinate frameLinePitch[2];
};

constexpr SurfaceMetrics kScreen{20, 88, 48, 88, 23, 20, 12, {43, 116}, {22, 96}};
constexpr SurfaceMetrics kPaper{38, 290, 210, 291, 44, 44, 20, {100, 230}, {50, 186}};

// Paper: margin below the last line, and the top margins of page 1 and later pages.
constexpr Coordinate kPaperBottomMargin = 200;
constexpr Coordinate kPaperFirstTopMargin = 300;
constexpr Coordinate kPaperLaterTopMargin = 200;
// Width left of the data area and right of it that no cell may use.
constexpr Coordinate kScreenReservedWidth = 88;
constexpr Coordinate kPaperReservedWidth = 440;
constexpr Coordinate kPaperContinuousRuleInset = 360;

} // namespace

int32_t IdleStampCells(const DisplayState& display) {
    return display.mode == DisplayMode::Frame && display.idleDisplay != 0 ? 3 : 0;
}

int32_t TimeStampCells(const DisplayState& display) {
    if (display.mode != DisplayMode::Frame) {
        return 0;
    }
    switch (display.timeDisplay) {
    case 1:
    case 2:
        return 9;
    case 3:
    case 4:
        return 4;
    case 5:
        return 6;
    default:
        return 0;
    }
}

PageGeometry ComputePageGeometry(const GeometryInputs& inputs, DrawingSize size) {
    const bool paper = inputs.surface == Surface::Paper;
    const bool frame = inputs.display.mode == DisplayMode::Frame;
    const SurfaceMetrics& m = paper ? kPaper : kScreen;
    const int32_t idleCells = IdleStampCells(inputs.display);
    const int32_t timeCells = TimeStampCells(inputs.display);

    PageGeometry g;
    g.ySign = paper ? -1 : 1;
    g.glyphHeight = m.glyphHeight;
    g.leftMargin = m.leftMargin;
    g.labelX = m.labelX;
    g.cellWidth = m.cellWidth;
    g.rowPitch = m.rowPitch;
    g.controlRowPitch = m.controlRowPitch;
    g.linePitch = (frame ? m.frameLinePitch : m.continuousLinePitch)[inputs.controlLines ? 1 : 0];
    g.idleX = m.stampX;
    g.timeX = m.stampX + idleCells * m.cellWidth;
    g.dataX = frame ? g.timeX + timeCells * m.cellWidth : m.stampX;

    const Coordinate reserved = paper ? kPaperReservedWidth : kScreenReservedWidth;
    g.columns = std::max(0, Fit(size.width - reserved, m.cellWidth) - idleCells - timeCells);
    if (paper) {
        g.ruleWidth = size.width - (frame ? kPaperReservedWidth : kPaperContinuousRuleInset);
        g.topMargin = inputs.pageNumber == 1 ? kPaperFirstTopMargin : kPaperLaterTopMargin;
        g.pageHeight = size.height - g.topMargin - kPaperBottomMargin;
        g.firstPageCells =
            g.columns * Fit(size.height - kPaperFirstTopMargin - kPaperBottomMargin, g.linePitch);
        g.laterPageCells =
            g.columns * Fit(size.height - kPaperLaterTopMargin - kPaperBottomMargin, g.linePitch);
    } else {
        g.ruleWidth = size.width;
        g.topMargin = 0;
        g.pageHeight = size.height;
    }
    g.linesPerPage = Fit(g.pageHeight, g.linePitch);
    g.cellsPerPage = g.columns * g.linesPerPage;
    return g;
}

} // namespace varnolt
