#include "core/settings/dialog/TimerPageModel.h"

#include "core/settings/SettingsValidation.h"
#include "core/settings/dialog/SetValueRows.h"

namespace varnolt {

void TimerPageModel::load(const CSaParameter& model) {
    timers_ = model.timers;
    for (size_t i = 0; i < kTimerCount; ++i) {
        Row& row = rows_[i];
        row.setText = SetValueText(timers_[i].setValue);
        row.currentText = SetValueText(timers_[i].currentValue);
        row.unit.load(timers_[i].unit);
        row.autoStart = timers_[i].autoStart == kSaFlagOn;
    }
}

void TimerPageModel::setAutoStart(size_t index, bool on) {
    rows_.at(index).autoStart = on;
    timers_.at(index).autoStart = on ? kSaFlagOn : kSaFlagOff;
}

bool TimerPageModel::check(UserPrompt& prompt) const {
    return CheckSetValues(SetTextsOf(rows_), kTimerSetValueLimit, prompt).has_value();
}

bool TimerPageModel::save(CSaParameter& model, UserPrompt& prompt) {
    const auto values = CheckSetValues(SetTextsOf(rows_), kTimerSetValueLimit, prompt);
    if (!values) {
        return false;
    }
    for (size_t i = 0; i < kTimerCount; ++i) {
        timers_[i].setValue = (*values)[i];
        timers_[i].unit = rows_[i].unit.value();
        model.timers[i].setValue = timers_[i].setValue;
        model.timers[i].unit = timers_[i].unit;
        model.timers[i].autoStart = timers_[i].autoStart;
    }
    return true;
}

} // namespace varnolt
