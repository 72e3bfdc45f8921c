#pragma once

#include <cstdint>

namespace varnolt {

// On/off encodings. Each field of the analyzer settings uses exactly one of them.
inline constexpr uint8_t kSaByteOn = 0xFF; // trigger enabled, trigger history enabled
inline constexpr uint8_t kSaByteOff = 0x00;
inline constexpr int16_t kSaFlagOn = -1; // timer auto start, counter reset at start
inline constexpr int16_t kSaFlagOff = 0;

} // namespace varnolt
