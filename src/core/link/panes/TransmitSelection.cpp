#include "core/link/panes/TransmitSelection.h"

namespace varnolt {

std::optional<int32_t> TransmitSelection::Selected(int32_t row) {
    if (row < 0 || row >= kRows) {
        return std::nullopt;
    }
    countdown_ = kDeselectTicks;
    return row;
}

bool TransmitSelection::Tick() {
    if (countdown_ <= 0) {
        return false;
    }
    return --countdown_ == 0;
}

} // namespace varnolt
