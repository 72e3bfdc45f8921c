#include "core/view/ViewLayout.h"

#include <algorithm>

namespace varnolt {

ScrollBarState ViewLayout::ScrollState(const CCaptureData& capture) const {
    ScrollBarState state;
    const CellColumn columns = screen_.columns;
    state.maximum = columns > 0 ? TotalLines(capture) + 1 : 1;
    state.page = screen_.linesPerPage;
    if (capture.empty() || columns <= 0) {
        return state;
    }
    if (display_.mode == DisplayMode::Continuous) {
        state.position = OffsetFromOldest(capture, top_) / columns;
    } else if (const auto line = RecordToLine(capture, top_)) {
        state.position = line->line - 1;
    }
    return state;
}

ScrollBarState ViewLayout::UpdateScrollInfo(const CCaptureData& capture) {
    totalLines_ = TotalLines(capture);
    ScrollBarState state = ScrollState(capture);
    if (state.maximum < state.page) {
        top_ = capture.firstIndex();
        state.position = 0;
    }
    return state;
}

bool ViewLayout::Scroll(const CCaptureData& capture, ScrollRequest request, int32_t trackPosition) {
    if (capture.empty()) {
        return false;
    }
    const ScrollBarState state = ScrollState(capture);
    const bool atEnd = lastDrawn_ == capture.lastIndex();
    int32_t target = 0;
    switch (request) {
    case ScrollRequest::LineUp:
        target = state.position - 1;
        break;
    case ScrollRequest::LineDown:
        if (atEnd) {
            return false;
        }
        target = state.position + 1;
        break;
    case ScrollRequest::PageUp:
        target = state.position <= state.page ? 0 : state.position - state.page;
        break;
    case ScrollRequest::PageDown:
        if (atEnd) {
            return false;
        }
        target = state.position + state.page;
        break;
    case ScrollRequest::Track:
        target = trackPosition;
        break;
    case ScrollRequest::Top:
        target = 0;
        break;
    case ScrollRequest::Bottom:
        if (atEnd) {
            return false;
        }
        target = state.maximum - screen_.linesPerPage;
        break;
    }
    const RingIndex record = LineToRecord(capture, capture.firstIndex(), target, screen_.columns);
    if (record == kNoRecord || record == top_) {
        return false;
    }
    top_ = record;
    return true;
}

bool ViewLayout::BringHitIntoView(const CCaptureData& capture, const HitRange& hit,
                                  SearchCommand command) {
    if (capture.empty() || (IsVisible(hit.first) && IsVisible(hit.last))) {
        return false;
    }
    const RingIndex before = top_;
    if (display_.mode == DisplayMode::Frame) {
        if (const auto line = RecordToLine(capture, hit.first)) {
            top_ = line->record;
        }
        return top_ != before;
    }
    const CellColumn columns = screen_.columns;
    if (columns <= 0) {
        return false;
    }
    const RecordCount records = capture.Count();
    const RecordCount pageCells = screen_.cellsPerPage;
    const int32_t hitLine = OffsetFromOldest(capture, hit.first) / columns;
    const RecordCount hitLineOffset = hitLine * columns;
    const int32_t newestLine = (records - 1) / columns;
    // The last page that still holds the hit's line: it ends with the newest record's line.
    const RingIndex lastPageTop =
        records <= pageCells
            ? capture.firstIndex()
            : RecordAtOffset(capture,
                             std::min(hitLine, newestLine - screen_.linesPerPage + 1) * columns);
    switch (command) {
    case SearchCommand::FindNext:
        top_ = records > pageCells ? RecordAtOffset(capture, hitLineOffset) : capture.firstIndex();
        break;
    case SearchCommand::FindPrevious:
        top_ = lastPageTop;
        break;
    case SearchCommand::Dialog:
        // With less than a page after the hit's line, the page ends with the newest record's
        // line, as for find previous, so the hit is always shown.
        top_ = hitLineOffset + pageCells <= records ? RecordAtOffset(capture, hitLineOffset)
                                                    : lastPageTop;
        break;
    }
    return top_ != before;
}

} // namespace varnolt
