#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace varnolt {

// The analyzer's text form of bytes: two hexadecimal digits per byte, high nibble first,
// written upper-case, read in either case.

// The value of two hex digits; a character that is not a hex digit counts as 0 in its place.
[[nodiscard]] uint8_t ParseHexPair(uint8_t high, uint8_t low);

// Writes BYTE as two upper-case hex digits at OUT[0], OUT[1].
void WriteHexPair(uint8_t byte, uint8_t* out);

// The checksum of a frame or answer: the low eight bits of the sum of BYTES.
[[nodiscard]] uint8_t ByteSum(std::span<const uint8_t> bytes);

} // namespace varnolt
