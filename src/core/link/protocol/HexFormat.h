#pragma once

#include <cstdint>
#include <string>

namespace varnolt {

// Hexadecimal text for the analyzer: upper-case digits, most significant first. (Reading it
// is ParseHexPair of core/settings/HexText.h.)

// Appends VALUE as DIGITS upper-case hex digits, most significant first (the low DIGITS
// nibbles of VALUE).
void AppendHex(std::string& text, uint32_t value, int digits);

// VALUE as eight upper-case hex digits, most significant first.
[[nodiscard]] std::string FormatHex32(uint32_t value);

// VALUE, held to 0 ... 9999, as four decimal digits: file numbers, sizes and amounts.
[[nodiscard]] std::string FormatDecimal4(int32_t value);

} // namespace varnolt
