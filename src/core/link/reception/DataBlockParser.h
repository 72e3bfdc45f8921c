#pragma once

#include "core/capture/CCaptureData.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace varnolt {

// A position in the analyzer's own capture memory, as its data blocks count it.
using DeviceIndex = int32_t;

// The analyzer's memory holds 900,018 sixteen-bit items or 450,009 thirty-two-bit items; its
// device index returns to 0 there.
inline constexpr DeviceIndex kDeviceIndexWrapNarrow = 900'018;
inline constexpr DeviceIndex kDeviceIndexWrapWide = 450'009;

// The device-index wrap for RECORD_WIDTH (0: 16-bit items, 1: 32-bit items).
[[nodiscard]] constexpr DeviceIndex DeviceIndexWrap(uint16_t recordWidth) {
    return recordWidth == 1 ? kDeviceIndexWrapWide : kDeviceIndexWrapNarrow;
}

// The device index after INDEX (within 0 ... wrap - 1): it returns to 0 at the wrap.
[[nodiscard]] constexpr DeviceIndex NextDeviceIndex(DeviceIndex index, DeviceIndex wrap) {
    return index >= wrap - 1 ? 0 : index + 1;
}

// What a data block ("BD") carries: its items as raw bytes, most significant first, and the
// device index of the first. A view into the answer: valid while the answer is.
struct DecodedBlock {
    std::span<const uint8_t> items;
    uint16_t recordWidth = 0;
    DeviceIndex firstDevice = 0; // within 0 ... DeviceIndexWrap(recordWidth) - 1

    [[nodiscard]] size_t itemBytes() const { return recordWidth == 1 ? 4 : 2; }
    [[nodiscard]] RecordCount count() const {
        return static_cast<RecordCount>(items.size() / itemBytes());
    }
    // The record word of item K: a 16-bit item shifted into bits 31..16, a 32-bit item as is.
    [[nodiscard]] RecordWord word(size_t k) const {
        const uint8_t* item = items.data() + k * itemBytes();
        const RecordWord high = RecordWord{item[0]} << 24 | RecordWord{item[1]} << 16;
        return recordWidth == 1 ? high | RecordWord{item[2]} << 8 | item[3] : high;
    }
};

// Decodes the data-block answer ANSWER (from its "BD" to its terminator) for a capture of
// RECORD_WIDTH: "BD", N (four hex digits: 16-bit units), the device index of the first item
// (eight hex digits), the items as raw bytes (N two-byte items with record width 0, N / 2
// four-byte items with width 1), the checksum and the terminator. Changes nothing: the
// reception decides what to do with the block.
//
// nullopt for a bad block: its checksum fails, or its count claims more items than the answer
// holds; nothing past ANSWER is read. A device index the analyzer cannot have (at or past the
// wrap, up to FFFFFFFF) is brought into its memory's range, so no index arithmetic overflows.
[[nodiscard]] std::optional<DecodedBlock> ParseDataBlock(std::span<const uint8_t> answer,
                                                         uint16_t recordWidth);

} // namespace varnolt
