#pragma once

#include <cstdint>

namespace varnolt {

// A millisecond tick count that wraps at 2^32, like the system tick count. Time budgets
// compare ticks; when a tick falls below a start time, the start is taken afresh.
class Clock {
public:
    Clock() = default;
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;
    virtual ~Clock() = default;

    [[nodiscard]] virtual uint32_t tickMs() const = 0;
};

// Milliseconds elapsed from START to NOW; 0 when the tick count wrapped below START, which
// callers treat as "take the start afresh".
[[nodiscard]] constexpr uint32_t ElapsedMs(uint32_t start, uint32_t now) {
    return now < start ? 0 : now - start;
}

// The process's monotonic clock.
class SteadyClock final : public Clock {
public:
    [[nodiscard]] uint32_t tickMs() const override;
};

} // namespace varnolt
