#pragma once

#include "core/capture/CCaptureData.h"
#include "core/interop/CaptureTime.h"
#include "core/platform/BinaryWriter.h"

#include <cstdint>

namespace varnolt {

// The VCD time unit for a line of SPEED bit/s: the largest of 1 ns, 10 ns ... 1 ms that still
// gives a bit at least 50 units, so every bit edge lands within 2 % of its place.
[[nodiscard]] int64_t VcdTimeUnitNs(uint32_t speed);

// Writes CAPTURE onto OUT as a value change dump for waveform viewers and logic decoders: the
// SD and RD lines as they were on the wire (idle high, start bit, data bits least significant
// first, parity, stop bits, at the capture's speed and format, placed by the capture's
// timeline), and the six control lines as 1-bit signals (x while unknown). A parity error is
// drawn as a wrong parity bit, a framing error as a missing stop bit, a break as the line held
// low for two characters; after each of them the line idles at least one character time, so a
// decoder finds the next start bit. An overrun leaves nothing on the wire. The signals are named
// SD, RD, RS, ER, CS, DR, CD, CI. Errors stick in OUT.
void WriteVcd(const CCaptureData& capture, const TimeBase& base, BinaryWriter& out);

} // namespace varnolt
