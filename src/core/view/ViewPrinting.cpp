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

} // namespace

PrintPagination ViewLayout::Paginate(const CCaptureData& capture, DrawingSize size) const {
    return {capture, display_.mode, ComputeGeometry(Surface::Paper, 1, size)};
}

int32_t ViewLayout::PageCount(const CCaptureData& capture, DrawingSize size) const {
    return Paginate(capture, size).PageCount();
}

void ViewLayout::PrintPage(CellCanvas& canvas, const CCaptureData& capture, int32_t pageNumber,
                           DrawingSize size, const std::string& pathName) {
    PrintPagination pagination = Paginate(capture, size);
    PrintPage(canvas, capture, pagination, pageNumber, size, pathName);
}

void ViewLayout::PrintPage(CellCanvas& canvas, const CCaptureData& capture,
                           PrintPagination& pagination, int32_t pageNumber, DrawingSize size,
                           const std::string& pathName) {
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

    if (g.columns <= 0) {
        return;
    }
    const std::optional<PageRecords> page = pagination.Page(pageNumber);
    if (!page) {
        return;
    }
    DrawRequest request;
    request.start = page->start;
    request.cells = page->cells;
    if (frame) {
        request.firstLine = page->firstLine;
    }
    const RingIndex last = page->last;
    PageDrawer(*this, canvas, capture, g, Surface::Paper).Run(request, last);
}

} // namespace varnolt
