#include "core/settings/listing/ListingText.h"

#include <cstdio>

namespace varnolt {

std::string UnknownValue(int64_t value) {
    return "unknown (" + std::to_string(value) + ")";
}

std::string HexByte(uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

std::string CharacterText(uint8_t code) {
    if (code >= 0x20 && code <= 0x7E && code != '"' && code != '<') {
        return std::string(1, static_cast<char>(code));
    }
    char text[8];
    std::snprintf(text, sizeof text, "<%02X>", code);
    return text;
}

} // namespace varnolt
