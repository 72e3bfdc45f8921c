#pragma once

#include "core/link/reception/DataBlockParser.h"

#include <optional>

namespace varnolt {

// Follows the device indexes of the data blocks taken so far, so a block that carries items
// the PC already holds is told from a new one: an answer that reached the PC twice, one that
// came so late that its repetition had already been taken, or the analyzer's repetition of a
// block the PC had. Without these checks such a block would be appended a second time.
class BlockSequence {
public:
    // Whether BLOCK starts behind the item expected next (by less than half the analyzer's
    // memory, so a block that skips ahead, as after an overflow, is new).
    [[nodiscard]] bool Repeats(const DecodedBlock& block) const;
    // BLOCK was taken: the item after its last is expected next.
    void Taken(const DecodedBlock& block);
    // Nothing is expected: the next block is new whatever its index (a start, an overflow).
    void Forget() { expected_.reset(); }

private:
    std::optional<DeviceIndex> expected_;
};

} // namespace varnolt
