#pragma once

#include "core/interop/CaptureTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace varnolt {

// Histogram bins by decade: below 10 µs, 10 µs ... 100 µs, and so on up to 100 s and more.
inline constexpr size_t kDecadeBins = 9;
// The shortest duration that falls into BIN.
[[nodiscard]] DurationNs DecadeLowerBound(size_t bin);
[[nodiscard]] size_t DecadeOf(DurationNs duration);

// A set of durations in summary. The median and the 95th percentile are nearest-rank values:
// the smallest value with at least half (95 %) of the values at or below it.
struct DurationSummary {
    int64_t count = 0;
    DurationNs min = 0;
    DurationNs median = 0;
    DurationNs p95 = 0;
    DurationNs max = 0;
    std::array<int64_t, kDecadeBins> histogram{};
    bool operator==(const DurationSummary&) const = default;
};

// Summarises VALUES, selecting the median and the percentile among them (a caller that still
// needs its values passes a copy).
[[nodiscard]] DurationSummary Summarize(std::vector<DurationNs> values);

} // namespace varnolt
