#include "core/link/reception/DataBlockParser.h"

#include "core/capture/AutomaticSave.h"
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

DataBlockResult ParseDataBlock(std::span<const uint8_t> answer, CCaptureData& store,
                               bool automaticSave) {
    if (answer.size() < kItemsOffset + kTrailerBytes || !VerifyAnswerChecksum(answer)) {
        return {};
    }
    const auto units = static_cast<size_t>(ReadHexDigits(answer, kCountOffset, 4));
    auto device = static_cast<DeviceIndex>(ReadHexDigits(answer, kDeviceIndexOffset, 8));
    const uint16_t width = store.header().recordWidth;
    const size_t itemBytes = width == 1 ? 4 : 2;
    const size_t items = width == 1 ? units / 2 : units;
    if (kItemsOffset + items * itemBytes + kTrailerBytes > answer.size()) {
        return {}; // the count claims more than the answer carries
    }
    const DeviceIndex wrap = DeviceIndexWrap(width);
    const uint8_t* item = answer.data() + kItemsOffset;
    for (size_t k = 0; k < items; ++k, item += itemBytes) {
        const RecordWord word = width == 1 ? RecordWord{item[0]} << 24 | RecordWord{item[1]} << 16 |
                                                 RecordWord{item[2]} << 8 | item[3]
                                           : RecordWord{item[0]} << 24 | RecordWord{item[1]} << 16;
        const RingIndex appended = store.Append(word, device);
        if (automaticSave) {
            SaveBankIfFull(store, appended);
        }
        device = device + 1 >= wrap ? 0 : device + 1;
    }
    return {true, static_cast<RecordCount>(items)};
}

void AppendOverflowMark(CCaptureData& store) {
    store.Append(kOverflowMarkerWord, 0);
}

} // namespace varnolt
