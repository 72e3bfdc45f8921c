#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace varnolt {

// The line-state block: the states of the eight lines in the order SD, RS, ER, RD, CS, DR, CD,
// CI; 1 on, 2 off, anything else unknown. The status answer and live drawing fill it, the
// status bar's lamps show it.
enum LineSlot : size_t { kLineSd, kLineRs, kLineEr, kLineRd, kLineCs, kLineDr, kLineCd, kLineCi };
using LineStates = std::array<int32_t, 8>;

} // namespace varnolt
