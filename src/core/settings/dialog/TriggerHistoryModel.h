#pragma once

#include "core/settings/SaTriggerEntry.h"
#include "core/settings/dialog/ChoiceGroup.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnolt {

class UserPrompt;

// What the dialog "トリガー履歴" decides for one trigger: history on or off, and the extended
// save with the number of its timer or counter.
class TriggerHistoryModel {
public:
    static constexpr std::string_view kTitle = "トリガー履歴";

    explicit TriggerHistoryModel(const SaTriggerEntry& trigger);

    [[nodiscard]] bool enabled() const { return enabled_; }
    // The extended-save group and the number are offered only while "有効" is ticked.
    void setEnabled(bool on) { enabled_ = on; }

    // "無し", "タイマー", "カウンタ".
    ChoiceGroup<int32_t, 3> extendedSave{std::array<int32_t, 3>{0, 1, 2}};

    // "番号" ("%1d", shown from 1).
    [[nodiscard]] const std::string& numberText() const { return numberText_; }
    void setNumberText(std::string_view text) { numberText_ = text; }

    // OK: history and extended save into TRIGGER; with history on and a timer or counter
    // chosen, the number must be 1 … 4 (a bad one is reported and the stored number kept).
    void accept(SaTriggerEntry& trigger, UserPrompt& prompt) const;

private:
    bool enabled_;
    std::string numberText_;
};

} // namespace varnolt
