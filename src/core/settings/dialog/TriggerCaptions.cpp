#include "core/settings/dialog/TriggerCaptions.h"

#include "core/settings/dialog/DialogFormat.h"

namespace varnolt {

std::string TriggerConditionCaption(const SaTriggerEntry& trigger) {
    // The values are shown as the signed numbers the fields hold on the analyzer.
    const auto value = static_cast<int32_t>(trigger.conditionValue);
    switch (trigger.condition) {
    case kTriggerOnCharacters:
    case kTriggerOnError:
    case kTriggerOnControlLine:
        return std::string(kTriggerConditionNames[trigger.condition]);
    case kTriggerOnIdle:
        return PrintfText("アイドル発生： %6d", value);
    case kTriggerOnTimer:
        return PrintfText("タイマー： %1d", value + 1);
    case kTriggerOnCounter:
        return PrintfText("カウンター： %1d", value + 1);
    default:
        return PrintfText("条件？： %d", trigger.condition);
    }
}

std::string TriggerActionCaption(const SaTriggerEntry& trigger) {
    const auto value1 = static_cast<int16_t>(trigger.actionValue1);
    const auto value2 = static_cast<int16_t>(trigger.actionValue2);
    switch (trigger.action) {
    case kTriggerBuzzer:
    case kTriggerStop:
        return std::string(kTriggerActionNames[trigger.action]);
    case kTriggerStopAfterDelay:
        return PrintfText("遅延時間後停止： %4d 秒", value1);
    case kTriggerStopAfterCharacters:
        return PrintfText("一定受信後停止： %4d 文字", value1);
    case kTriggerSend:
        return PrintfText("送信： %02d", trigger.transmitNumber + 1);
    case kTriggerSave:
        return PrintfText("保存：－%4d ：＋%4d", value1, value2);
    case kTriggerTimerOperation:
        return PrintfText("タイマー： %02d", value1 + 1);
    case kTriggerCounterOperation:
        return PrintfText("カウンタ： %02d", value1 + 1);
    case kTriggerTriggerOperation:
        return PrintfText("トリガー： %02d", value1 + 1);
    default:
        return PrintfText("動作？： %d", trigger.action);
    }
}

std::string TriggerHistoryCaption(const SaTriggerEntry& trigger) {
    return trigger.historyEnabled == kSaByteOn ? "■有効" : "□無効";
}

} // namespace varnolt
