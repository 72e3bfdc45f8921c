#include "core/link/RequestFrame.h"

#include "core/link/FrameTerminator.h"
#include "core/link/HexText.h"

#include <numeric>
#include <string>

namespace varnolt {

uint8_t ChecksumOf(std::span<const uint8_t> bytes) {
    return static_cast<uint8_t>(std::accumulate(bytes.begin(), bytes.end(), 0U));
}

void FinishFrame(std::vector<uint8_t>& frame, FrameChecksum checksum) {
    if (checksum == FrameChecksum::With) {
        std::string digits;
        AppendHex(digits, ChecksumOf(frame), 2);
        frame.insert(frame.end(), digits.begin(), digits.end());
    }
    frame.insert(frame.end(), kFrameTerminator.begin(), kFrameTerminator.end());
}

std::vector<uint8_t> BuildFrame(std::string_view text, FrameChecksum checksum) {
    std::vector<uint8_t> frame(text.begin(), text.end());
    FinishFrame(frame, checksum);
    return frame;
}

} // namespace varnolt
