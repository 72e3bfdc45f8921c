#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace varnolt {

// Every frame, request or answer, ends with these four bytes.
inline constexpr std::array<uint8_t, 4> kFrameTerminator{0xFF, 0x00, 0xFF, 0x00};

// Whether BYTES ends with the frame terminator.
[[nodiscard]] inline bool EndsWithTerminator(std::span<const uint8_t> bytes) {
    if (bytes.size() < kFrameTerminator.size()) {
        return false;
    }
    const auto tail = bytes.last(kFrameTerminator.size());
    return tail[0] == kFrameTerminator[0] && tail[1] == kFrameTerminator[1] &&
           tail[2] == kFrameTerminator[2] && tail[3] == kFrameTerminator[3];
}

} // namespace varnolt
