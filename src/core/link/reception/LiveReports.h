#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace varnolt {

// The analyzer's reports during a measurement, besides its data blocks.

// The run state a "PSS" report carries: 10 (measuring) or 11 (stopped); 0 when its checksum
// fails, it is too short, or it carries another value.
[[nodiscard]] int32_t ParseRunState(std::span<const uint8_t> answer);

// A trigger report ("PTR"): which trigger fired, and the stretch of the analyzer's memory to
// save around it, as device indexes.
struct TriggerReport {
    int32_t number = 0; // as sent, a signed byte; only 0 to 7 name a trigger
    int32_t before = 0; // device index where the stretch starts
    int32_t after = 0;  // device index where it ends

    friend bool operator==(const TriggerReport&, const TriggerReport&) = default;
};

// "PTR", the trigger number (two hex digits), before and after (eight hex digits each), the
// checksum. nullopt when the checksum fails or the answer is too short.
[[nodiscard]] std::optional<TriggerReport> ParseTrigger(std::span<const uint8_t> answer);

} // namespace varnolt
