#include "core/view/LineMap.h"

#include "core/view/RecordWalk.h"

namespace varnolt {

namespace {

const FrameDelimiters& DelimitersOf(const CCaptureData& capture) {
    return capture.header().delimiters;
}

} // namespace

bool LineMap::setMode(DisplayMode mode) {
    const bool changed = mode != mode_;
    mode_ = mode;
    return changed;
}

LineNumber LineMap::CountFrameLines(const CCaptureData& capture, CellColumn columns) {
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

int32_t LineMap::TotalLines(const CCaptureData& capture, CellColumn columns) const {
    if (capture.Count() <= 1) {
        return 0;
    }
    if (mode_ == DisplayMode::Frame) {
        return frameLines_;
    }
    return columns > 0 ? capture.Count() / columns : 0;
}

RingIndex LineMap::WalkToLine(const CCaptureData& capture, RingIndex start, LineNumber startLine,
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

RingIndex LineMap::LineToRecord(const CCaptureData& capture, RingIndex from, int32_t n,
                                CellColumn columns) const {
    if (capture.empty() || from < 0 || from >= capture.capacity() || n < 0) {
        return kNoRecord;
    }
    if (mode_ == DisplayMode::Continuous) {
        const int64_t offset = int64_t{OffsetFromOldest(capture, from)} + int64_t{n} * columns;
        return offset < capture.Count() ? RecordAtOffset(capture, static_cast<RecordCount>(offset))
                                        : kNoRecord;
    }
    if (n == 0) {
        return from;
    }
    if (n == INT32_MAX) {
        return kNoRecord; // no capture holds that many lines
    }
    const LineNumber target = n + 1; // lines counted from 1 at FROM
    if (from == capture.firstIndex() && index_.ValidFor(capture, columns, DelimitersOf(capture))) {
        const FrameLineIndex::Pair start = index_.StartForLine(capture, target);
        return WalkToLine(capture, start.record, start.line, target, columns);
    }
    return WalkToLine(capture, from, 1, target, columns);
}

std::optional<LineStart> LineMap::RecordToLine(const CCaptureData& capture, RingIndex record,
                                               CellColumn columns) const {
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

} // namespace varnolt
