#pragma once

#include "core/capture/CCaptureData.h"

namespace varnolt {

// Steps through the records of a capture ring in order, visiting records only: after the newest
// record comes the oldest, before the oldest the newest. That step crosses the seam where the
// capture begins, which no match may span.
class RingSteps {
public:
    explicit RingSteps(const CCaptureData& capture)
        : first_(capture.firstIndex()), last_(capture.lastIndex()), capacity_(capture.capacity()) {}

    [[nodiscard]] RingIndex oldest() const { return first_; }
    [[nodiscard]] RingIndex newest() const { return last_; }
    [[nodiscard]] RingIndex Next(RingIndex index) const {
        if (index == last_) {
            return first_;
        }
        return index + 1 == capacity_ ? 0 : index + 1;
    }
    [[nodiscard]] RingIndex Previous(RingIndex index) const {
        if (index == first_) {
            return last_;
        }
        return index == 0 ? capacity_ - 1 : index - 1;
    }
    [[nodiscard]] RingIndex Step(RingIndex index, bool forward) const {
        return forward ? Next(index) : Previous(index);
    }
    // The step from INDEX crosses the seam.
    [[nodiscard]] bool AtSeam(RingIndex index, bool forward) const {
        return index == (forward ? last_ : first_);
    }
    // The record N steps forward from INDEX, or nullopt when that crosses the seam.
    [[nodiscard]] std::optional<RingIndex> Following(RingIndex index, int n) const {
        for (int i = 0; i < n; ++i) {
            if (index == last_) {
                return std::nullopt;
            }
            index = Next(index);
        }
        return index;
    }

private:
    RingIndex first_;
    RingIndex last_;
    RecordCount capacity_;
};

} // namespace varnolt
