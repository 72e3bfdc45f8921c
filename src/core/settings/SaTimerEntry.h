#pragma once

#include "core/settings/SaSwitch.h"

#include <cstdint>

namespace varnolt {

// Timer units.
inline constexpr int16_t kTimerUnitSecond = 0;
inline constexpr int16_t kTimerUnitTenth = 1;
inline constexpr int16_t kTimerUnitHundredth = 2;
inline constexpr int16_t kTimerUnitMillisecond = 3;

// One of the analyzer's four timers.
struct SaTimerEntry {
    uint32_t setValue = 0;     // 0 to 99,999,999 units
    uint32_t currentValue = 0; // shown only; comes with every status answer
    int16_t autoStart = kSaFlagOff;
    int16_t unit = kTimerUnitSecond;

    friend bool operator==(const SaTimerEntry&, const SaTimerEntry&) = default;
};

} // namespace varnolt
