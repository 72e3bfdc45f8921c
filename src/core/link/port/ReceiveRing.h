#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

namespace varnolt {

// A byte position in the receive ring, 0 .. capacity − 1 (not a record: records have RingIndex).
using RingBytePos = int32_t;

// The bytes the USB reader thread has taken from the bridge and the protocol layer has not yet
// read. One reader thread appends (the producer), the user-interface thread reads (the
// consumer); the indexes are atomics and the write index is published only after a whole chunk
// is in place, so neither side ever waits for the other.
//
// The ring is empty when both indexes are equal, so it holds at most capacity − 1 unread bytes.
// The producer never overwrites unread bytes: it takes no more from the bridge than freeBytes()
// allows, and the bridge keeps the rest until the consumer makes room.
class ReceiveRing {
public:
    static constexpr int32_t kCapacity = 400'000;

    explicit ReceiveRing(int32_t capacity = kCapacity);
    ReceiveRing(const ReceiveRing&) = delete;
    ReceiveRing& operator=(const ReceiveRing&) = delete;

    // The ring every port feeds unless it is given one of its own.
    [[nodiscard]] static ReceiveRing& processRing();

    [[nodiscard]] int32_t capacity() const { return capacity_; }

    // Producer side. Room for bytes without touching unread ones.
    [[nodiscard]] int32_t freeBytes() const;
    // Copies BYTES in at the write index, wrapping at the end, then publishes the new write
    // index. BYTES must fit in freeBytes().
    void append(std::span<const uint8_t> bytes);

    // Consumer side.
    [[nodiscard]] bool empty() const;
    [[nodiscard]] int32_t unreadBytes() const;
    // Drops every byte that arrived before the call; safe while the producer appends.
    void discard();

    // Both indexes to 0. Only while no producer runs (a port that is opening).
    void reset();

    [[nodiscard]] RingBytePos readIndex() const { return read_.load(std::memory_order_acquire); }
    [[nodiscard]] RingBytePos writeIndex() const { return write_.load(std::memory_order_acquire); }

    // Takes bytes for ReadRing: copies from the read index into AREA one at a time, each time
    // asking STOP_AFTER(bytes now in AREA) whether to stop, and stops too when the ring runs
    // empty. Returns the number of bytes taken.
    template <typename StopAfter>
    int32_t take(std::span<uint8_t> area, int32_t used, StopAfter stopAfter);

private:
    [[nodiscard]] RingBytePos next(RingBytePos index) const {
        return index + 1 == capacity_ ? 0 : index + 1;
    }

    int32_t capacity_;
    std::vector<uint8_t> bytes_;
    std::atomic<RingBytePos> write_{0};
    std::atomic<RingBytePos> read_{0};
};

template <typename StopAfter>
int32_t ReceiveRing::take(std::span<uint8_t> area, int32_t used, StopAfter stopAfter) {
    const RingBytePos end = write_.load(std::memory_order_acquire);
    RingBytePos read = read_.load(std::memory_order_relaxed);
    int32_t taken = 0;
    while (read != end && static_cast<size_t>(used) < area.size()) {
        area[static_cast<size_t>(used++)] = bytes_[static_cast<size_t>(read)];
        read = next(read);
        ++taken;
        if (stopAfter(used)) {
            break;
        }
    }
    read_.store(read, std::memory_order_release);
    return taken;
}

// What ReadRing found.
enum class RingReadStatus : int32_t {
    Nothing = 0,  // the ring was empty; nothing appended
    Taken = 1,    // bytes appended; the area ends with the frame terminator or the ring ran dry
    AreaFull = 2, // the area reached kAnswerAreaLimit bytes
};

// The most bytes ReadRing puts into an answer area.
inline constexpr int32_t kAnswerAreaLimit = 149'992;

// Appends bytes from RING to AREA at offset USED, stopping after a frame terminator that
// follows at least one byte, when the ring runs empty, or when the area holds kAnswerAreaLimit
// bytes (or is full). COUNT is the number of bytes appended.
[[nodiscard]] RingReadStatus ReadRing(ReceiveRing& ring, std::span<uint8_t> area, int32_t used,
                                      int32_t& count);

// Empties RING: bytes that arrived before the call are never delivered.
void DiscardInput(ReceiveRing& ring);

} // namespace varnolt
