#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace varnolt {
class CSaParameter;
}

namespace varnolt::sim {

// The analyzer's settings memory, addressed in bytes. The PC reads and writes it in 27 blocks:
// 0000 (1280 bytes, so it overlaps the first 256 bytes of 0400), 0400, and 1000 to 7000 in
// steps of 0400 (1024 bytes each).
class SettingsMemory {
public:
    static constexpr uint32_t kBytes = 0x7400;

    // Power-on content: the default settings, written block by block as the PC would.
    SettingsMemory();

    // The block at ADDRESS (empty for an address that names no block).
    [[nodiscard]] std::span<const uint8_t> block(uint32_t address) const;
    // Stores the bytes that HEX_TEXT spells (two hex characters each) from ADDRESS on; what
    // lies past the memory is dropped.
    void WriteHex(uint32_t address, std::span<const uint8_t> hexText);
    [[nodiscard]] std::span<const uint8_t> bytes() const { return bytes_; }
    // The settings the memory holds, decoded as the PC decodes them: the general block and the
    // triggers, and with TRANSMIT_ENTRIES also the fifty transmit entries.
    [[nodiscard]] CSaParameter decoded(bool transmitEntries) const;

private:
    std::vector<uint8_t> bytes_;
};

} // namespace varnolt::sim
