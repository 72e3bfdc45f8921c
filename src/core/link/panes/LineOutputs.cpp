#include "core/link/panes/LineOutputs.h"

#include "core/link/protocol/CMoniterComm.h"

namespace varnolt {

int32_t ToggledOutputState(int32_t state) {
    return state == 1 ? 2 : 1;
}

void ToggleLineOutput(CMoniterComm& link, LineStates& states, LineSlot output) {
    if (output != kLineRs && output != kLineEr) {
        return;
    }
    states[output] = ToggledOutputState(states[output]);
    link.SendLineOutputs(states[kLineEr], states[kLineRs]);
}

} // namespace varnolt
