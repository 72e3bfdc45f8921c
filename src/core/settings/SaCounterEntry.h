#pragma once

#include "core/settings/SaSwitch.h"

#include <cstdint>

namespace varnolt {

// One of the analyzer's four counters.
struct SaCounterEntry {
    uint32_t setValue = 0;     // 0 to 99,999,999
    uint32_t currentValue = 0; // comes with every status answer and a counter reset
    int16_t resetAtStart = kSaFlagOn;

    friend bool operator==(const SaCounterEntry&, const SaCounterEntry&) = default;
};

} // namespace varnolt
