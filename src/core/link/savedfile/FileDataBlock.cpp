#include "core/link/savedfile/FileDataBlock.h"

#include "core/link/protocol/FrameTerminator.h"

#include <cassert>

namespace varnolt {

namespace {

constexpr size_t kNameBytes = 2;
constexpr size_t kCheckBytes = 1;

} // namespace

FileDataBlock InspectFileDataBlock(std::span<const uint8_t> answer) {
    FileDataBlock block;
    if (answer.size() < kNameBytes + kCheckBytes + kFrameTerminator.size()) {
        return block;
    }
    const size_t checkAt = answer.size() - kFrameTerminator.size() - kCheckBytes;
    block.data = answer.subspan(kNameBytes, checkAt - kNameBytes);
    block.check = answer[checkAt];
    uint8_t sum = 0;
    for (const uint8_t byte : block.data) {
        sum = static_cast<uint8_t>(sum + byte);
    }
    block.intact = static_cast<uint8_t>(~sum) == block.check;
    return block;
}

void UnpackFileDataBlock(const FileDataBlock& block, std::span<uint16_t> destination) {
    assert(destination.size() >= block.wordCount());
    const std::span<const uint8_t> data = block.data;
    for (size_t k = 0; k < block.wordCount(); ++k) {
        const uint8_t high = data[2 * k];
        const uint8_t low = 2 * k + 1 < data.size() ? data[2 * k + 1] : block.check;
        destination[k] = static_cast<uint16_t>(high << 8 | low);
    }
}

} // namespace varnolt
