#include "core/link/port/ReceiveRing.h"

#include "core/link/protocol/FrameTerminator.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace varnolt {

ReceiveRing::ReceiveRing(int32_t capacity)
    : capacity_(std::max<int32_t>(capacity, 2)), bytes_(static_cast<size_t>(capacity_)) {
}

ReceiveRing& ReceiveRing::processRing() {
    static ReceiveRing ring;
    return ring;
}

int32_t ReceiveRing::freeBytes() const {
    const RingBytePos read = read_.load(std::memory_order_acquire);
    const RingBytePos write = write_.load(std::memory_order_relaxed);
    const int32_t unread = write >= read ? write - read : write + capacity_ - read;
    return capacity_ - 1 - unread;
}

void ReceiveRing::append(std::span<const uint8_t> bytes) {
    assert(bytes.size() <= static_cast<size_t>(freeBytes()));
    const RingBytePos write = write_.load(std::memory_order_relaxed);
    // A chunk that straddles the end is split across the end and the start.
    const size_t first = std::min(bytes.size(), static_cast<size_t>(capacity_ - write));
    std::memcpy(bytes_.data() + write, bytes.data(), first);
    std::memcpy(bytes_.data(), bytes.data() + first, bytes.size() - first);
    const auto advanced = static_cast<int64_t>(write) + static_cast<int64_t>(bytes.size());
    write_.store(static_cast<RingBytePos>(advanced % capacity_), std::memory_order_release);
}

bool ReceiveRing::empty() const {
    return read_.load(std::memory_order_relaxed) == write_.load(std::memory_order_acquire);
}

int32_t ReceiveRing::unreadBytes() const {
    const RingBytePos read = read_.load(std::memory_order_relaxed);
    const RingBytePos write = write_.load(std::memory_order_acquire);
    return write >= read ? write - read : write + capacity_ - read;
}

void ReceiveRing::discard() {
    read_.store(write_.load(std::memory_order_acquire), std::memory_order_release);
}

void ReceiveRing::reset() {
    write_.store(0, std::memory_order_release);
    read_.store(0, std::memory_order_release);
}

RingReadStatus ReadRing(ReceiveRing& ring, std::span<uint8_t> area, int32_t used, int32_t& count) {
    count = 0;
    if (ring.empty()) {
        return RingReadStatus::Nothing;
    }
    used = std::clamp<int32_t>(used, 0, static_cast<int32_t>(area.size()));
    const auto stopAfter = [area](int32_t total) {
        if (total >= kAnswerAreaLimit) {
            return true;
        }
        // The terminator must follow at least one byte to end a frame here.
        return total >= 5 && EndsWithTerminator(area.first(static_cast<size_t>(total)));
    };
    count = ring.take(area, used, stopAfter);
    const int32_t total = used + count;
    if (total >= kAnswerAreaLimit) {
        return RingReadStatus::AreaFull;
    }
    const bool roomLeft = static_cast<size_t>(total) < area.size();
    return roomLeft || EndsWithTerminator(area.first(static_cast<size_t>(total)))
               ? RingReadStatus::Taken
               : RingReadStatus::AreaFull;
}

void DiscardInput(ReceiveRing& ring) {
    ring.discard();
}

} // namespace varnolt
