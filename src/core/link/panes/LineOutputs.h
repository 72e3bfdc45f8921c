#pragma once

#include "core/link/reception/LineStates.h"

namespace varnolt {

class CMoniterComm;

// The RS or ER output after a double-click on its status-bar lamp: 2 (off) when it was 1 (on),
// 1 for anything else, unknown included.
[[nodiscard]] int32_t ToggledOutputState(int32_t state);

// Toggles OUTPUT (kLineRs or kLineEr) in STATES and sends the analyzer the line-output frame
// with both outputs. Other slots are left alone.
void ToggleLineOutput(CMoniterComm& link, LineStates& states, LineSlot output);

} // namespace varnolt
