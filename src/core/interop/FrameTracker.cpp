#include "core/interop/FrameTracker.h"

namespace varnolt {

std::optional<SerialFrame> FrameTracker::finish() {
    if (!open()) {
        return std::nullopt;
    }
    const SerialFrame frame = current_;
    current_ = SerialFrame{};
    return frame;
}

} // namespace varnolt
