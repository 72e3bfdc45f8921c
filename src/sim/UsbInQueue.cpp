#include "sim/UsbInQueue.h"

#include <algorithm>
#include <cstring>

namespace varnolt::sim {

void UsbInQueue::Push(std::span<const uint8_t> bytes, uint32_t now, uint32_t delayMs) {
    if (bytes.empty()) {
        return;
    }
    packets_.push_back({std::vector<uint8_t>(bytes.begin(), bytes.end()), 0, now, delayMs});
    queuedBytes_ += bytes.size();
}

uint32_t UsbInQueue::readable(uint32_t now) const {
    if (packets_.empty() || !packets_.front().due(now)) {
        return 0;
    }
    const Packet& first = packets_.front();
    return static_cast<uint32_t>(first.bytes.size() - first.taken);
}

uint32_t UsbInQueue::Read(std::span<uint8_t> destination, uint32_t now) {
    size_t copied = 0;
    while (copied < destination.size() && !packets_.empty() && packets_.front().due(now)) {
        Packet& first = packets_.front();
        const size_t step = std::min(destination.size() - copied, first.bytes.size() - first.taken);
        std::memcpy(destination.data() + copied, first.bytes.data() + first.taken, step);
        first.taken += step;
        copied += step;
        queuedBytes_ -= step;
        if (first.taken == first.bytes.size()) {
            packets_.pop_front();
        }
    }
    return static_cast<uint32_t>(copied);
}

void UsbInQueue::Clear() {
    packets_.clear();
    queuedBytes_ = 0;
}

} // namespace varnolt::sim
