#include "core/settings/dialog/CounterPageModel.h"

#include "core/settings/SettingsValidation.h"
#include "core/settings/dialog/SetValueRows.h"
#include "core/settings/dialog/SettingsRemote.h"

namespace varnolt {

void CounterPageModel::load(const CSaParameter& model, bool connected) {
    counters_ = model.counters;
    connected_ = connected;
    for (size_t i = 0; i < kCounterCount; ++i) {
        rows_[i].setText = SetValueText(counters_[i].setValue);
        rows_[i].currentText = SetValueText(counters_[i].currentValue);
        rows_[i].resetAtStart = counters_[i].resetAtStart == kSaFlagOn;
    }
}

void CounterPageModel::setResetAtStart(size_t index, bool on) {
    rows_.at(index).resetAtStart = on;
    counters_.at(index).resetAtStart = on ? kSaFlagOn : kSaFlagOff;
}

bool CounterPageModel::resetCounter(size_t index, SettingsRemote& remote) {
    if (!connected_ || index >= kCounterCount) {
        return false;
    }
    const int64_t value = remote.resetCounter(static_cast<int32_t>(index));
    if (value < 0) {
        return false;
    }
    counters_[index].currentValue = static_cast<uint32_t>(value);
    rows_[index].currentText = SetValueText(counters_[index].currentValue);
    return true;
}

bool CounterPageModel::check(UserPrompt& prompt) const {
    return CheckSetValues(SetTextsOf(rows_), kCounterSetValueLimit, prompt).has_value();
}

bool CounterPageModel::save(CSaParameter& model, UserPrompt& prompt) {
    const auto values = CheckSetValues(SetTextsOf(rows_), kCounterSetValueLimit, prompt);
    if (!values) {
        return false;
    }
    for (size_t i = 0; i < kCounterCount; ++i) {
        counters_[i].setValue = (*values)[i];
        model.counters[i] = counters_[i];
    }
    return true;
}

} // namespace varnolt
