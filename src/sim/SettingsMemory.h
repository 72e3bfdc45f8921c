#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace varnolt::sim {

// The analyzer's settings memory, addressed in bytes. The PC reads and writes it in 27 blocks:
// 0000 (1280 bytes, so it overlaps the first 256 bytes of 0400), 0400, and 1000 to 7000 in
// steps of 0400 (1024 bytes each).
class SettingsMemory {
public:
    static constexpr uint32_t kBytes = 0x7400;
    static constexpr uint32_t kFirstTransmitBlock = 0x1000;
    static constexpr uint32_t kLastTransmitBlock = 0x7000;
    static constexpr uint32_t kBlockStep = 0x400;

    // Power-on content: every byte FF.
    SettingsMemory();

    // Bytes of the block at ADDRESS: 1280, 1024, or 0 for an address that names no block.
    [[nodiscard]] static size_t blockLength(uint32_t address);
    // The block at ADDRESS (empty for an address that names no block).
    [[nodiscard]] std::span<const uint8_t> block(uint32_t address) const;
    // Stores BYTES from ADDRESS on; what lies past the memory is dropped.
    void write(uint32_t address, std::span<const uint8_t> bytes);
    [[nodiscard]] std::span<const uint8_t> bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

} // namespace varnolt::sim
