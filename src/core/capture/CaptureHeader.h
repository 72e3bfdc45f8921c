#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace varnolt {

// One frame delimiter of the frame display: when enabled, a frame line starts before a
// character equal to a start code and ends after one equal to an end code.
struct FrameDelimiter {
    int8_t enabled = 0; // nonzero = on
    uint8_t code = 0;
    uint8_t spare = 0; // carried along unchanged
    friend bool operator==(const FrameDelimiter&, const FrameDelimiter&) = default;
};

// Index of a delimiter in CaptureHeader::delimiters.
enum class DelimiterSlot : uint8_t { SdStart = 0, SdEnd = 1, RdStart = 2, RdEnd = 3 };

// The communication conditions a store takes over when it is reset: those of the analyzer
// settings, the record width being their control-line capture setting.
struct CaptureConditions {
    uint16_t lineMode = 1;
    uint32_t speed = 9600;
    uint16_t dataBits = 8;
    uint16_t stopBits = 1;
    int32_t parity = 0;
    int32_t transmitOutput = 0;
    uint16_t recordWidth = 0;
    friend bool operator==(const CaptureConditions&, const CaptureConditions&) = default;
};

// The conditions under which a capture was recorded, with the display options that travel
// with it in the capture file. Defaults are those of a new document.
struct CaptureHeader {
    uint16_t lineMode = 1;           // 1 RS-232C monitor, 2 RS-232C simulation, 3/4 RS-422/485 same
    uint32_t speed = 9600;           // bits per second
    uint16_t dataBits = 8;           // 7 or 8
    uint16_t stopBits = 1;           // 1 or 2
    int32_t parity = 0;              // 0 none, 2 even, 3 odd
    int32_t transmitOutput = 0;      // RS-422/485 driver: 0 only while sending, 1 always on
    int32_t idleDisplay = 0;         // 0 off; 1, 2, 3 = resolution 0.001 s, 0.01 s, 0.1 s
    int32_t timeDisplay = 0;         // 0 off; 1 to 5 = the stamp kind's format
    uint32_t frameDetectionTime = 0; // units of 0.001 s
    std::array<FrameDelimiter, 4> delimiters{}; // indexed by DelimiterSlot
    int32_t formatVersion = 0;                  // analyzer data-format version: 2, 3, 4 or 110
    uint16_t recordWidth = 0; // 0: 16-bit items, low half 0; 1: low half = control lines

    [[nodiscard]] const FrameDelimiter& delimiter(DelimiterSlot slot) const {
        return delimiters[static_cast<size_t>(slot)];
    }
    [[nodiscard]] FrameDelimiter& delimiter(DelimiterSlot slot) {
        return delimiters[static_cast<size_t>(slot)];
    }
    // Takes over the communication conditions; the other fields keep their values.
    void apply(const CaptureConditions& conditions);

    friend bool operator==(const CaptureHeader&, const CaptureHeader&) = default;
};

} // namespace varnolt
