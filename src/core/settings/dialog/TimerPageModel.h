#pragma once

#include "core/settings/CSaParameter.h"
#include "core/settings/dialog/ChoiceGroup.h"

#include <array>
#include <string>
#include <string_view>

namespace varnolt {

class UserPrompt;

// The page "タイマー": four rows of set value, current value, unit and automatic start.
class TimerPageModel {
public:
    static constexpr std::array<std::string_view, 4> kUnitTexts = {"1秒", "0.1秒", "0.01秒",
                                                                   "0.001秒"};
    struct Row {
        std::string setText;     // the edit, "%8d"
        std::string currentText; // "%8d"
        // The unit list; a stored unit outside 0 … 3 shows no entry and is kept.
        ChoiceGroup<int16_t, 4> unit{std::array<int16_t, 4>{0, 1, 2, 3}};
        bool autoStart = false;
    };

    void load(const CSaParameter& model);
    // Checks the four set values, one message per bad row; stores set values and units only
    // when all four are good, and says whether they were.
    bool save(CSaParameter& model, UserPrompt& prompt);
    // Enter in the page: the same check, storing nothing.
    bool check(UserPrompt& prompt) const;

    [[nodiscard]] const Row& row(size_t index) const { return rows_.at(index); }
    void setSetText(size_t index, std::string_view text) { rows_.at(index).setText = text; }
    void chooseUnit(size_t index, int unit) { rows_.at(index).unit.choose(unit); }
    // The check box takes effect at once in the page's copy.
    void setAutoStart(size_t index, bool on);

private:
    std::array<Row, kTimerCount> rows_;
    std::array<SaTimerEntry, kTimerCount> timers_{};
};

} // namespace varnolt
