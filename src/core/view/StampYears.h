#pragma once

#include "core/capture/CCaptureData.h"

#include <utility>
#include <vector>

namespace varnolt {

// The years in which a capture's time stamps without year digits (month and day only) lie, as
// the capture's time line dates them: from each noted record on, counted from the oldest record,
// up to the next note, one year. A capture that runs across New Year has two. With no note the
// year digits of such stamps count as 00.
class StampYears {
public:
    static constexpr int kNoYear = 2000;

    // From the record OFFSET records after the oldest on (offsets ascending), YEAR.
    void Note(RecordCount offset, int year) {
        if (years_.empty() || years_.back().second != year) {
            years_.emplace_back(offset, year);
        }
    }
    // The year of a stamp OFFSET records after the oldest.
    [[nodiscard]] int YearAt(RecordCount offset) const;

    friend bool operator==(const StampYears&, const StampYears&) = default;

private:
    std::vector<std::pair<RecordCount, int>> years_;
};

} // namespace varnolt
