#include "core/view/StampYears.h"

#include <algorithm>

namespace varnolt {

int StampYears::YearAt(RecordCount offset) const {
    // The last note at or before OFFSET; a stamp before the first note takes the first year.
    const auto after =
        std::upper_bound(years_.begin(), years_.end(), offset,
                         [](RecordCount value, const std::pair<RecordCount, int>& note) {
                             return value < note.first;
                         });
    if (after == years_.begin()) {
        return years_.empty() ? kNoYear : years_.front().second;
    }
    return std::prev(after)->second;
}

} // namespace varnolt
