#include "core/link/reception/ReceivedRecords.h"

#include "core/capture/AutomaticSave.h"

namespace varnolt {

RecordCount AppendDataBlock(CCaptureData& store, const DecodedBlock& block, bool automaticSave) {
    const DeviceIndex wrap = DeviceIndexWrap(block.recordWidth);
    DeviceIndex device = block.firstDevice;
    const RecordCount count = block.count();
    for (RecordCount k = 0; k < count; ++k) {
        const RingIndex appended = store.Append(block.word(static_cast<size_t>(k)), device);
        if (automaticSave) {
            SaveBankIfFull(store, appended);
        }
        device = NextDeviceIndex(device, wrap);
    }
    return count;
}

void AppendOverflowMark(CCaptureData& store, bool automaticSave) {
    const RingIndex appended = store.Append(kOverflowMarkerWord, 0);
    if (automaticSave) {
        SaveBankIfFull(store, appended);
    }
}

} // namespace varnolt
