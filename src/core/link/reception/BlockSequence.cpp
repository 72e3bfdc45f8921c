#include "core/link/reception/BlockSequence.h"

namespace varnolt {

bool BlockSequence::Repeats(const DecodedBlock& block) const {
    if (!expected_ || block.count() == 0) {
        return false;
    }
    const DeviceIndex wrap = DeviceIndexWrap(block.recordWidth);
    // Both indexes lie within 0 ... wrap - 1 (the parser brings them there).
    const DeviceIndex behind = (*expected_ - block.firstDevice + wrap) % wrap;
    return behind > 0 && behind <= wrap / 2;
}

void BlockSequence::Taken(const DecodedBlock& block) {
    if (block.count() == 0) {
        return;
    }
    const DeviceIndex wrap = DeviceIndexWrap(block.recordWidth);
    expected_ = static_cast<DeviceIndex>((int64_t{block.firstDevice} + block.count()) % wrap);
}

} // namespace varnolt
