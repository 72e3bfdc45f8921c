#pragma once

#include "core/capture/CCaptureData.h"
#include "core/interop/CaptureTime.h"
#include "core/interop/DurationSummary.h"

#include <array>
#include <cstdint>

namespace varnolt {

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

// The statistics of CAPTURE, placed in time by its timeline (CaptureTimeline), in one walk.
[[nodiscard]] CaptureStatistics ComputeStatistics(const CCaptureData& capture,
                                                  const TimeBase& base);

} // namespace varnolt
