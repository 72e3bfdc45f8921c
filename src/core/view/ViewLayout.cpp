#include "core/view/ViewLayout.h"

#include "core/view/RecordWalk.h"

namespace varnolt {

namespace {

const FrameDelimiters& DelimitersOf(const CCaptureData& capture) {
    return capture.header().delimiters;
}

} // namespace

PageGeometry ViewLayout::ComputeGeometry(Surface surface, int32_t pageNumber,
                                         DrawingSize size) const {
    return ComputePageGeometry({surface, display_, controlLines_, pageNumber}, size);
}

void ViewLayout::SetClientSize(DrawingSize size) {
    client_ = size;
    screen_ = ComputeGeometry(Surface::Screen, 1, size);
}

LineNumber ViewLayout::CountFrameLines(const CCaptureData& capture) {
    const CellColumn columns = screen_.columns;
    index_.Clear(capture, columns, DelimitersOf(capture));
    FrameLineWalker walker(columns, DelimitersOf(capture));
    LineNumber lines = 0;
    RecordCount offset = 0;
    WalkRecords(capture, capture.firstIndex(), [&](RingIndex index, RecordWord word) {
        if (walker.Step(word)) {
            ++lines;
            index_.Offer(index, lines, offset);
        }
        ++offset;
        return true;
    });
    frameLines_ = lines;
    return lines;
}

LineNumber ViewLayout::CountLines(const CCaptureData& capture, CellColumn columns) const {
    FrameLineWalker walker(columns, DelimitersOf(capture));
    LineNumber lines = 0;
    WalkRecords(capture, capture.firstIndex(), [&](RingIndex, RecordWord word) {
        lines += walker.Step(word) ? 1 : 0;
        return true;
    });
    return lines;
}

int32_t ViewLayout::TotalLines(const CCaptureData& capture) const {
    if (capture.Count() <= 1) {
        return 0;
    }
    if (display_.mode == DisplayMode::Frame) {
        return frameLines_;
    }
    return screen_.columns > 0 ? capture.Count() / screen_.columns : 0;
}

RingIndex ViewLayout::WalkToLine(const CCaptureData& capture, RingIndex start, LineNumber startLine,
                                 LineNumber target, CellColumn columns) const {
    if (startLine == target) {
        return start;
    }
    FrameLineWalker walker(columns, DelimitersOf(capture));
    walker.StartAtLineStart(DirectionBefore(capture, start));
    LineNumber line = startLine - 1;
    RingIndex found = kNoRecord;
    WalkRecords(capture, start, [&](RingIndex index, RecordWord word) {
        if (walker.Step(word) && ++line == target) {
            found = index;
            return false;
        }
        return true;
    });
    return found;
}

RingIndex ViewLayout::LineToRecord(const CCaptureData& capture, RingIndex from, int32_t n,
                                   CellColumn columns) const {
    if (capture.empty() || from < 0 || n < 0) {
        return kNoRecord;
    }
    if (display_.mode == DisplayMode::Continuous) {
        const int64_t offset = int64_t{OffsetFromOldest(capture, from)} + int64_t{n} * columns;
        return offset < capture.Count() ? RecordAtOffset(capture, static_cast<RecordCount>(offset))
                                        : kNoRecord;
    }
    if (n == 0) {
        return from;
    }
    const LineNumber target = n + 1; // lines counted from 1 at FROM
    if (from == capture.firstIndex() && index_.ValidFor(capture, columns, DelimitersOf(capture))) {
        const FrameLineIndex::Pair start = index_.StartForLine(capture, target);
        return WalkToLine(capture, start.record, start.line, target, columns);
    }
    return WalkToLine(capture, from, 1, target, columns);
}

std::optional<ViewLayout::LineStart> ViewLayout::RecordToLine(const CCaptureData& capture,
                                                              RingIndex record) const {
    return RecordToLine(capture, record, screen_.columns);
}

std::optional<ViewLayout::LineStart>
ViewLayout::RecordToLine(const CCaptureData& capture, RingIndex record, CellColumn columns) const {
    if (capture.empty() || record < 0 || record >= capture.capacity()) {
        return std::nullopt;
    }
    const RecordCount offset = OffsetFromOldest(capture, record);
    if (offset >= capture.Count()) {
        return std::nullopt;
    }
    const FrameLineIndex::Pair start = index_.ValidFor(capture, columns, DelimitersOf(capture))
                                           ? index_.StartForOffset(capture, offset)
                                           : FrameLineIndex::Pair{capture.firstIndex(), 1};
    FrameLineWalker walker(columns, DelimitersOf(capture));
    walker.StartAtLineStart(DirectionBefore(capture, start.record));
    LineStart found{start.record, start.line - 1};
    WalkRecords(capture, start.record, [&](RingIndex index, RecordWord word) {
        if (walker.Step(word)) {
            found = {index, found.line + 1};
        }
        return index != record;
    });
    return found;
}

bool ViewLayout::IsVisible(RingIndex index) const {
    if (top_ <= lastDrawn_) {
        return top_ <= index && index <= lastDrawn_;
    }
    return index >= top_ || index <= lastDrawn_;
}

void ViewLayout::ResetLayout(const CCaptureData& capture, const DisplayState& display,
                             DrawingSize client) {
    if (capture.header().recordWidth == 0) {
        controlLines_ = false;
    }
    display_ = display;
    top_ = capture.firstIndex();
    lastDrawn_ = top_;
    SetClientSize(client);
    CountFrameLines(capture);
    totalLines_ = 0;
    liveColumn_ = 0;
    liveLine_ = 0;
    frameState_ = {};
}

void ViewLayout::Relayout(const CCaptureData& capture, const DisplayState& display,
                          DrawingSize client) {
    if (capture.header().recordWidth == 0) {
        controlLines_ = false;
    }
    display_ = display;
    SetClientSize(client);
    CountFrameLines(capture);
    totalLines_ = TotalLines(capture);
    // A frame page begins with a whole line, also after a switch from continuous display.
    if (display_.mode == DisplayMode::Frame) {
        if (const auto line = RecordToLine(capture, top_)) {
            top_ = line->record;
        }
    }
}

} // namespace varnolt
