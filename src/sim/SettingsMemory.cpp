#include "sim/SettingsMemory.h"

#include <algorithm>

namespace varnolt::sim {

SettingsMemory::SettingsMemory() : bytes_(kBytes, 0xFF) {
}

size_t SettingsMemory::blockLength(uint32_t address) {
    if (address == 0) {
        return 1280;
    }
    if (address == kBlockStep) {
        return 1024;
    }
    if (address >= kFirstTransmitBlock && address <= kLastTransmitBlock &&
        address % kBlockStep == 0) {
        return 1024;
    }
    return 0;
}

std::span<const uint8_t> SettingsMemory::block(uint32_t address) const {
    if (blockLength(address) == 0) {
        return {};
    }
    return std::span<const uint8_t>(bytes_).subspan(address, blockLength(address));
}

void SettingsMemory::write(uint32_t address, std::span<const uint8_t> bytes) {
    if (address >= bytes_.size()) {
        return;
    }
    const size_t count = std::min(bytes.size(), bytes_.size() - address);
    std::copy_n(bytes.begin(), count, bytes_.begin() + address);
}

} // namespace varnolt::sim
