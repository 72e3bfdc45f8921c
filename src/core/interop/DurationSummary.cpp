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

// Bins for selecting by rank: the offsets 0 ... 31 from the smallest value each have a bin of
// their own, larger offsets share one per 1/32 of an octave. The bins keep the values' order,
// and a few thousand of them split even values spread over many decades finely.
constexpr int kMantissaBits = 5;
constexpr size_t kExactBins = size_t{1} << kMantissaBits;
constexpr size_t kRankBins = kExactBins * (64 - kMantissaBits + 1);

size_t RankBinOf(uint64_t offset) {
    // Without a branch, which the processor would keep guessing wrong for values on both sides
    // of kExactBins: below 2 * kExactBins the octave is 0 and the sum wraps round to the offset
    // itself.
    const int octave = static_cast<int>(std::bit_width(offset | kExactBins)) - kMantissaBits - 1;
    return kExactBins * static_cast<size_t>(octave) + static_cast<size_t>(offset >> octave);
}

// The offsets RankBinOf() puts into BIN: from FIRST to FIRST + SPAN.
struct RankBinRange {
    uint64_t first = 0;
    uint64_t span = 0;
};
RankBinRange RangeOfRankBin(size_t bin) {
    const size_t octave = std::max<size_t>(bin / kExactBins, 1) - 1;
    return {static_cast<uint64_t>(bin - kExactBins * octave) << octave,
            (uint64_t{1} << octave) - 1};
}

// A set of values kept in two parts.
using ValueParts = std::array<std::span<const DurationNs>, 2>;

// The values at the nearest ranks RANKS (1-based) of VALUES, which are MIN or more, exactly and
// without sorting: a histogram of the values' offsets from MIN finds the bin that holds each
// rank, and only the values of those bins are selected among. HISTOGRAM gets the values' decades
// on the same pass.
std::array<DurationNs, 2> ValuesAtRanks(const ValueParts& values, DurationNs min,
                                        std::array<size_t, 2> ranks,
                                        std::array<int64_t, kDecadeBins>& histogram) {
    const auto binOf = [min](DurationNs value) {
        return RankBinOf(static_cast<uint64_t>(value) - static_cast<uint64_t>(min));
    };
    std::vector<uint32_t> counts(kRankBins);
    for (const std::span<const DurationNs> part : values) {
        for (const DurationNs value : part) {
            ++counts[binOf(value)];
            ++histogram[DecadeOf(value)];
        }
    }
    std::array<size_t, 2> bins{};
    std::array<size_t, 2> below{}; // values in the bins before each rank's bin
    for (size_t k = 0; k < ranks.size(); ++k) {
        while (below[k] + counts[bins[k]] < ranks[k]) {
            below[k] += counts[bins[k]++];
        }
    }
    // One more pass gathers the values of the ranks' bins, unless each holds a single value.
    std::array<std::vector<DurationNs>, 2> inBin;
    if (bins[0] >= kExactBins || bins[1] >= kExactBins) {
        // A bin's offsets lie in one range: two comparisons (one each, as the subtraction
        // wraps below the range) instead of finding each value's bin again.
        const std::array<RankBinRange, 2> ranges{RangeOfRankBin(bins[0]), RangeOfRankBin(bins[1])};
        for (const std::span<const DurationNs> part : values) {
            for (const DurationNs value : part) {
                const uint64_t offset = static_cast<uint64_t>(value) - static_cast<uint64_t>(min);
                if (offset - ranges[0].first <= ranges[0].span) {
                    inBin[0].push_back(value);
                } else if (offset - ranges[1].first <= ranges[1].span) {
                    inBin[1].push_back(value);
                }
            }
        }
    }
    std::array<DurationNs, 2> result{};
    for (size_t k = 0; k < ranks.size(); ++k) {
        if (bins[k] < kExactBins) {
            result[k] = min + static_cast<DurationNs>(bins[k]); // a bin of one value
            continue;
        }
        std::vector<DurationNs>& among = inBin[bins[k] == bins[0] ? 0 : k];
        const auto at = among.begin() + static_cast<std::ptrdiff_t>(ranks[k] - below[k] - 1);
        std::nth_element(among.begin(), at, among.end());
        result[k] = *at;
    }
    return result;
}

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

DurationSummary Summarize(std::span<const DurationNs> values, std::span<const DurationNs> more) {
    DurationSummary summary;
    const ValueParts parts{values, more};
    const size_t n = values.size() + more.size();
    if (n == 0) {
        return summary;
    }
    summary.count = static_cast<int64_t>(n);
    summary.min = values.empty() ? more.front() : values.front();
    summary.max = summary.min;
    for (const std::span<const DurationNs> part : parts) {
        for (const DurationNs value : part) {
            summary.min = std::min(summary.min, value);
            summary.max = std::max(summary.max, value);
        }
    }
    const std::array<DurationNs, 2> ranked =
        ValuesAtRanks(parts, summary.min, {(n + 1) / 2, (95 * n + 99) / 100}, summary.histogram);
    summary.median = ranked[0];
    summary.p95 = ranked[1];
    return summary;
}

} // namespace varnolt
