#include "core/settings/dialog/TriggerPageModel.h"

namespace varnolt {

void TriggerPageModel::load(const CSaParameter& model, const TransmitTable* transmit) {
    triggers_ = model.triggers;
    transmit_ = transmit;
}

void TriggerPageModel::save(CSaParameter& model) const {
    model.triggers = triggers_;
}

bool TriggerPageModel::enabled(size_t index) const {
    return triggers_.at(index).enabled == kSaByteOn;
}

void TriggerPageModel::setEnabled(size_t index, bool on) {
    triggers_.at(index).enabled = on ? kSaByteOn : kSaByteOff;
}

} // namespace varnolt
