#pragma once

#include "core/settings/PatternElement.h"
#include "core/view/PatternText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace varnolt {

// What a search looks for: a character sequence, a line error, an idle gap or a time stamp.
// Kinds are kept as numbers; any other number finds nothing.
inline constexpr int32_t kSearchCharacters = 0;
inline constexpr int32_t kSearchError = 1;
inline constexpr int32_t kSearchIdle = 2;
inline constexpr int32_t kSearchDateTime = 3;

// The error set of a search that finds every line error: bit 7 - code for error codes 0 … 4.
inline constexpr uint8_t kAllErrors = 0xFF;

// Largest idle bound the dialog takes, in milliseconds.
inline constexpr int32_t kMaxIdleBoundMs = 9'999'999;

// A calendar date-time as the date and time pickers hold it. A date bound uses only the date
// fields, a time bound only the time fields.
struct CalendarTime {
    int16_t year = 2000;
    int16_t month = 1;
    int16_t dayOfWeek = 6;
    int16_t day = 1;
    int16_t hour = 0;
    int16_t minute = 0;
    int16_t second = 0;
    int16_t milliseconds = 0;
    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// A character pattern with the bit masks and ranges its elements of kinds 20 and 21 refer to.
struct CharacterPattern {
    int32_t length = 0; // as stored; only 0 … kMaxPatternLength is ever used
    std::array<PatternElement, kMaxPatternLength> elements{};
    std::array<PatternBitMask, kPatternSlotCount> bitMasks{};
    std::array<PatternRange, kPatternSlotCount> ranges{};

    // The first LENGTH elements, or none when the length is out of range.
    [[nodiscard]] std::span<const PatternElement> usedElements() const {
        if (length < 0 || length > static_cast<int32_t>(kMaxPatternLength)) {
            return {};
        }
        return std::span<const PatternElement>(elements).first(static_cast<size_t>(length));
    }
    // Takes over ELEMENTS (at most kMaxPatternLength of them); the rest of the array is cleared.
    void setElements(std::span<const PatternElement> used) {
        const size_t kept = std::min(used.size(), kMaxPatternLength);
        elements = {};
        std::copy_n(used.begin(), kept, elements.begin());
        length = static_cast<int32_t>(kept);
    }

    friend bool operator==(const CharacterPattern&, const CharacterPattern&) = default;
};

// The criteria of a search, as the search dialog edits them. SET says they are usable.
struct SearchCriteria {
    int32_t kind = kSearchCharacters;
    bool set = false;
    CharacterPattern pattern;
    uint8_t errorSet = kAllErrors; // bit 7 PE, 6 FE, 5 PF, 4 BR, 3 OE
    int32_t idleLowerMs = 0;       // 0: no bound
    int32_t idleUpperMs = 0;
    CalendarTime lowerDate;
    CalendarTime lowerTime;
    CalendarTime upperDate;
    CalendarTime upperTime;

    // Criteria whose four date-time bounds are NOW (the current time, UTC).
    [[nodiscard]] static SearchCriteria At(const CalendarTime& now) {
        SearchCriteria criteria;
        criteria.lowerDate = criteria.lowerTime = criteria.upperDate = criteria.upperTime = now;
        return criteria;
    }

    friend bool operator==(const SearchCriteria&, const SearchCriteria&) = default;
};

} // namespace varnolt
