#pragma once

#include <cstdint>
#include <optional>

namespace varnolt {

// The transmit pane's send-by-selection. Selecting a row sends its entry once; three ticks of
// the pane's 20 ms timer later the selection is cleared, so that a later click on the same row
// is a new selection and sends again.
class TransmitSelection {
public:
    static constexpr int32_t kRows = 50;
    static constexpr int32_t kTickMs = 20;
    static constexpr int32_t kDeselectTicks = 3;

    // A row became selected: the entry to send (the row), the countdown restarted; nullopt,
    // changing nothing, for a row outside the list.
    [[nodiscard]] std::optional<int32_t> Selected(int32_t row);
    // One timer tick: true when the countdown has just run out and the selection is to be
    // cleared.
    [[nodiscard]] bool Tick();
    // Whether a double-click on ROW selects it again (which sends it again).
    [[nodiscard]] static bool ReselectsOnDoubleClick(int32_t row) {
        return row >= 0 && row < kRows;
    }

    [[nodiscard]] int32_t countdown() const { return countdown_; }

private:
    int32_t countdown_ = 0;
};

} // namespace varnolt
