#include "core/settings/HexText.h"

namespace varnolt {

namespace {

uint8_t NibbleOf(uint8_t digit) {
    if (digit >= '0' && digit <= '9') {
        return static_cast<uint8_t>(digit - '0');
    }
    if (digit >= 'A' && digit <= 'F') {
        return static_cast<uint8_t>(digit - 'A' + 10);
    }
    if (digit >= 'a' && digit <= 'f') {
        return static_cast<uint8_t>(digit - 'a' + 10);
    }
    return 0;
}

constexpr char kUpperDigits[] = "0123456789ABCDEF";

} // namespace

uint8_t ParseHexPair(uint8_t high, uint8_t low) {
    return static_cast<uint8_t>(NibbleOf(high) << 4 | NibbleOf(low));
}

void WriteHexPair(uint8_t byte, uint8_t* out) {
    out[0] = static_cast<uint8_t>(kUpperDigits[byte >> 4]);
    out[1] = static_cast<uint8_t>(kUpperDigits[byte & 0x0F]);
}

uint8_t ByteSum(std::span<const uint8_t> bytes) {
    uint8_t sum = 0;
    for (const uint8_t byte : bytes) {
        sum = static_cast<uint8_t>(sum + byte);
    }
    return sum;
}

} // namespace varnolt
