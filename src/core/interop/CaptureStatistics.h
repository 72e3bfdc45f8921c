#pragma once

#include "core/capture/CCaptureData.h"
#include "core/interop/CaptureTime.h"

#include <array>
#include <cstdint>
#include <span>

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

// Summarises VALUES and MORE together.
[[nodiscard]] DurationSummary Summarize(std::span<const DurationNs> values,
                                        std::span<const DurationNs> more = {});

// Index of a direction in the statistics' arrays.
enum DirectionIndex : size_t { kSdIndex = 0, kRdIndex = 1 };
inline constexpr size_t kErrorCodes = 5; // PE, FE, PF, BR, OE

// What a capture holds, in numbers.
struct CaptureStatistics {
    std::array<int64_t, 16> recordsByKind{}; // record words by kind (bits 31..28)
    std::array<int64_t, 2> characters{};
    std::array<std::array<int64_t, kErrorCodes>, 2> errors{}; // by direction, by error code
    std::array<int64_t, 2> frames{};                          // frames as frame display groups them
    DurationSummary idleGaps;
    DurationSummary sdToRd; // the end of an SD frame to the start of the RD frame right after it
    DurationSummary rdToSd; // and back
    std::array<int64_t, kControlLineCount> controlLineChanges{}; // changes of each line
    bool empty = true;
    LocalNs start = 0; // the first record began
    LocalNs end = 0;   // the last record ended
    bool operator==(const CaptureStatistics&) const = default;
};

// The statistics of CAPTURE, placed in time by its timeline (CaptureTimeline). A large capture
// is walked by two threads where the computer has two cores.
[[nodiscard]] CaptureStatistics ComputeStatistics(const CCaptureData& capture,
                                                  const TimeBase& base);
// The same, with the second thread starting at the first time stamp from record SPLITAT on (0:
// one thread). The statistics do not depend on SPLITAT.
[[nodiscard]] CaptureStatistics ComputeStatistics(const CCaptureData& capture, const TimeBase& base,
                                                  RecordPosition splitAt);

} // namespace varnolt
