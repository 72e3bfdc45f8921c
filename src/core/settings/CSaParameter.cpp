#include "core/settings/CSaParameter.h"

#include <algorithm>
#include <span>

namespace varnolt {

namespace {

// Cuts PATTERN at its first element that KEEPS rejects: that element and all after it become
// (0, 0).
template <typename Keeps>
void CutPattern(std::span<PatternElement> pattern, Keeps keeps) {
    const auto end = std::find_if_not(pattern.begin(), pattern.end(),
                                      [&](const PatternElement& e) { return keeps(e.kind); });
    std::fill(end, pattern.end(), PatternElement{});
}

template <typename T>
void ResetOutside(T& field, T low, T high, T fallback) {
    if (field < low || field > high) {
        field = fallback;
    }
}

template <typename T>
void ResetAbove(T& field, T high, T fallback = T{}) {
    if (field > high) {
        field = fallback;
    }
}

} // namespace

void CSaParameter::Initialize() {
    std::array<uint16_t, kTriggerCount> riseHigh{};
    std::array<uint16_t, kTriggerCount> fallHigh{};
    for (size_t i = 0; i < kTriggerCount; ++i) {
        riseHigh[i] = triggers[i].riseMask & ~kControlLineMaskBits;
        fallHigh[i] = triggers[i].fallMask & ~kControlLineMaskBits;
    }
    *this = CSaParameter{};
    for (size_t i = 0; i < kTriggerCount; ++i) {
        triggers[i].riseMask = riseHigh[i];
        triggers[i].fallMask = fallHigh[i];
    }
}

void CSaParameter::Normalize() {
    ResetOutside<int16_t>(lineMode, kLineRs232cMonitor, kLineRs422Simulation, kLineRs232cMonitor);
    ResetOutside<int16_t>(dataBits, 7, 8, 8);
    ResetOutside<int16_t>(stopBits, 1, 2, 1);
    if (parity != kParityNone && parity != kParityEven && parity != kParityOdd) {
        parity = kParityNone;
    }
    ResetOutside(transmitOutput, 0, 1, 0);
    ResetOutside(idleDisplay, 0, 3, 0);
    ResetOutside(timeDisplay, 0, 5, 0);
    ResetAbove<uint16_t>(controlLineCapture, 1);
    ResetAbove<uint16_t>(controlLineDrawing, 1);
    ResetOutside(displayMode, 0, 1, 0);
    ResetOutside(operationKeys, 0, 1, 0);
    ResetOutside(characterSize, 0, 1, 0);
    ResetAbove(backlightOffTime, kBacklightOffTimeMax);
    frameDetectionTime = std::clamp(frameDetectionTime, 0, kFrameDetectionTimeMax);
    for (FrameDelimiter& delimiter : frameDelimiters) {
        ResetAbove<int8_t>(delimiter.enabled, 1);
    }

    for (SaTriggerEntry& trigger : triggers) {
        if (trigger.enabled != kSaByteOn && trigger.enabled != kSaByteOff) {
            trigger.enabled = kSaByteOff;
        }
        ResetAbove<uint8_t>(trigger.condition, kTriggerOnCounter, kTriggerOnError);
    }
    for (SaTriggerEntry& trigger : triggers) {
        CutPattern(trigger.pattern, IsPatternKind);
    }
    for (SaTxEntry& entry : transmitEntries) {
        CutPattern(entry.elements, [](uint8_t kind) { return kind == kPatternCharacter; });
    }
}

} // namespace varnolt
