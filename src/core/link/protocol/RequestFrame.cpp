#include "core/link/protocol/RequestFrame.h"

#include "core/link/protocol/FrameTerminator.h"
#include "core/settings/HexText.h"

namespace varnolt {

void FinishFrame(std::vector<uint8_t>& frame, FrameChecksum checksum) {
    if (checksum == FrameChecksum::With) {
        uint8_t digits[2];
        WriteHexPair(ByteSum(frame), digits);
        frame.insert(frame.end(), digits, digits + 2);
    }
    frame.insert(frame.end(), kFrameTerminator.begin(), kFrameTerminator.end());
}

bool EndsWithChecksum(std::span<const uint8_t> frame) {
    if (frame.size() < 2) {
        return false;
    }
    uint8_t digits[2];
    WriteHexPair(ByteSum(frame.first(frame.size() - 2)), digits);
    return frame[frame.size() - 2] == digits[0] && frame[frame.size() - 1] == digits[1];
}

std::vector<uint8_t> BuildFrame(std::string_view text, FrameChecksum checksum) {
    std::vector<uint8_t> frame(text.begin(), text.end());
    FinishFrame(frame, checksum);
    return frame;
}

} // namespace varnolt
