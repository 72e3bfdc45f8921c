#pragma once

#include "core/settings/PatternElement.h"
#include "core/settings/SaSwitch.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace varnolt {

// Trigger conditions.
inline constexpr uint8_t kTriggerOnCharacters = 0;
inline constexpr uint8_t kTriggerOnError = 1;
inline constexpr uint8_t kTriggerOnControlLine = 2;
inline constexpr uint8_t kTriggerOnIdle = 3;
inline constexpr uint8_t kTriggerOnTimer = 4;
inline constexpr uint8_t kTriggerOnCounter = 5;
inline constexpr uint8_t kTriggerConditionCount = 6;

// Trigger actions.
inline constexpr uint8_t kTriggerBuzzer = 0;
inline constexpr uint8_t kTriggerStop = 1;
inline constexpr uint8_t kTriggerStopAfterDelay = 2;
inline constexpr uint8_t kTriggerStopAfterCharacters = 3;
inline constexpr uint8_t kTriggerSend = 4;
inline constexpr uint8_t kTriggerSave = 5;
inline constexpr uint8_t kTriggerTimerOperation = 6;
inline constexpr uint8_t kTriggerCounterOperation = 7;
inline constexpr uint8_t kTriggerTriggerOperation = 8;

// The control-line masks hold six 2-bit fields (RS, ER, CS, DR, CD, CI from bit 0); the bits
// above them belong to the analyzer and are never touched.
inline constexpr uint16_t kControlLineMaskBits = 0x0FFF;

inline constexpr size_t kTriggerPatternLength = 16;
inline constexpr size_t kPatternBitMaskCount = 4;
inline constexpr size_t kPatternRangeCount = 4;

// One of the analyzer's eight triggers: a condition, an action, and what the condition and
// action need. Fields the current condition or action does not use keep their values.
struct SaTriggerEntry {
    uint8_t enabled = kSaByteOff;
    uint8_t condition = kTriggerOnError;
    uint16_t riseMask = 0; // control-line change: 01 in a line's field = a change to on
    uint16_t fallMask = 0; // 10 in a line's field = a change to off
    uint8_t action = kTriggerBuzzer;
    // Error condition: bits 7..3 PE, FE, PF, BR, OE; bit 1 SD, bit 0 RD.
    uint8_t errorMask = 0xFF;
    // Idle: idle time in 0.01 s; timer, counter: its number from 0.
    uint32_t conditionValue = 1;
    // Seconds, characters, 0.01 s, save extent before the trigger, or an operation's target.
    uint16_t actionValue1 = 0;
    // Save extent after the trigger, or the timer, counter or trigger operation.
    uint16_t actionValue2 = 0;
    uint8_t transmitNumber = 0; // send: transmit entry from 0
    uint8_t matchLines = 3;     // character match: bit 0 SD, bit 1 RD
    std::array<PatternElement, kTriggerPatternLength> pattern{};
    std::array<PatternBitMask, kPatternBitMaskCount> bitMasks{};
    std::array<PatternRange, kPatternRangeCount> ranges{};
    uint8_t historyEnabled = kSaByteOff;
    int32_t extendedSave = 0; // 0 none, 1 timer, 2 counter
    uint8_t extendedSaveNumber = 0;

    friend bool operator==(const SaTriggerEntry&, const SaTriggerEntry&) = default;
};

} // namespace varnolt
