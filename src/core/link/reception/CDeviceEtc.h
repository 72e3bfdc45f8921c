#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace varnolt {

// The analyzer's received-character and error counts, in the order the status answer and the
// device status pane give them.
enum StatusCount : size_t {
    kCountSd,
    kCountRd,
    kCountPe,
    kCountFe,
    kCountPf,
    kCountBr,
    kCountOe,
    kStatusCountCount
};

inline constexpr size_t kTriggerCountCount = 8;

// The status block: seven 32-bit counts (SD, RD, PE, FE, PF, BR, OE) and the eight 16-bit
// trigger counts, trigger 1 to 8, as the analyzer last reported them.
struct StatusBlock {
    std::array<int32_t, kStatusCountCount> counts{};
    std::array<uint16_t, kTriggerCountCount> triggerCounts{};

    friend bool operator==(const StatusBlock&, const StatusBlock&) = default;
};

// The document's device object: what the analyzer reports about itself between data blocks.
// All 0 for a new document.
class CDeviceEtc {
public:
    [[nodiscard]] const StatusBlock& status() const { return status_; }
    [[nodiscard]] StatusBlock& status() { return status_; }
    // A new document: every count back to 0.
    void Clear() { status_ = {}; }

private:
    StatusBlock status_;
};

} // namespace varnolt
