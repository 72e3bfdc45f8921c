#include "core/settings/dialog/SpeedDialogModel.h"

#include "core/settings/SettingsValidation.h"
#include "core/settings/dialog/BaudRate.h"

#include <algorithm>
#include <optional>

namespace varnolt {

SpeedDialogModel::SpeedDialogModel(uint32_t speed) : speed_(speed) {
    const auto* listed = std::find(kListedSpeeds.begin(), kListedSpeeds.end(), speed);
    if (listed != kListedSpeeds.end()) {
        choice_ = static_cast<int>(listed - kListedSpeeds.begin());
        return;
    }
    editText_ = std::to_string(speed);
    actualText_ = ActualSpeedText(speed);
}

void SpeedDialogModel::choose(int choice) {
    if (choice < 0 || choice > kArbitraryChoice) {
        return;
    }
    choice_ = choice;
    if (choice == kArbitraryChoice) {
        editText_ = std::to_string(speed_);
        return;
    }
    editText_.clear();
    actualText_.clear();
}

bool SpeedDialogModel::apply(UserPrompt& prompt) {
    if (choice_ != kArbitraryChoice) {
        actualText_.clear();
        speed_ = kListedSpeeds[static_cast<size_t>(choice_)];
        return true;
    }
    const std::optional<uint32_t> typed = CheckTypedSetting(editText_, kSpeedLimit, prompt);
    if (!typed) {
        return false;
    }
    actualText_ = ActualSpeedText(*typed);
    speed_ = *typed;
    return true;
}

} // namespace varnolt
