#pragma once

#include "core/link/protocol/HexFormat.h"
#include "core/link/protocol/RequestFrame.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnolt::testing {

// Answers as the analyzer sends them, built byte by byte.

// TEXT, its checksum and the terminator.
[[nodiscard]] inline std::vector<uint8_t> CheckedAnswer(std::string_view text) {
    return BuildFrame(text, FrameChecksum::With);
}

// A data block: "BD", UNITS (16-bit units), the device index, the raw item bytes of WORDS
// (two or four bytes each by RECORD_WIDTH), the checksum and the terminator.
[[nodiscard]] inline std::vector<uint8_t> DataBlock(uint32_t deviceIndex,
                                                    std::span<const uint32_t> words,
                                                    uint16_t recordWidth, int units = -1) {
    std::string head = "BD";
    const size_t perItem = recordWidth == 1 ? 2 : 1;
    AppendHex(head,
              units >= 0 ? static_cast<uint32_t>(units)
                         : static_cast<uint32_t>(words.size() * perItem),
              4);
    head += FormatHex32(deviceIndex);
    std::vector<uint8_t> frame(head.begin(), head.end());
    for (const uint32_t word : words) {
        frame.push_back(static_cast<uint8_t>(word >> 24));
        frame.push_back(static_cast<uint8_t>(word >> 16));
        if (recordWidth == 1) {
            frame.push_back(static_cast<uint8_t>(word >> 8));
            frame.push_back(static_cast<uint8_t>(word));
        }
    }
    FinishFrame(frame, FrameChecksum::With);
    return frame;
}

} // namespace varnolt::testing
