#include "core/link/screencapture/ScreenImage.h"

namespace varnolt {

namespace {

bool Bit(uint16_t value, int bit) {
    return ((value >> bit) & 1U) != 0;
}

// TOP with its low FILLBITS bits set when FILL is set.
uint8_t Filled(uint32_t top, bool fill, int fillBits) {
    return static_cast<uint8_t>(fill ? top | ((1U << fillBits) - 1U) : top);
}

} // namespace

Rgb PixelColour(uint16_t value) {
    const uint32_t redTop = (Bit(value, 15) ? 0x80U : 0U) | (Bit(value, 14) ? 0x40U : 0U) |
                            (Bit(value, 13) ? 0x20U : 0U) | (Bit(value, 11) ? 0x10U : 0U);
    const uint32_t greenTop = ((value >> 5) & 0x1FU) << 3;
    const uint32_t blueTop = ((value >> 1) & 0x0FU) << 4;
    return {Filled(redTop, Bit(value, 15), 4), Filled(greenTop, Bit(value, 9), 3),
            Filled(blueTop, Bit(value, 4), 4)};
}

} // namespace varnolt
