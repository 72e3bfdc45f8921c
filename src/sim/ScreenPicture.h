#pragma once

#include "core/link/screencapture/ScreenImage.h"

#include <cstdint>
#include <vector>

namespace varnolt::sim {

class AnalyzerFirmware;

// The 16-bit pixel value the analyzer's display controller keeps for COLOUR: red's top four
// bits in bits 15, 14, 13 and 11, green's top five in bits 9..5, blue's top four in bits 4..1.
[[nodiscard]] uint16_t ScreenPixelValue(Rgb colour);

// The analyzer's display as it looks in STATE, 480 × 272 pixel values row by row: a title bar,
// the program version, remote mode, run state, page, the records measured and the counters,
// and a strip of colour bars at the bottom.
[[nodiscard]] std::vector<uint16_t> DrawAnalyzerScreen(const AnalyzerFirmware& state);

} // namespace varnolt::sim
