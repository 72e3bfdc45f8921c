#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnolt {

// "unknown (N)": a stored value outside its field's list.
[[nodiscard]] std::string UnknownValue(int64_t value);

// NAMES[VALUE], or "unknown (VALUE)" outside the list.
template <size_t N>
[[nodiscard]] std::string NameOf(const std::array<std::string_view, N>& names, int64_t value) {
    if (value < 0 || value >= static_cast<int64_t>(N)) {
        return UnknownValue(value);
    }
    return std::string(names[static_cast<size_t>(value)]);
}

// "0x0D".
[[nodiscard]] std::string HexByte(uint8_t value);

// One character code as the listing writes it inside quotes: printable ASCII as itself, any
// other code (and '"' and '<', which would be ambiguous) as "<0D>".
[[nodiscard]] std::string CharacterText(uint8_t code);

} // namespace varnolt
