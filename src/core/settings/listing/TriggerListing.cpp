// The trigger lines of the settings listing: condition, action and history spelled out.

#include "core/settings/SaTriggerEntry.h"
#include "core/settings/listing/ListingText.h"
#include "core/settings/listing/SettingsListing.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace varnolt {

namespace {

constexpr std::array<std::string_view, 5> kErrorNames = {"PE", "FE", "PF", "BR", "OE"};
constexpr std::array<std::string_view, 6> kLineNames = {"RS", "ER", "CS", "DR", "CD", "CI"};

std::string Number(uint32_t storedFromZero) {
    return std::to_string(uint64_t{storedFromZero} + 1);
}

// Hundredths as seconds: "0.30 s".
std::string Hundredths(uint32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%02u s", value / 100, value % 100);
    return text;
}

std::string LinesText(uint8_t sdBit, uint8_t rdBit, uint8_t mask) {
    const bool sd = (mask & sdBit) != 0;
    const bool rd = (mask & rdBit) != 0;
    return sd && rd ? "SD and RD" : sd ? "SD" : rd ? "RD" : "no line";
}

// "1?0?????": bit 7 first; 1 must be set, 0 must be clear, ? either.
std::string BitsText(const PatternBitMask& mask) {
    std::string bits;
    for (int bit = 7; bit >= 0; --bit) {
        const auto flag = static_cast<uint8_t>(1U << bit);
        bits += (mask.mustBeOne & flag) != 0 ? '1' : (mask.mustBeZero & flag) != 0 ? '0' : '?';
    }
    return bits;
}

std::string RangeText(const PatternRange& range) {
    return (range.lowEnabled != 0 ? HexByte(range.low) : std::string()) + ".." +
           (range.highEnabled != 0 ? HexByte(range.high) : std::string());
}

std::string ElementText(const SaTriggerEntry& trigger, const PatternElement& element) {
    switch (element.kind) {
    case kPatternCharacter:
        return CharacterText(element.value);
    case kPatternError:
        return "<error " + NameOf(kErrorNames, element.value) + ">";
    case kPatternAny:
        return "<any>";
    case kPatternBitMask:
        return element.value < trigger.bitMasks.size()
                   ? "<bits " + BitsText(trigger.bitMasks[element.value]) + ">"
                   : "<bits " + UnknownValue(element.value) + ">";
    default: // kPatternRange
        return element.value < trigger.ranges.size()
                   ? "<range " + RangeText(trigger.ranges[element.value]) + ">"
                   : "<range " + UnknownValue(element.value) + ">";
    }
}

std::string PatternText(const SaTriggerEntry& trigger) {
    std::string text = "\"";
    for (const PatternElement& element : trigger.pattern) {
        if (!IsPatternKind(element.kind)) {
            break;
        }
        text += ElementText(trigger, element);
    }
    return text + "\"";
}

std::string ErrorText(uint8_t mask) {
    std::string kinds;
    for (size_t i = 0; i < kErrorNames.size(); ++i) {
        if ((mask & (0x80U >> i)) != 0) {
            kinds += " ";
            kinds += kErrorNames[i];
        }
    }
    return "error" + (kinds.empty() ? std::string(" of no kind") : kinds) + " on " +
           LinesText(0x02, 0x01, mask);
}

std::string LineChangeText(const SaTriggerEntry& trigger) {
    std::string changes;
    for (size_t line = 0; line < kLineNames.size(); ++line) {
        const auto add = [&](uint16_t mask, unsigned wanted, std::string_view direction) {
            if (((mask >> (2 * line)) & 0x3U) == wanted) {
                changes += changes.empty() ? " " : ", ";
                changes += std::string(kLineNames[line]) + std::string(direction);
            }
        };
        add(trigger.riseMask, 1, " to on");
        add(trigger.fallMask, 2, " to off");
    }
    return "control-line change" + (changes.empty() ? std::string(": none") : ":" + changes);
}

} // namespace

std::string TriggerConditionText(const SaTriggerEntry& trigger) {
    switch (trigger.condition) {
    case kTriggerOnCharacters:
        return "characters " + PatternText(trigger) + " on " +
               LinesText(0x01, 0x02, trigger.matchLines);
    case kTriggerOnError:
        return ErrorText(trigger.errorMask);
    case kTriggerOnControlLine:
        return LineChangeText(trigger);
    case kTriggerOnIdle:
        return "idle " + Hundredths(trigger.conditionValue);
    case kTriggerOnTimer:
        return "timer " + Number(trigger.conditionValue);
    case kTriggerOnCounter:
        return "counter " + Number(trigger.conditionValue);
    default:
        return UnknownValue(trigger.condition);
    }
}

std::string TriggerActionText(const SaTriggerEntry& trigger) {
    const uint16_t value1 = trigger.actionValue1;
    const uint16_t value2 = trigger.actionValue2;
    switch (trigger.action) {
    case kTriggerBuzzer:
        return "buzzer";
    case kTriggerStop:
        return "stop";
    case kTriggerStopAfterDelay:
        return "stop after " + std::to_string(value1) + " s";
    case kTriggerStopAfterCharacters:
        return "stop after " + std::to_string(value1) + " characters";
    case kTriggerSend:
        return "send transmit " + Number(trigger.transmitNumber) + " after " + Hundredths(value1);
    case kTriggerSave:
        return "save " + std::to_string(value1) + " before and " + std::to_string(value2) +
               " after the trigger";
    case kTriggerTimerOperation:
        return "timer " + Number(value1) + " " +
               NameOf(std::array<std::string_view, 3>{"start", "reset and start", "stop"}, value2);
    case kTriggerCounterOperation:
        return "counter " + Number(value1) + " " +
               NameOf(std::array<std::string_view, 2>{"count", "reset"}, value2);
    case kTriggerTriggerOperation:
        return "trigger " + Number(value1) + " " +
               NameOf(std::array<std::string_view, 2>{"enable", "disable"}, value2);
    default:
        return UnknownValue(trigger.action);
    }
}

std::string TriggerHistoryText(const SaTriggerEntry& trigger) {
    if (trigger.historyEnabled != kSaByteOn) {
        return trigger.historyEnabled == kSaByteOff ? "off" : UnknownValue(trigger.historyEnabled);
    }
    const std::string number = Number(trigger.extendedSaveNumber);
    switch (trigger.extendedSave) {
    case 0:
        return "on";
    case 1:
        return "on, extended save: timer " + number;
    case 2:
        return "on, extended save: counter " + number;
    default:
        return "on, extended save: " + UnknownValue(trigger.extendedSave);
    }
}

} // namespace varnolt
