#pragma once

#include "core/settings/CSaParameter.h"

#include <array>
#include <string>

namespace varnolt {

// The page "トリガー": the eight triggers, each with its "有効" box and the captions of its
// condition, action and history buttons. The dialogs edit the page's own copy of a trigger.
class TriggerPageModel {
public:
    using TransmitTable = std::array<SaTxEntry, kTxEntryCount>;

    // TRANSMIT is the transmit page's table, shown by the send action (may be null).
    void load(const CSaParameter& model, const TransmitTable* transmit);
    // Stored without any check.
    void save(CSaParameter& model) const;

    [[nodiscard]] SaTriggerEntry& trigger(size_t index) { return triggers_.at(index); }
    [[nodiscard]] const SaTriggerEntry& trigger(size_t index) const { return triggers_.at(index); }
    [[nodiscard]] const TransmitTable* transmitTable() const { return transmit_; }

    // Ticked when the trigger's enabled byte is 0xFF; ticking stores 0xFF or 0x00 at once.
    [[nodiscard]] bool enabled(size_t index) const;
    void setEnabled(size_t index, bool on);

private:
    std::array<SaTriggerEntry, kTriggerCount> triggers_{};
    const TransmitTable* transmit_ = nullptr;
};

} // namespace varnolt
