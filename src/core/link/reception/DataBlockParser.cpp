#include "core/link/reception/DataBlockParser.h"

#include "core/link/protocol/AnswerCode.h"
#include "core/link/protocol/FrameTerminator.h"
#include "core/link/protocol/HexDigits.h"

namespace varnolt {

namespace {

constexpr size_t kCountOffset = 2;
constexpr size_t kDeviceIndexOffset = 6;
constexpr size_t kItemsOffset = 14;
constexpr size_t kTrailerBytes = 2 + kFrameTerminator.size(); // checksum and terminator

} // namespace

std::optional<DecodedBlock> ParseDataBlock(std::span<const uint8_t> answer, uint16_t recordWidth) {
    if (answer.size() < kItemsOffset + kTrailerBytes || !VerifyAnswerChecksum(answer)) {
        return std::nullopt;
    }
    const size_t units = ReadHexDigits(answer, kCountOffset, 4);
    const uint32_t device = ReadHexDigits(answer, kDeviceIndexOffset, 8);
    DecodedBlock block;
    block.recordWidth = recordWidth;
    const size_t items = recordWidth == 1 ? units / 2 : units;
    const size_t bytes = items * block.itemBytes();
    if (kItemsOffset + bytes + kTrailerBytes > answer.size()) {
        return std::nullopt; // the count claims more than the answer carries
    }
    block.items = answer.subspan(kItemsOffset, bytes);
    block.firstDevice =
        static_cast<DeviceIndex>(device % static_cast<uint32_t>(DeviceIndexWrap(recordWidth)));
    return block;
}

} // namespace varnolt
