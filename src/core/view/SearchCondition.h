#pragma once

#include "core/capture/CCaptureData.h"
#include "core/view/SearchCriteria.h"
#include "core/view/StampYears.h"
#include "core/view/ViewTypes.h"

#include <cstdint>
#include <utility>

namespace varnolt {

// Which way a search walks the ring.
enum class SearchDirection : int32_t { Forward = 0, Backward = 1 };

// Where the latest character search matched, per direction.
struct MatchRanges {
    RingIndex sdFirst = 0;
    RingIndex sdLast = 0;
    RingIndex rdFirst = 0;
    RingIndex rdLast = 0;
    friend bool operator==(const MatchRanges&, const MatchRanges&) = default;
};

// The search of the data view, of the search dialog and of the command line: its criteria, and
// the range of the latest hit.
//
// Find walks the capture ring once around from a position, in either direction, and stops at the
// first hit: a character sequence on one line (SD or RD), a line error, an idle gap within
// bounds, or a time stamp within a date-and-time range. The walk never joins the newest record
// to the oldest: a partial match, an idle group or a time stamp does not continue across that
// seam, and a hit never ends past the newest record.
class SearchCondition {
public:
    SearchCondition() = default;
    explicit SearchCondition(const SearchCriteria& criteria) : criteria_(criteria) {}

    [[nodiscard]] const SearchCriteria& criteria() const { return criteria_; }
    void setCriteria(const SearchCriteria& criteria) { criteria_ = criteria; }
    // The years a date search compares time stamps without year digits in (they show month and
    // day only): those the capture's time line gives them. Until they are set, their year
    // digits count as 00. Stamps with year digits compare by those digits.
    void setStampYears(StampYears years) { stampYears_ = std::move(years); }

    // Searches CAPTURE from POSITION (a ring index; -1 = from the oldest record). On success the
    // hit range is replaced and true returned; a miss leaves it. Criteria that cannot be
    // searched (a pattern of 0 or more than 128 elements, an unknown kind) find nothing.
    bool Find(const CCaptureData& capture, RingIndex position, SearchDirection direction);

    [[nodiscard]] const HitRange& hit() const { return hit_; }
    // The hit's last record (scrolling moves it to the top record).
    void setHitLast(RingIndex last) { hit_.last = last; }
    [[nodiscard]] const MatchRanges& matches() const { return matches_; }
    // A capture laid out afresh: no hit, no partial match ranges.
    void ClearHit();

private:
    bool FindCharacters(const CCaptureData& capture, RingIndex start, SearchDirection direction);
    bool FindError(const CCaptureData& capture, RingIndex start, SearchDirection direction);
    bool FindIdle(const CCaptureData& capture, RingIndex start, SearchDirection direction);
    bool FindTimeStamp(const CCaptureData& capture, RingIndex start, SearchDirection direction);

    SearchCriteria criteria_;
    StampYears stampYears_;
    HitRange hit_;
    MatchRanges matches_;
};

} // namespace varnolt
