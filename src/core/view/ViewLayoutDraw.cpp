#include "core/view/PageDrawer.h"
#include "core/view/ViewLayout.h"

#include <algorithm>

namespace varnolt {

namespace {

constexpr int32_t kScreenRowLabelHeight = 17;
constexpr int32_t kScreenControlLabelHeight = 10;

// Screen colours of the control-line labels: the output lines like SD, the input lines like RD.
CellColours ControlLabelColours(int row) {
    return row < 2 ? kSdColours : kRdColours;
}

// Records from INDEX to the newest; none when INDEX is the slot after the newest record (in a
// full ring that slot holds the oldest record).
RecordCount RecordsFrom(const CCaptureData& capture, RingIndex index) {
    if (capture.empty() || index < 0 || index >= capture.capacity() ||
        index == capture.WrapIndex(capture.lastIndex(), 1)) {
        return 0;
    }
    return std::max(0, capture.Count() - OffsetFromOldest(capture, index));
}

} // namespace

RingIndex ViewLayout::PageRangeEnd(const CCaptureData& capture, RingIndex start,
                                   const PageGeometry& geometry) const {
    if (display_.mode == DisplayMode::Continuous) {
        return capture.Advance(start, geometry.cellsPerPage - 1);
    }
    const RingIndex next = LineToRecord(capture, start, geometry.linesPerPage, geometry.columns);
    return next == kNoRecord ? capture.lastIndex() : capture.WrapIndex(next, -1);
}

void ViewLayout::DrawGrid(CellCanvas& canvas) const {
    const PageGeometry& g = screen_;
    for (Coordinate x = g.leftMargin - 2; x < g.ruleWidth; x += g.cellWidth) {
        canvas.DrawLine({x, 0}, {x, g.pageHeight}, kWhite, 1);
    }
    if (g.linePitch > 0) {
        for (Coordinate y = g.topMargin - 2; y < g.pageHeight; y += g.linePitch) {
            canvas.DrawLine({0, y}, {g.ruleWidth, y}, kWhite, 1);
        }
    }
    const bool frame = display_.mode == DisplayMode::Frame;
    for (PageLine line = 0; g.linePitch > 0; ++line) {
        const Coordinate y0 = g.topMargin + line * g.linePitch;
        if (y0 >= g.pageHeight) {
            break;
        }
        if (!frame) {
            canvas.DrawLine({0, y0 - 3}, {g.ruleWidth, y0 - 3}, kBlack, 1);
            canvas.DrawLine({0, y0 - 1}, {g.ruleWidth, y0 - 1}, kBlack, 1);
        }
        // A line cut off by the window's bottom edge is no page line and holds no records, so
        // it gets no labels either (as on paper): they would look like an empty line.
        if (line >= g.linesPerPage) {
            break;
        }
        if (!frame) {
            DrawLabelText(canvas, {g.labelX, y0 + 2}, kScreenRowLabelHeight, kSdColours, " SD ");
            DrawLabelText(canvas, {g.labelX, y0 + g.rowPitch + 1}, kScreenRowLabelHeight,
                          kRdColours, " RD ");
        }
        if (controlLines_) {
            const Coordinate first = y0 + (frame ? 1 : 2) * g.rowPitch + 1;
            for (int row = 0; row < kControlLineCount; ++row) {
                DrawLabelText(canvas, {g.labelX, first + row * g.controlRowPitch},
                              kScreenControlLabelHeight, ControlLabelColours(row),
                              kControlLineLabels[row]);
            }
        }
    }
}

DrawEnd ViewLayout::Apply(const PageDrawResult& drawn, const DrawRequest& request) {
    if (drawn.top) {
        top_ = *drawn.top;
    }
    if (drawn.lastDrawn != kNoRecord) {
        lastDrawn_ = drawn.lastDrawn;
    }
    // Live drawing and the drawing after an overflow mark hand their line state on.
    if (request.live || !request.restart) {
        frameState_ = drawn.frameState;
    }
    return drawn.end;
}

DrawEnd ViewLayout::Draw(CellCanvas& canvas, const CCaptureData& capture,
                         const DrawRequest& request) {
    if (capture.empty() || request.start < 0) {
        return {request.column, request.line};
    }
    const RingIndex last = PageRangeEnd(capture, request.start, screen_);
    return Apply(PageDrawer(*this, canvas, capture, screen_, Surface::Screen)
                     .Run(request, last, frameState_),
                 request);
}

DrawEnd ViewLayout::Paint(CellCanvas& canvas, const CCaptureData& capture, const HitRange* hit) {
    totalLines_ = TotalLines(capture);
    DrawGrid(canvas);
    DrawRequest request;
    request.start = top_;
    request.cells = screen_.cellsPerPage;
    request.hit = hit;
    return Draw(canvas, capture, request);
}

void ViewLayout::DrawFromLivePosition(CellCanvas& canvas, const CCaptureData& capture,
                                      RingIndex first, bool restart, bool live) {
    const RecordCount waiting = RecordsFrom(capture, first);
    if (waiting <= 0) {
        return;
    }
    DrawRequest request;
    request.start = first;
    request.cells = std::min(waiting, screen_.cellsPerPage);
    request.restart = restart;
    request.live = live;
    request.numberFromFirstAppended = true;
    request.column = liveColumn_;
    request.line = liveLine_;
    const DrawEnd end = Draw(canvas, capture, request);
    liveColumn_ = end.column;
    liveLine_ = end.line;
}

void ViewLayout::DrawReceived(CellCanvas& canvas, const CCaptureData& capture, RingIndex first,
                              bool firstBlock) {
    DrawFromLivePosition(canvas, capture, first, firstBlock, true);
}

void ViewLayout::DrawAfterOverflow(CellCanvas& canvas, const CCaptureData& capture,
                                   RingIndex first) {
    DrawFromLivePosition(canvas, capture, first, false, false);
}

void ViewLayout::DrawLive(CellCanvas& canvas, const CCaptureData& capture, RingIndex nextToDraw) {
    DrawGrid(canvas);
    if (capture.empty()) {
        return;
    }
    const RecordCount pageCells = screen_.cellsPerPage;
    const CellColumn columns = screen_.columns;
    DrawRequest request;
    if (display_.mode == DisplayMode::Frame) {
        request.start = top_;
        request.cells = pageCells;
        Draw(canvas, capture, request);
        return;
    }
    request.numberFromFirstAppended = true;
    if (!capture.wrapped() && capture.Count() < pageCells) {
        request.start = capture.firstIndex();
        request.cells = capture.Count();
        Draw(canvas, capture, request);
        return;
    }
    if (pageCells <= 0) {
        return;
    }
    // Redraw the newest records so that they end at the live position, the page being a ring of
    // lines that starts after the live line.
    const RecordCount livePosition = (liveLine_ * columns + liveColumn_) % pageCells;
    const PageLine firstLine = (liveLine_ + 1) % screen_.linesPerPage;
    const RecordCount cells =
        std::min((livePosition - firstLine * columns + pageCells) % pageCells, capture.Count());
    if (cells > 0) {
        request.start = capture.WrapIndex(nextToDraw, -cells);
        request.cells = cells;
        request.live = true;
        request.line = firstLine;
        Apply(PageDrawer(*this, canvas, capture, screen_, Surface::Screen)
                  .Run(request, capture.WrapIndex(nextToDraw, -1), frameState_),
              request);
    }
    PageDrawer(*this, canvas, capture, screen_, Surface::Screen)
        .EraseLineFrom(liveColumn_, liveLine_);
}

void ViewLayout::RelayoutLive(CellCanvas& canvas, const CCaptureData& capture,
                              RingIndex nextToDraw) {
    const CellColumn columns = screen_.columns;
    const RecordCount pageCells = screen_.cellsPerPage;
    if (capture.empty() || columns <= 0 || pageCells <= 0) {
        liveColumn_ = 0;
        liveLine_ = 0;
        DrawGrid(canvas);
        return;
    }
    if (display_.mode == DisplayMode::Continuous) {
        // The old live position may lie outside the new page. Place it where the newest record
        // would end had the whole measurement been drawn on this page, which is also where the
        // repaint of a page that is not yet full puts it.
        const auto position =
            static_cast<RecordCount>((capture.overwritten() + capture.Count()) % pageCells);
        liveLine_ = position / columns;
        liveColumn_ = position % columns;
        DrawLive(canvas, capture, nextToDraw);
        return;
    }
    // Frame display: the page starts with the first line from which the newest record still
    // fits on it, searched from the old top record onwards (the live page never held more).
    DrawGrid(canvas);
    RingIndex start = RecordsFrom(capture, top_) > 0 ? top_ : capture.firstIndex();
    for (;;) {
        if (LineToRecord(capture, start, screen_.linesPerPage, columns) == kNoRecord) {
            break;
        }
        const RingIndex next = LineToRecord(capture, start, 1, columns);
        if (next == kNoRecord) {
            break;
        }
        start = next;
    }
    DrawRequest request;
    request.start = start;
    request.cells = RecordsFrom(capture, start);
    request.live = true; // keeps the break state for the blocks still to come
    const DrawEnd end = Draw(canvas, capture, request);
    liveColumn_ = end.column;
    liveLine_ = end.line;
}

void ViewLayout::DrawLiveIdle(CellCanvas& canvas, const CCaptureData& capture, RingIndex nextToDraw,
                              int32_t idleDisplay, uint32_t idleValue) {
    const CellColumn columns = screen_.columns;
    if (display_.mode != DisplayMode::Continuous || idleDisplay == 0 || columns <= 0 ||
        screen_.linesPerPage <= 0 || nextToDraw < 0) {
        return;
    }
    PageDrawer drawer(*this, canvas, capture, screen_, Surface::Screen);
    RecordCount distance = nextToDraw - top_;
    if (distance < 0) {
        distance += capture.capacity();
    }
    PageLine line = distance / columns;
    CellColumn column = distance % columns;
    if (line >= screen_.linesPerPage) {
        line = 0;
        column = 0;
    }
    if (!capture.empty()) {
        drawer.DrawContinuousLineNumbers(line,
                                         OffsetFromFirstAppended(capture, top_) + line * columns);
    }
    constexpr int kIndicatorCells = 3;
    for (int part = 0; part < kIndicatorCells; ++part) {
        if (column >= columns) {
            drawer.EraseLineFrom(columns, line);
            column = 0;
            line = (line + 1) % screen_.linesPerPage;
        }
        drawer.DrawLiveIdleCell(column, line, part, idleDisplay, idleValue);
        ++column;
    }
    drawer.EraseLineFrom(column, line);
}

} // namespace varnolt
