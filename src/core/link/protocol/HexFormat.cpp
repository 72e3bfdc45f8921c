#include "core/link/protocol/HexFormat.h"

#include <algorithm>

namespace varnolt {

void AppendHex(std::string& text, uint32_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int digit = digits - 1; digit >= 0; --digit) {
        text.push_back(kDigits[(value >> (4 * digit)) & 0xF]);
    }
}

std::string FormatHex32(uint32_t value) {
    std::string text;
    AppendHex(text, value, 8);
    return text;
}

std::string FormatDecimal4(int32_t value) {
    const std::string digits = std::to_string(std::clamp(value, 0, 9999));
    return std::string(4 - digits.size(), '0') + digits;
}

} // namespace varnolt
