#include "core/interop/DurationSummary.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace varnolt {

namespace {

// The shortest duration of each decade bin: 0, 10 µs, 100 µs ... 100 s.
constexpr std::array<DurationNs, kDecadeBins> kDecadeBounds = [] {
    std::array<DurationNs, kDecadeBins> bounds{};
    DurationNs bound = 10 * kNsPerUs;
    for (size_t k = 1; k < kDecadeBins; ++k, bound *= 10) {
        bounds[k] = bound;
    }
    return bounds;
}();

} // namespace

DurationNs DecadeLowerBound(size_t bin) {
    return kDecadeBounds[std::min(bin, kDecadeBins - 1)];
}

size_t DecadeOf(DurationNs duration) {
    // A decade spans more than an octave: the value's bit width names the decade of the
    // octave's start, and one comparison tells whether the value lies past the next bound.
    static constexpr auto kDecadeOfWidth = [] {
        std::array<uint8_t, 65> decades{};
        for (size_t width = 1; width < decades.size(); ++width) {
            const uint64_t low = uint64_t{1} << (width - 1);
            for (size_t k = 1; k < kDecadeBins; ++k) {
                decades[width] += low >= static_cast<uint64_t>(kDecadeBounds[k]) ? 1 : 0;
            }
        }
        return decades;
    }();
    const auto value = static_cast<uint64_t>(std::max<DurationNs>(duration, 0));
    const size_t decade = kDecadeOfWidth[std::bit_width(value)];
    const uint64_t next =
        decade + 1 < kDecadeBins ? static_cast<uint64_t>(kDecadeBounds[decade + 1]) : UINT64_MAX;
    return decade + (value >= next ? 1 : 0);
}

DurationSummary Summarize(std::vector<DurationNs> values) {
    DurationSummary summary;
    if (values.empty()) {
        return summary;
    }
    const size_t n = values.size();
    summary.count = static_cast<int64_t>(n);
    for (const DurationNs value : values) {
        ++summary.histogram[DecadeOf(value)];
    }
    // The median's nearest rank is selected first; the smallest value lies below it, and the
    // 95th percentile's rank (at or above the median's) among the values it left above it.
    const auto median = values.begin() + static_cast<std::ptrdiff_t>((n + 1) / 2 - 1);
    const auto p95 = values.begin() + static_cast<std::ptrdiff_t>((95 * n + 99) / 100 - 1);
    std::nth_element(values.begin(), median, values.end());
    summary.min = *std::min_element(values.begin(), median + 1);
    summary.median = *median;
    if (p95 != median) {
        std::nth_element(median + 1, p95, values.end());
    }
    summary.p95 = *p95;
    summary.max = *std::max_element(p95, values.end());
    return summary;
}

} // namespace varnolt
