#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace varnolt {

// Whether a frame carries a checksum before its terminator.
enum class FrameChecksum { Without, With };

// Appends the checksum of FRAME (two upper-case hex characters of the checksum of every byte
// already in it) and then the terminator.
void FinishFrame(std::vector<uint8_t>& frame, FrameChecksum checksum);

// Whether the last two characters of FRAME (a frame without its terminator) are the upper-case
// hex checksum of every byte before them.
[[nodiscard]] bool EndsWithChecksum(std::span<const uint8_t> frame);

// A request frame: TEXT (command letters and parameters), the checksum if asked for, and the
// terminator. "ENW01" with a checksum is 45 4E 57 30 31 34 42 FF 00 FF 00.
[[nodiscard]] std::vector<uint8_t> BuildFrame(std::string_view text, FrameChecksum checksum);

} // namespace varnolt
