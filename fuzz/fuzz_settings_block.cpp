// Feeds arbitrary analyzer answers to the settings-block and short-settings decoders. The first
// two bytes choose the echoed block address; the rest is the answer data, held in a buffer of
// exactly its size so that any read past it is caught.

#include "core/settings/SettingsBlockCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace varnolt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    // Mostly real block addresses, sometimes any 16-bit value.
    SettingsBlockAddress address = static_cast<SettingsBlockAddress>(data[0] << 8 | data[1]);
    if (data[0] < 0xC0) {
        address = kSettingsBlockAddresses[data[1] % kSettingsBlockCount];
    }
    const std::vector<uint8_t> answer(data + 2, data + size);

    CSaParameter model;
    const bool decoded = DecodeSettingsBlock(answer, address, model);
    if (answer.size() >= 2 * SettingsBlockPayloadBytes(address) && !decoded) {
        std::abort(); // a complete answer is always taken
    }
    // Whatever was decoded encodes again within the frame capacity.
    std::vector<uint8_t> frame(kSettingsFrameCapacity);
    if (EncodeSettingsBlock(frame, address, model) == 0) {
        std::abort();
    }

    CaptureHeader header;
    DecodeCaptureHeader(answer, header);
    return 0;
}
