#include "core/settings/dialog/TriggerHistoryModel.h"

#include "core/settings/SettingsValidation.h"
#include "core/settings/dialog/DialogFormat.h"

namespace varnolt {

TriggerHistoryModel::TriggerHistoryModel(const SaTriggerEntry& trigger)
    : enabled_(trigger.historyEnabled == kSaByteOn),
      numberText_(PrintfText("%1d", trigger.extendedSaveNumber + 1)) {
    extendedSave.load(trigger.extendedSave);
}

void TriggerHistoryModel::accept(SaTriggerEntry& trigger, UserPrompt& prompt) const {
    trigger.historyEnabled = enabled_ ? kSaByteOn : kSaByteOff;
    trigger.extendedSave = extendedSave.value();
    if (!enabled_ || extendedSave.value() == 0) {
        return;
    }
    if (const auto number = CheckTypedSetting(numberText_, kTimerCounterNumberLimit, prompt)) {
        trigger.extendedSaveNumber = static_cast<uint8_t>(*number - 1);
    }
}

} // namespace varnolt
