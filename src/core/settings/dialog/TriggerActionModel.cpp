#include "core/settings/dialog/TriggerActionModel.h"

#include "core/settings/SettingsValidation.h"
#include "core/settings/dialog/DialogFormat.h"
#include "core/settings/dialog/TriggerCaptions.h"

#include <optional>

namespace varnolt {

namespace {

using Field = TriggerActionModel::Field;

std::string Width4(int value) {
    return PrintfText("%4d", value);
}

std::string Width1(int value) {
    return PrintfText("%1d", value);
}

} // namespace

TriggerActionModel::TriggerActionModel(const SaTriggerEntry& trigger, const TransmitTable* transmit)
    : copy_(trigger), storedAction_(trigger.action),
      kind_(trigger.action < kTriggerActionCount ? trigger.action : -1), transmit_(transmit) {
    for (int kind = 0; kind < static_cast<int>(kTriggerActionCount); ++kind) {
        fillPage(kind);
    }
}

const std::string& TriggerActionModel::text(Field field) const {
    return texts_.at(static_cast<size_t>(field));
}

void TriggerActionModel::setText(Field field, std::string_view text) {
    texts_.at(static_cast<size_t>(field)) = text;
}

void TriggerActionModel::fillPage(int kind) {
    const auto value1 = static_cast<int16_t>(copy_.actionValue1);
    switch (kind) {
    case kTriggerStopAfterDelay:
        setText(Field::StopDelay, Width4(value1));
        break;
    case kTriggerStopAfterCharacters:
        setText(Field::StopCount, Width4(value1));
        break;
    case kTriggerSend:
        setText(Field::TransmitNumber, Width4(copy_.transmitNumber + 1));
        setText(Field::TransmitDelay, Width4(value1));
        break;
    case kTriggerSave:
        setText(Field::SaveBefore, Width4(value1));
        setText(Field::SaveAfter, Width4(static_cast<int16_t>(copy_.actionValue2)));
        break;
    case kTriggerTimerOperation:
        setText(Field::TimerNumber, Width1(value1 + 1));
        timerOperation.load(copy_.actionValue2);
        break;
    case kTriggerCounterOperation:
        setText(Field::CounterNumber, Width1(value1 + 1));
        counterOperation.load(copy_.actionValue2);
        break;
    case kTriggerTriggerOperation:
        setText(Field::TriggerNumber, Width1(value1 + 1));
        triggerOperation.load(copy_.actionValue2);
        break;
    default:
        break;
    }
}

void TriggerActionModel::chooseKind(int kind) {
    if (kind < 0 || kind >= static_cast<int>(kTriggerActionCount)) {
        return;
    }
    kind_ = kind;
    if (kind == storedAction_ || kind < kTriggerStopAfterDelay) {
        return;
    }
    copy_.actionValue1 = 0;
    if (kind >= kTriggerSave) {
        copy_.actionValue2 = 0;
    }
    fillPage(kind);
}

std::span<const PatternElement> TriggerActionModel::transmitCharacters() const {
    if (transmit_ == nullptr) {
        return {};
    }
    size_t entry = copy_.transmitNumber;
    if (const auto typed = ReadTypedNumber(text(Field::TransmitNumber));
        typed && *typed >= kTransmitNumberLimit.low && *typed <= kTransmitNumberLimit.high) {
        entry = *typed - 1;
    }
    if (entry >= transmit_->size()) {
        return {};
    }
    return (*transmit_)[entry].usedElements();
}

void TriggerActionModel::checkPage(UserPrompt& prompt) {
    // Each field is checked (and reported) on its own; a pair is stored only when both pass.
    const auto check = [&](Field field, const SettingLimit& limit) {
        return CheckTypedSetting(text(field), limit, prompt);
    };
    const auto storeNumber = [&](Field field, const SettingLimit& limit) {
        if (const auto number = check(field, limit)) {
            copy_.actionValue1 = static_cast<uint16_t>(*number - 1);
        }
    };
    switch (kind_) {
    case kTriggerStopAfterDelay:
    case kTriggerStopAfterCharacters:
        if (const auto value =
                check(kind_ == kTriggerStopAfterDelay ? Field::StopDelay : Field::StopCount,
                      kTriggerActionValueLimit)) {
            copy_.actionValue1 = static_cast<uint16_t>(*value);
        }
        break;
    case kTriggerSend: {
        const auto number = check(Field::TransmitNumber, kTransmitNumberLimit);
        const auto delay = check(Field::TransmitDelay, kTriggerActionValueLimit);
        if (number && delay) {
            copy_.transmitNumber = static_cast<uint8_t>(*number - 1);
            copy_.actionValue1 = static_cast<uint16_t>(*delay);
        }
        break;
    }
    case kTriggerSave: {
        const auto before = check(Field::SaveBefore, kTriggerActionValueLimit);
        const auto after = check(Field::SaveAfter, kTriggerActionValueLimit);
        if (before && after) {
            copy_.actionValue1 = static_cast<uint16_t>(*before);
            copy_.actionValue2 = static_cast<uint16_t>(*after);
        }
        break;
    }
    case kTriggerTimerOperation:
        storeNumber(Field::TimerNumber, kTimerCounterNumberLimit);
        copy_.actionValue2 = timerOperation.value();
        break;
    case kTriggerCounterOperation:
        storeNumber(Field::CounterNumber, kTimerCounterNumberLimit);
        copy_.actionValue2 = counterOperation.value();
        break;
    case kTriggerTriggerOperation:
        storeNumber(Field::TriggerNumber, kTriggerNumberLimit);
        copy_.actionValue2 = triggerOperation.value();
        break;
    default:
        break;
    }
}

void TriggerActionModel::accept(SaTriggerEntry& trigger, UserPrompt& prompt) {
    checkPage(prompt);
    if (kind_ < 0) {
        return;
    }
    trigger.action = static_cast<uint8_t>(kind_);
    if (kind_ >= kTriggerStopAfterDelay) {
        trigger.actionValue1 = copy_.actionValue1;
    }
    if (kind_ == kTriggerSend) {
        trigger.transmitNumber = copy_.transmitNumber;
    }
    if (kind_ >= kTriggerSave) {
        trigger.actionValue2 = copy_.actionValue2;
    }
}

} // namespace varnolt
