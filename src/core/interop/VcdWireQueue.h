#pragma once

#include "core/interop/BlockQueue.h"
#include "core/interop/CaptureTime.h"

#include <bit>
#include <cstdint>

namespace varnolt {

// The characters drawn on one waveform line and not yet written, eight bytes each: the levels
// the line takes bit by bit, and the time from the start of the character before. A line's
// characters follow each other, so that time never runs back; a step of four seconds or more
// takes an entry of its own. The line idles high before every character, so its edges follow
// from its levels.
class VcdWireQueue {
public:
    [[nodiscard]] bool empty() const { return entries_.empty(); }

    // Queues a character starting at START (not before the one queued last) whose level from
    // bit K on is bit K of LEVELS, the highest bit set being the idle level after it.
    void push(LocalNs start, uint32_t levels) {
        const bool wasEmpty = entries_.empty();
        if (wasEmpty) {
            newest_ = front_.start = start; // nothing queued to count from
        }
        const auto step = static_cast<uint64_t>(start - newest_);
        if (step > UINT32_MAX) {
            entries_.push({static_cast<uint32_t>(step >> 32), 0});
        }
        entries_.push({static_cast<uint32_t>(step), levels});
        newest_ = start;
        if (wasEmpty) {
            loadFront();
        }
    }

    // The first character: when it starts, its levels, the edges not written yet (bit K set:
    // the level changes where bit K begins).
    [[nodiscard]] LocalNs frontStart() const { return front_.start; }
    [[nodiscard]] uint32_t frontLevels() const { return front_.levels; }
    [[nodiscard]] uint32_t frontEdges() const { return front_.edges; }
    // The first unwritten edge of the first character is written; after its last one the
    // character leaves the queue.
    void edgeWritten() { edgesLeft(front_.edges & (front_.edges - 1)); }
    // The first character's edges up to those in REMAINING are written (0: all of them, and the
    // character leaves the queue).
    void edgesLeft(uint32_t remaining) {
        front_.edges = remaining;
        if (remaining == 0) {
            entries_.pop();
            if (!entries_.empty()) {
                loadFront();
            }
        }
    }

private:
    struct Entry {
        uint32_t step = 0;   // ns after the character before, or the high half of a long step
        uint32_t levels = 0; // 0: a long step's high half
    };
    struct Front {
        LocalNs start = 0;
        uint32_t levels = 0;
        uint32_t edges = 0;
    };

    void loadFront() {
        Entry entry = entries_.front();
        if (entry.levels == 0) {
            front_.start += static_cast<LocalNs>(uint64_t{entry.step} << 32);
            entries_.pop();
            entry = entries_.front();
        }
        front_.start += entry.step;
        front_.levels = entry.levels;
        const uint32_t upToIdle = (2u << (std::bit_width(entry.levels) - 1)) - 1;
        front_.edges = (entry.levels ^ (entry.levels << 1 | 1u)) & upToIdle;
    }

    BlockQueue<Entry> entries_;
    LocalNs newest_ = 0; // the start of the character queued last
    Front front_;
};

} // namespace varnolt
