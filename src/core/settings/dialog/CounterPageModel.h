#pragma once

#include "core/settings/CSaParameter.h"

#include <array>
#include <string>
#include <string_view>

namespace varnolt {

class SettingsRemote;
class UserPrompt;

// The page "カウンタ": four rows of set value, current value, reset at start and the button
// "ﾘｾｯﾄ", which resets the analyzer's counter and is offered only while connected.
class CounterPageModel {
public:
    struct Row {
        std::string setText;     // the edit, "%8d"
        std::string currentText; // "%8d"
        bool resetAtStart = false;
    };

    void load(const CSaParameter& model, bool connected);
    // Checks the four set values, one message per bad row; stores the page only when all four
    // are good, and says whether they were.
    bool save(CSaParameter& model, UserPrompt& prompt);
    // Enter in the page: the same check, storing nothing.
    bool check(UserPrompt& prompt) const;

    [[nodiscard]] const Row& row(size_t index) const { return rows_.at(index); }
    [[nodiscard]] bool resetEnabled() const { return connected_; }
    void setSetText(size_t index, std::string_view text) { rows_.at(index).setText = text; }
    // The check box takes effect at once in the page's copy.
    void setResetAtStart(size_t index, bool on);
    // "ﾘｾｯﾄ" of row INDEX: when connected, resets that counter in the analyzer and shows the
    // value it answers with. Returns whether the row changed.
    bool resetCounter(size_t index, SettingsRemote& remote);

private:
    std::array<Row, kCounterCount> rows_;
    std::array<SaCounterEntry, kCounterCount> counters_{};
    bool connected_ = false;
};

} // namespace varnolt
