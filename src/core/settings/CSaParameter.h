#pragma once

#include "core/capture/CaptureHeader.h"
#include "core/settings/SaCounterEntry.h"
#include "core/settings/SaTimerEntry.h"
#include "core/settings/SaTriggerEntry.h"
#include "core/settings/SaTxEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace varnolt {

class BinaryReader;
class BinaryWriter;
class UserPrompt;

// Line modes: 1 + 2 × line type (0 RS-232C, 1 RS-422/485) + mode (0 monitor, 1 simulation).
inline constexpr int16_t kLineRs232cMonitor = 1;
inline constexpr int16_t kLineRs232cSimulation = 2;
inline constexpr int16_t kLineRs422Monitor = 3;
inline constexpr int16_t kLineRs422Simulation = 4;

// Parity values; 1 is not used.
inline constexpr int32_t kParityNone = 0;
inline constexpr int32_t kParityEven = 2;
inline constexpr int32_t kParityOdd = 3;

inline constexpr int32_t kFrameDetectionTimeMax = 99'999; // in 0.001 s
inline constexpr uint8_t kBacklightOffTimeMax = 250;      // in minutes

inline constexpr size_t kTriggerCount = 8;
inline constexpr size_t kTimerCount = 4;
inline constexpr size_t kCounterCount = 4;
inline constexpr size_t kTxEntryCount = 50;
inline constexpr size_t kFrameDelimiterCount = 4;
inline constexpr size_t kReservedByteCount = 4;

// The complete settings the analyzer runs with: line attachment, display, frame recognition,
// triggers, timers, counters and transmit strings. A plain value: copying copies every field.
// Numbers of triggers, timers, counters and transmit entries are stored from 0.
class CSaParameter {
public:
    int16_t lineMode = kLineRs232cMonitor;
    uint32_t speed = 9600; // bits per second
    int16_t dataBits = 8;
    int16_t stopBits = 1;
    int32_t parity = kParityNone;
    int32_t transmitOutput = 0;       // RS-422/485 driver: 0 on while sending, 1 always on
    int32_t idleDisplay = 0;          // 0 none; 1, 2, 3: 0.001 s, 0.01 s, 0.1 s resolution
    int32_t timeDisplay = 0;          // 0 none; 1 to 5: the time-stamp kinds
    uint16_t controlLineCapture = 0;  // 1: every recorded item carries the control lines
    uint16_t controlLineDrawing = 0;  // 0 line, 1 filled
    int32_t displayMode = 0;          // 0 continuous, 1 frame
    int32_t frameDetectionTime = 100; // in 0.001 s
    std::array<FrameDelimiter, kFrameDelimiterCount> frameDelimiters{}; // by DelimiterSlot
    int32_t operationKeys = 0;                                          // 0 one row, 1 two rows
    int32_t characterSize = 0;                                          // 0 standard, 1 small
    uint8_t backlightOffTime = 0; // minutes; 0 = never switched off
    // Kept only in settings files; never edited, never sent to the analyzer.
    std::array<uint8_t, kReservedByteCount> reserved{0x17, 0xEA, 0x2A, 0xD8};
    std::array<SaTriggerEntry, kTriggerCount> triggers{};
    std::array<SaTimerEntry, kTimerCount> timers{};
    std::array<SaCounterEntry, kCounterCount> counters{};
    std::array<SaTxEntry, kTxEntryCount> transmitEntries{};

    // Every field back to its default; only bits 11..0 of the control-line masks are cleared.
    void Initialize();

    // Makes a model read from a file safe: values outside their field's range become a valid
    // default, patterns end at their first element of a foreign kind. Speed, timers, counters
    // and transmit element counts are left alone.
    void Normalize();

    // Writes the model as a settings file (version "0110"), replacing a file at PATH only once
    // complete. A file that cannot be created or written is reported through PROMPT and leaves
    // what PATH held; returns whether every byte was written.
    bool SaveFile(const std::filesystem::path& path, UserPrompt& prompt) const;
    // The bytes of that file, appended to WRITER.
    void Write(BinaryWriter& writer) const;

    // Reads a settings file into the model, field by field. Every refusal and read error is
    // reported through PROMPT, except a file of a newer version, which silently resets the
    // model to its defaults. Fields read before an error keep what was read, the rest keep
    // their values. Returns true only when the whole file was read. Callers normalize after
    // every call, whatever its outcome.
    bool LoadFile(const std::filesystem::path& path, UserPrompt& prompt);
    // LoadFile from the bytes READER holds; PATH names them in file-error messages.
    bool Read(BinaryReader& reader, UserPrompt& prompt, const std::filesystem::path& path);

    friend bool operator==(const CSaParameter&, const CSaParameter&) = default;
};

} // namespace varnolt
