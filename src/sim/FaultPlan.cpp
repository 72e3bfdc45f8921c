#include "sim/FaultPlan.h"

namespace varnolt::sim {

void FaultPlan::Add(FaultSet faults, int count) {
    for (int index = 0; index < count; ++index) {
        planned_.push_back(faults);
    }
}

void FaultPlan::Pass(int count) {
    Add(FaultSet(), count);
}

FaultSet FaultPlan::Next() {
    if (planned_.empty()) {
        return {};
    }
    const FaultSet faults = planned_.front();
    planned_.pop_front();
    return faults;
}

} // namespace varnolt::sim
