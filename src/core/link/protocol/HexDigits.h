#pragma once

#include "core/settings/HexText.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace varnolt {

// The value of DIGITS (an even number, at most 8) hex characters of TEXT from OFFSET on, most
// significant first; characters that are not hex digits count as 0. The caller makes sure
// they lie within TEXT.
[[nodiscard]] inline uint32_t ReadHexDigits(std::span<const uint8_t> text, size_t offset,
                                            size_t digits) {
    uint32_t value = 0;
    for (size_t k = 0; k < digits; k += 2) {
        value = value << 8 | ParseHexPair(text[offset + k], text[offset + k + 1]);
    }
    return value;
}

} // namespace varnolt
