#include "core/view/PageDrawer.h"
#include "core/view/PrintHeader.h"
#include "core/view/ViewLayout.h"

#include <algorithm>

namespace varnolt {

namespace {

constexpr int32_t kHeaderTextHeight = 30;
constexpr int32_t kRowLabelHeight = 38;
constexpr int32_t kControlLabelHeight = 20;
constexpr Coordinate kHeaderX = 300;
constexpr Coordinate kFileNameY = -150;
constexpr Coordinate kLineModeY = -190;
constexpr Coordinate kConditionsY = -230;

// 1 for what fits on page 1, plus the later pages for the rest.
int32_t PagesFor(int64_t amount, int64_t firstPage, int64_t laterPage) {
    if (amount <= firstPage || laterPage <= 0) {
        return 1;
    }
    return static_cast<int32_t>(1 + (amount - firstPage + laterPage - 1) / laterPage);
}

} // namespace

int32_t ViewLayout::PageCount(const CCaptureData& capture, DrawingSize size) const {
    const PageGeometry g = ComputeGeometry(Surface::Paper, 1, size);
    if (display_.mode == DisplayMode::Continuous) {
        return PagesFor(capture.Count(), g.firstPageCells, g.laterPageCells);
    }
    if (g.columns <= 0) {
        return 1;
    }
    return PagesFor(lines_.CountLines(capture, g.columns), g.firstPageCells / g.columns,
                    g.laterPageCells / g.columns);
}

void ViewLayout::PrintPage(CellCanvas& canvas, const CCaptureData& capture, int32_t pageNumber,
                           DrawingSize size, const std::string& pathName) {
    print_ = ComputeGeometry(Surface::Paper, pageNumber, size);
    const PageGeometry& g = print_;

    DrawLabelText(canvas, {kHeaderX, kFileNameY}, kHeaderTextHeight, kPlainColours,
                  PrintFileNameText(pathName));
    DrawLabelText(canvas, {size.width - kHeaderX, kFileNameY}, kHeaderTextHeight, kPlainColours,
                  PrintPageNumberText(pageNumber));
    if (pageNumber == 1) {
        const std::string mode = PrintLineModeText(capture.header());
        if (!mode.empty()) {
            DrawLabelText(canvas, {kHeaderX, kLineModeY}, kHeaderTextHeight, kPlainColours, mode);
        }
        DrawLabelText(canvas, {kHeaderX, kConditionsY}, kHeaderTextHeight, kPlainColours,
                      PrintConditionsText(capture.header()));
    }

    const bool frame = display_.mode == DisplayMode::Frame;
    for (Coordinate y0 = g.topMargin; g.linePitch > 0 && y0 < g.topMargin + g.pageHeight;
         y0 += g.linePitch) {
        if (!frame) {
            canvas.DrawLine({g.labelX, -(y0 - 10)}, {g.labelX + g.ruleWidth, -(y0 - 10)}, kBlack,
                            2);
        }
        if (y0 + g.linePitch > g.topMargin + g.pageHeight) {
            continue;
        }
        if (!frame) {
            DrawLabelText(canvas, {g.labelX, -y0}, kRowLabelHeight, kPlainColours, " SD ");
            DrawLabelText(canvas, {g.labelX, -(y0 + g.rowPitch)}, kRowLabelHeight, kPlainColours,
                          " RD ");
        }
        if (controlLines_) {
            const Coordinate first = y0 + (frame ? 1 : 2) * g.rowPitch;
            for (int row = 0; row < kControlLineCount; ++row) {
                DrawLabelText(canvas, {g.labelX, -(first + row * g.controlRowPitch)},
                              kControlLabelHeight, kPlainColours, kControlLineLabels[row]);
            }
        }
    }

    if (capture.empty() || g.columns <= 0 || pageNumber < 1) {
        return;
    }
    DrawRequest request;
    RingIndex last = kNoRecord;
    if (!frame) {
        const int64_t startOffset =
            pageNumber == 1 ? 0 : int64_t{pageNumber - 2} * g.laterPageCells + g.firstPageCells;
        if (startOffset >= capture.Count()) {
            return;
        }
        request.start = RecordAtOffset(capture, static_cast<RecordCount>(startOffset));
        request.cells = pageNumber == 1 ? g.firstPageCells : g.laterPageCells;
        last = capture.Advance(request.start, request.cells - 1);
    } else {
        const int64_t firstLines = g.firstPageCells / g.columns;
        const int64_t laterLines = g.laterPageCells / g.columns;
        const int64_t startLine =
            pageNumber == 1 ? 0 : firstLines + int64_t{pageNumber - 2} * laterLines;
        const int64_t lines = pageNumber == 1 ? firstLines : laterLines;
        if (startLine + lines > INT32_MAX) {
            return;
        }
        const RingIndex oldest = capture.firstIndex();
        request.start = LineToRecord(capture, oldest, static_cast<int32_t>(startLine), g.columns);
        if (request.start == kNoRecord) {
            return;
        }
        const RingIndex next =
            LineToRecord(capture, request.start, static_cast<int32_t>(lines), g.columns);
        last = next == kNoRecord ? capture.lastIndex() : capture.WrapIndex(next, -1);
        request.cells = capture.Count();
    }
    PageDrawer(*this, canvas, capture, g, Surface::Paper).Run(request, last);
}

} // namespace varnolt
