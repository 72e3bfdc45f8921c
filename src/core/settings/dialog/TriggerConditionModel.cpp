#include "core/settings/dialog/TriggerConditionModel.h"

#include "core/settings/SettingsValidation.h"
#include "core/settings/dialog/DialogFormat.h"

#include <algorithm>

namespace varnolt {

namespace {

constexpr uint16_t kRiseField = 0x1; // "Ｈ↑": 01 in the line's field of the rise mask
constexpr uint16_t kFallField = 0x2; // "Ｌ↓": 10 in the line's field of the fall mask
constexpr uint8_t kMatchSd = 0x01;
constexpr uint8_t kMatchRd = 0x02;

uint16_t FieldOf(uint16_t mask, size_t line) {
    return static_cast<uint16_t>((mask >> (2 * line)) & 0x3);
}

// The six line fields from the boxes; bits 15..12 of MASK stay as they are.
uint16_t ComposeMask(uint16_t mask, const std::array<bool, kTriggerLineCount>& boxes,
                     uint16_t field) {
    auto composed = static_cast<uint16_t>(mask & ~kControlLineMaskBits);
    for (size_t line = 0; line < boxes.size(); ++line) {
        if (boxes[line]) {
            composed = static_cast<uint16_t>(composed | (field << (2 * line)));
        }
    }
    return composed;
}

// A number typed from 1 into a field stored from 0.
void StoreNumberFromOne(std::string_view text, const SettingLimit& limit, uint32_t& field,
                        UserPrompt& prompt) {
    if (const auto number = CheckTypedSetting(text, limit, prompt)) {
        field = *number - 1;
    }
}

} // namespace

TriggerConditionModel::TriggerConditionModel(const SaTriggerEntry& trigger)
    : copy_(trigger), storedCondition_(trigger.condition),
      kind_(trigger.condition < kTriggerConditionCount ? trigger.condition : -1) {
    for (size_t line = 0; line < kTriggerLineCount; ++line) {
        rise_[line] = FieldOf(copy_.riseMask, line) == kRiseField;
        fall_[line] = FieldOf(copy_.fallMask, line) == kFallField;
    }
    for (const uint8_t kind : {kTriggerOnIdle, kTriggerOnTimer, kTriggerOnCounter}) {
        fillPage(kind);
    }
}

void TriggerConditionModel::fillPage(int kind) {
    const auto value = static_cast<int32_t>(copy_.conditionValue);
    if (kind == kTriggerOnIdle) {
        idleText_ = PrintfText("%6d", value);
    } else if (kind == kTriggerOnTimer) {
        timerText_ = PrintfText("%1d", value + 1);
    } else if (kind == kTriggerOnCounter) {
        counterText_ = PrintfText("%1d", value + 1);
    }
}

void TriggerConditionModel::chooseKind(int kind) {
    if (kind < 0 || kind >= kTriggerConditionCount) {
        return;
    }
    kind_ = kind;
    if (kind == storedCondition_) {
        return;
    }
    // Only the chosen page is refilled: the others keep what they show.
    if (kind == kTriggerOnIdle) {
        copy_.conditionValue = 1;
        fillPage(kind);
    } else if (kind == kTriggerOnTimer || kind == kTriggerOnCounter) {
        copy_.conditionValue = 0;
        fillPage(kind);
    }
}

std::span<const PatternElement> TriggerConditionModel::shownPattern() const {
    const auto end = std::find_if(copy_.pattern.begin(), copy_.pattern.end(),
                                  [](const PatternElement& e) { return !IsPatternKind(e.kind); });
    return std::span<const PatternElement>(copy_.pattern.begin(), end);
}

void TriggerConditionModel::takePattern(
    std::span<const PatternElement> elements,
    const std::array<PatternBitMask, kPatternBitMaskCount>& bitMasks,
    const std::array<PatternRange, kPatternRangeCount>& ranges) {
    copy_.pattern.fill(PatternElement{});
    std::copy_n(elements.begin(), std::min(elements.size(), copy_.pattern.size()),
                copy_.pattern.begin());
    copy_.bitMasks = bitMasks;
    copy_.ranges = ranges;
}

bool TriggerConditionModel::matchLine(int line) const {
    return (copy_.matchLines & (line == 0 ? kMatchSd : kMatchRd)) != 0;
}

void TriggerConditionModel::setMatchLine(int line, bool on) {
    const uint8_t bit = line == 0 ? kMatchSd : kMatchRd;
    copy_.matchLines = static_cast<uint8_t>(on ? copy_.matchLines | bit : copy_.matchLines & ~bit);
}

bool TriggerConditionModel::errorBox(size_t box) const {
    return (copy_.errorMask & kTriggerErrorBits.at(box)) != 0;
}

void TriggerConditionModel::setErrorBox(size_t box, bool on) {
    const uint8_t bit = kTriggerErrorBits.at(box);
    copy_.errorMask = static_cast<uint8_t>(on ? copy_.errorMask | bit : copy_.errorMask & ~bit);
}

void TriggerConditionModel::checkPage(UserPrompt& prompt) {
    switch (kind_) {
    case kTriggerOnIdle:
        if (const auto idle = CheckTypedSetting(idleText_, kIdleTimeLimit, prompt)) {
            copy_.conditionValue = *idle;
        }
        break;
    case kTriggerOnTimer:
        StoreNumberFromOne(timerText_, kTimerCounterNumberLimit, copy_.conditionValue, prompt);
        break;
    case kTriggerOnCounter:
        StoreNumberFromOne(counterText_, kTimerCounterNumberLimit, copy_.conditionValue, prompt);
        break;
    default:
        break;
    }
}

void TriggerConditionModel::accept(SaTriggerEntry& trigger, UserPrompt& prompt) {
    checkPage(prompt);
    if (kind_ < 0) {
        return;
    }
    trigger.condition = static_cast<uint8_t>(kind_);
    switch (kind_) {
    case kTriggerOnCharacters:
        trigger.pattern = copy_.pattern;
        trigger.bitMasks = copy_.bitMasks;
        trigger.ranges = copy_.ranges;
        trigger.matchLines = copy_.matchLines;
        break;
    case kTriggerOnError:
        trigger.errorMask = copy_.errorMask;
        break;
    case kTriggerOnControlLine:
        trigger.riseMask = ComposeMask(copy_.riseMask, rise_, kRiseField);
        trigger.fallMask = ComposeMask(copy_.fallMask, fall_, kFallField);
        break;
    default:
        trigger.conditionValue = copy_.conditionValue;
        break;
    }
}

} // namespace varnolt
