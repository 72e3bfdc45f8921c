#include "sim/SettingsMemory.h"

#include "core/settings/CSaParameter.h"
#include "core/settings/HexText.h"
#include "core/settings/SettingsBlockCodec.h"

namespace varnolt::sim {

namespace {

// "SWE" and four address digits open a settings write; two checksum characters and the
// four-byte terminator close it.
constexpr size_t kWriteHead = 7;
constexpr size_t kWriteTail = 6;

} // namespace

SettingsMemory::SettingsMemory() : bytes_(kBytes, 0xFF) {
    const CSaParameter defaults;
    std::vector<uint8_t> frame(kSettingsFrameCapacity);
    for (const SettingsBlockAddress address : kSettingsBlockAddresses) {
        const size_t length = EncodeSettingsBlock(frame, address, defaults);
        if (length >= kWriteHead + kWriteTail) {
            WriteHex(address,
                     std::span(frame).subspan(kWriteHead, length - kWriteHead - kWriteTail));
        }
    }
}

std::span<const uint8_t> SettingsMemory::block(uint32_t address) const {
    if (address > UINT16_MAX) {
        return {};
    }
    const size_t length = SettingsBlockPayloadBytes(static_cast<SettingsBlockAddress>(address));
    if (length == 0) {
        return {};
    }
    return std::span<const uint8_t>(bytes_).subspan(address, length);
}

CSaParameter SettingsMemory::decoded(bool transmitEntries) const {
    CSaParameter settings;
    std::vector<uint8_t> hex;
    for (const SettingsBlockAddress address : kSettingsBlockAddresses) {
        if (!transmitEntries && address >= kFirstTxBlockAddress) {
            break;
        }
        const std::span<const uint8_t> bytes = block(address);
        hex.resize(2 * bytes.size());
        for (size_t k = 0; k < bytes.size(); ++k) {
            WriteHexPair(bytes[k], hex.data() + 2 * k);
        }
        (void)DecodeSettingsBlock(hex, address, settings);
    }
    return settings;
}

void SettingsMemory::WriteHex(uint32_t address, std::span<const uint8_t> hexText) {
    for (size_t pair = 0; pair + 1 < hexText.size() && address < bytes_.size(); pair += 2) {
        bytes_[address++] = ParseHexPair(hexText[pair], hexText[pair + 1]);
    }
}

} // namespace varnolt::sim
