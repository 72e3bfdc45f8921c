#pragma once

#include <cstdint>

namespace varnolt {

// A code that starts or ends a frame line in frame display.
struct SaFrameDelimiter {
    int8_t enabled = 0; // 1 = on, 0 = off; also the pattern-element kind of the code
    uint8_t code = 0;   // the character code
    uint8_t spare = 0;  // carried along, never edited

    friend bool operator==(const SaFrameDelimiter&, const SaFrameDelimiter&) = default;
};

// The order of the four delimiters wherever they are stored or sent.
enum class SaFrameDelimiterSlot { SdStart, SdEnd, RdStart, RdEnd };

} // namespace varnolt
