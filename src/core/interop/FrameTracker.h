#pragma once

#include "core/interop/CaptureTimeline.h"

#include <optional>

namespace varnolt {

// The characters and errors of one direction that frame display shows on one line.
struct SerialFrame {
    LineDirection direction = LineDirection::None;
    LocalNs start = 0;     // when its first item began
    LocalNs end = 0;       // when its last item ended
    uint16_t lines = 0;    // the control-line states at its first item
    RecordCount items = 0; // characters and errors in it
};

// Gathers the timeline's items into frames: a frame ends where frame display starts a new
// line (a change of direction, an idle gap or time stamp, a record the analyzer flagged as
// starting a line after its frame detection time, a start or end delimiter).
class FrameTracker {
public:
    // Feeds ITEM, in timeline order. Returns the frame that ITEM's new line closes, which comes
    // before ITEM itself.
    [[nodiscard]] std::optional<SerialFrame> add(const TimedItem& item) {
        std::optional<SerialFrame> closed;
        add(item, [&closed](const SerialFrame& frame) { closed = frame; });
        return closed;
    }
    // As add(ITEM), handing the frame ITEM closes to CLOSED rather than returning a copy.
    template <typename Closed>
    void add(const TimedItem& item, Closed&& closed);
    // The frame still open after the last item, and no frame is open any more.
    [[nodiscard]] std::optional<SerialFrame> finish();

    [[nodiscard]] bool open() const { return current_.items > 0; }
    [[nodiscard]] const SerialFrame& current() const { return current_; }

private:
    SerialFrame current_;
};

// add() runs for every item of a walk: it is inline.
template <typename Closed>
void FrameTracker::add(const TimedItem& item, Closed&& closed) {
    if (item.newLine && open()) {
        closed(static_cast<const SerialFrame&>(current_));
        current_ = SerialFrame{};
    }
    if (item.kind == TimedItemKind::Character || item.kind == TimedItemKind::Error) {
        if (!open()) {
            current_.direction = item.direction;
            current_.start = item.start;
            current_.lines = item.lines;
        }
        current_.items += item.count;
        current_.end = item.end;
    }
}

} // namespace varnolt
