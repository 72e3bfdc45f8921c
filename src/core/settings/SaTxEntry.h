#pragma once

#include "core/settings/PatternElement.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace varnolt {

inline constexpr size_t kTxEntryCapacity = 128;

// One of the analyzer's fifty transmit strings: the characters it sends on the line, each a
// pattern element of kind 1.
struct SaTxEntry {
    int32_t elementCount = 0; // as stored; files and the analyzer may hold any value
    std::array<PatternElement, kTxEntryCapacity> elements{};

    // The elements to send: the first element count of them, the count held to 0..128 so that
    // a damaged count never reaches past the entry.
    [[nodiscard]] std::span<const PatternElement> usedElements() const {
        const auto used = static_cast<size_t>(
            std::clamp<int32_t>(elementCount, 0, static_cast<int32_t>(kTxEntryCapacity)));
        return std::span<const PatternElement>(elements).first(used);
    }

    friend bool operator==(const SaTxEntry&, const SaTxEntry&) = default;
};

} // namespace varnolt
