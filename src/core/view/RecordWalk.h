#pragma once

#include "core/capture/CCaptureData.h"

namespace varnolt {

// Calls VISIT(index, word) for the records from START to the newest, in ring order, until it
// returns false. Returns true when the walk reached the newest record. START must hold a record.
template <typename Visit>
bool WalkRecords(const CCaptureData& capture, RingIndex start, Visit&& visit) {
    const RingIndex last = capture.lastIndex();
    if (last < 0 || start < 0) {
        return true;
    }
    const auto segment = [&](RingIndex from, RingIndex to) {
        for (RingIndex i = from; i <= to; ++i) {
            if (!visit(i, capture.word(i))) {
                return false;
            }
        }
        return true;
    };
    if (start <= last) {
        return segment(start, last);
    }
    if (!capture.wrapped()) {
        return true;
    }
    return segment(start, capture.capacity() - 1) && segment(0, last);
}

} // namespace varnolt
