#include "core/interop/FrameTracker.h"

namespace varnolt {

std::optional<SerialFrame> FrameTracker::add(const TimedItem& item) {
    std::optional<SerialFrame> closed;
    if (item.newLine && open()) {
        closed = finish();
    }
    if (item.kind == TimedItemKind::Character || item.kind == TimedItemKind::Error) {
        if (!open()) {
            current_.direction = item.direction;
            current_.start = item.start;
            current_.lines = item.lines;
        }
        ++current_.items;
        current_.end = item.end;
    }
    return closed;
}

std::optional<SerialFrame> FrameTracker::finish() {
    if (!open()) {
        return std::nullopt;
    }
    const SerialFrame frame = current_;
    current_ = SerialFrame{};
    return frame;
}

} // namespace varnolt
