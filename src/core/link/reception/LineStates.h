#pragma once

#include "core/capture/CCaptureData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace varnolt {

// The line-state block: the states of the eight lines in the order SD, RS, ER, RD, CS, DR, CD,
// CI; 1 on, 2 off, anything else unknown. The status answer and the received records fill it,
// the status bar's lamps show it.
enum LineSlot : size_t { kLineSd, kLineRs, kLineEr, kLineRd, kLineCs, kLineDr, kLineCd, kLineCi };
using LineStates = std::array<int32_t, 8>;

// The six control lines of STATES from a record's control-line field (two bits a line: RS, ER,
// CS, DR, CD, CI from the lowest up); SD and RD keep their states.
void SetLineStatesFromControlField(LineStates& states, uint16_t field);

// The control-line field of the newest SD or RD character among FIRST ... LAST of a capture of
// record width 1 (each character carries the lines' states as it was received); none when the
// range holds no character or the capture does not record the lines with its characters.
[[nodiscard]] std::optional<uint16_t> NewestControlLineField(const CCaptureData& capture,
                                                             RingIndex first, RingIndex last);

} // namespace varnolt
