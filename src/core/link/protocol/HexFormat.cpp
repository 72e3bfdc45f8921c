#include "core/link/protocol/HexFormat.h"

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

} // namespace varnolt
