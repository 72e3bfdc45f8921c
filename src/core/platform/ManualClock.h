#pragma once

#include "core/platform/Clock.h"

#include <atomic>
#include <cstdint>

namespace varnolt {

// A clock that moves only when told: time-outs take no real time in tests, the simulator and
// benchmarks, and the wrap at 2^32 can be reached on purpose.
class ManualClock final : public Clock {
public:
    explicit ManualClock(uint32_t start = 0) : now_(start) {}

    [[nodiscard]] uint32_t tickMs() const override { return now_.load(std::memory_order_acquire); }
    void set(uint32_t ms) { now_.store(ms, std::memory_order_release); }
    void advance(uint32_t ms) { now_.fetch_add(ms, std::memory_order_acq_rel); }

private:
    std::atomic<uint32_t> now_;
};

} // namespace varnolt
