#pragma once

#include <cstdint>

namespace varnolt {

// One element of a character pattern, as the search, the trigger character-match condition and
// the transmit strings store it: an element kind and its value.
struct PatternElement {
    uint8_t kind = 0;
    uint8_t value = 0;

    friend bool operator==(const PatternElement&, const PatternElement&) = default;
};

// Element kinds.
inline constexpr uint8_t kPatternCharacter = 1; // value: a character code
inline constexpr uint8_t kPatternError = 2;     // value: an error code
inline constexpr uint8_t kPatternAny = 10;      // any character
inline constexpr uint8_t kPatternBitMask = 20;  // value: bit mask 0 to 3
inline constexpr uint8_t kPatternRange = 21;    // value: range 0 to 3

// True for the kinds a pattern may hold; the first other kind ends a pattern.
[[nodiscard]] constexpr bool IsPatternKind(uint8_t kind) {
    return kind == kPatternCharacter || kind == kPatternError || kind == kPatternAny ||
           kind == kPatternBitMask || kind == kPatternRange;
}

// A bit-pattern element matches a code that has every must-be-1 bit set and every must-be-0
// bit clear.
struct PatternBitMask {
    uint8_t mustBeOne = 0;
    uint8_t mustBeZero = 0;

    friend bool operator==(const PatternBitMask&, const PatternBitMask&) = default;
};

// A range element matches a code within the enabled bounds.
struct PatternRange {
    uint8_t lowEnabled = 0;
    uint8_t low = 0;
    uint8_t highEnabled = 0;
    uint8_t high = 0;

    friend bool operator==(const PatternRange&, const PatternRange&) = default;
};

} // namespace varnolt
