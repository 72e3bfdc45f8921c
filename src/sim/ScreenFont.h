#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace varnolt::sim {

// A 5 × 7 pixel font for the virtual analyzer's display: digits, upper-case letters, space and
// . : - / (anything else draws as a blank).
inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Calls PLOT(x, y) for every lit pixel of TEXT drawn from (X, Y), each font pixel SCALE × SCALE
// screen pixels, one blank column between characters.
void DrawScreenText(std::string_view text, int x, int y, int scale,
                    const std::function<void(int, int)>& plot);

} // namespace varnolt::sim
