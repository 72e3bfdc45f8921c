#include "core/link/port/RingLineBuffer.h"

#include <algorithm>
#include <array>

namespace varnolt {

RingLineBuffer::RingLineBuffer(size_t capacity) : bytes_(std::max<size_t>(capacity, 1)) {
}

void RingLineBuffer::clear() {
    length_ = 0;
    dropping_ = false;
}

LineRead RingLineBuffer::collect(ReceiveRing& ring) {
    const auto endsLine = [this](std::span<const uint8_t> area, int32_t total) {
        return total > 0 && area[static_cast<size_t>(total) - 1] == kLineFeed;
    };
    while (dropping_ && !ring.empty()) {
        std::array<uint8_t, 1> skipped{};
        (void)ring.take(std::span(skipped), 0, [](int32_t) { return true; });
        dropping_ = skipped[0] != kLineFeed;
    }
    if (dropping_ || (length_ > 0 && bytes_[length_ - 1] == kLineFeed)) {
        return dropping_ ? LineRead::Waiting : LineRead::Complete;
    }
    const std::span<uint8_t> area(bytes_);
    const int32_t taken = ring.take(area, static_cast<int32_t>(length_),
                                    [&](int32_t total) { return endsLine(area, total); });
    length_ += static_cast<size_t>(taken);
    if (length_ > 0 && bytes_[length_ - 1] == kLineFeed) {
        return LineRead::Complete;
    }
    if (length_ == bytes_.size()) {
        length_ = 0;
        dropping_ = true;
        // What followed the overflow may already be here.
        (void)collect(ring);
        return LineRead::Overflow;
    }
    return LineRead::Waiting;
}

} // namespace varnolt
