#pragma once

#include "core/view/CellCanvas.h"

#include <cstdint>
#include <vector>

namespace varnolt {

// The analyzer's display: 480 × 272 pixels, row by row.
inline constexpr int32_t kScreenWidth = 480;
inline constexpr int32_t kScreenHeight = 272;
inline constexpr int32_t kScreenPixels = kScreenWidth * kScreenHeight; // 130,560
// The analyzer ends an image once its pixel counter has passed this many pixels (a few more
// than the screen holds); pixels beyond the screen are counted but not kept.
inline constexpr int32_t kScreenPixelLimit = 130'570;

// The colour of a 16-bit pixel value of the analyzer. Red takes bits 15, 14, 13 and 11 as its
// top four bits, green bits 9..5 as its top five, blue bits 4..1 as its top four; each
// channel's low bits are all set when its top bit is set. Bits 12, 10 and 0 take no part.
[[nodiscard]] Rgb PixelColour(uint16_t value);

// The screen as the dialog keeps it: every pixel starts black, and each capture overwrites the
// pixels it receives from the first one on.
using ScreenImage = std::vector<Rgb>;

} // namespace varnolt
