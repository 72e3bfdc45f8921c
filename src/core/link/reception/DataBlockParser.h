#pragma once

#include "core/capture/CCaptureData.h"

#include <cstdint>
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

// How a data block ("BD") fared.
struct DataBlockResult {
    bool good = false;        // false: a bad block (checksum, or items missing); nothing stored
    RecordCount appended = 0; // records appended
};

// Decodes the data-block answer ANSWER (from its "BD" to its terminator) into STORE: "BD", N
// (four hex digits: 16-bit units), the device index of the first item (eight hex digits), the
// items as raw bytes, most significant first (N two-byte items with record width 0, N / 2
// four-byte items with width 1), the checksum and the terminator. Each item is appended with
// its device index, which counts up and wraps as the analyzer's memory does.
//
// With AUTOMATIC_SAVE, the record that fills the ring's last slot hands the full bank to the
// background save and the other bank takes over.
//
// A block whose checksum fails, or whose count claims more items than the answer holds, is
// bad: nothing is appended and nothing past ANSWER is read.
DataBlockResult ParseDataBlock(std::span<const uint8_t> answer, CCaptureData& store,
                               bool automaticSave);

// The analyzer reported that the PC fell behind ("BO"): an SD overrun record with device index
// 0 marks the gap in the capture. Never starts an automatic save.
void AppendOverflowMark(CCaptureData& store);

} // namespace varnolt
