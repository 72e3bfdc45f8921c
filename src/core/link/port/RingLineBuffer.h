#pragma once

#include "core/link/port/ReceiveRing.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace varnolt {

// What the last look at the receive ring left in a line buffer.
enum class LineRead {
    Waiting,  // no complete line yet
    Complete, // the buffer holds one line, its line feed last
    Overflow, // the line did not fit: the buffer was emptied, the line counts as failed
};

// A buffer for the analyzer's line answers (the screen-capture lines and the firmware loader's
// replies), which end with a line feed instead of the frame terminator. Bytes are taken from
// the ring up to and including the first line feed, so a second line waits in the ring. A line
// longer than the buffer is never written past it: the buffer is emptied, Overflow is
// reported once, and the rest of that line up to its line feed is dropped as it arrives.
class RingLineBuffer {
public:
    static constexpr uint8_t kLineFeed = 0x0A;

    explicit RingLineBuffer(size_t capacity);

    // Takes what the ring holds, up to the end of the current line.
    LineRead collect(ReceiveRing& ring);

    // Empties the buffer and forgets an overlong line being dropped.
    void clear();

    // The bytes collected; after Complete, the whole line with its line feed.
    [[nodiscard]] std::span<const uint8_t> line() const { return std::span(bytes_).first(length_); }
    [[nodiscard]] size_t capacity() const { return bytes_.size(); }

private:
    std::vector<uint8_t> bytes_;
    size_t length_ = 0;
    bool dropping_ = false;
};

} // namespace varnolt
