#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/RecordWord.h"

#include <cstdint>

namespace varnolt {

// A record's place in the capture counted from the oldest record, which is 1 (the export's
// start position and position labels count this way).
using RecordPosition = int32_t;

// An idle gap: its resolution (1 = 0.001 s, 2 = 0.01 s, 3 = 0.1 s) and length in those units.
struct IdleGap {
    uint8_t resolution = 0;
    uint32_t value = 0;
};

// A time stamp: its stamp kind (1 ... 5) and its digits.
struct TimeStamp {
    uint8_t kind = 0;
    StampDigits digits;
};

// The records of a capture by position, for readers that look back from a continuation word
// to its head or ahead from a head to its continuations. Nothing outside the capture is read:
// a position before the oldest or after the newest record reads as an empty word (kind 0).
class ExportRecords {
public:
    explicit ExportRecords(const CCaptureData& data)
        : data_(data), total_(data.Count()), capacity_(data.capacity()) {}

    [[nodiscard]] RecordCount total() const { return total_; }
    [[nodiscard]] RingIndex IndexOf(RecordPosition position) const {
        return data_.WrapIndex(data_.firstIndex(), position - 1);
    }
    [[nodiscard]] RecordWord At(RecordPosition position) const {
        return position >= 1 && position <= total_ ? data_.word(IndexOf(position)) : 0;
    }

    // Walking the capture in ring order: the word at INDEX of a record, the index after it.
    [[nodiscard]] RecordWord AtIndex(RingIndex index) const { return data_.word(index); }
    [[nodiscard]] RingIndex Next(RingIndex index) const {
        return index + 1 == capacity_ ? 0 : index + 1;
    }

    // For a continuation at POSITION: how many records back (1 ... MAXDISTANCE) the nearest
    // word of kind HEAD lies, or 0 when there is none that close.
    [[nodiscard]] int DistanceToHead(RecordPosition position, RecordKind head,
                                     int maxDistance) const;

    // The idle gap whose head is at HEAD.
    [[nodiscard]] IdleGap IdleAt(RecordPosition head) const;
    // The time stamp whose head is at HEAD.
    [[nodiscard]] TimeStamp StampAt(RecordPosition head) const;

private:
    const CCaptureData& data_;
    RecordCount total_;
    RecordCount capacity_;
};

} // namespace varnolt
