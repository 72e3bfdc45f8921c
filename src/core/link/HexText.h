#pragma once

#include <cstdint>
#include <string>

namespace varnolt {

// The analyzer's hexadecimal text: upper-case digits when written, either case when read.

// The value of one hex digit of either case; a character that is not a hex digit counts as 0.
[[nodiscard]] constexpr uint8_t ParseHexDigit(uint8_t character) {
    if (character >= '0' && character <= '9') {
        return static_cast<uint8_t>(character - '0');
    }
    if (character >= 'A' && character <= 'F') {
        return static_cast<uint8_t>(character - 'A' + 10);
    }
    if (character >= 'a' && character <= 'f') {
        return static_cast<uint8_t>(character - 'a' + 10);
    }
    return 0;
}

// The byte written as the two hex characters HIGH and LOW (high nibble first).
[[nodiscard]] constexpr uint8_t ParseHexPair(uint8_t high, uint8_t low) {
    return static_cast<uint8_t>(ParseHexDigit(high) << 4 | ParseHexDigit(low));
}

// Appends VALUE as DIGITS upper-case hex digits, most significant first (the low DIGITS
// nibbles of VALUE).
void AppendHex(std::string& text, uint32_t value, int digits);

// VALUE as eight upper-case hex digits, most significant first.
[[nodiscard]] std::string FormatHex32(uint32_t value);

} // namespace varnolt
