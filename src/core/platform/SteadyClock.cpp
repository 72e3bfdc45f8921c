#include "core/platform/Clock.h"

#include <chrono>

namespace varnolt {

uint32_t SteadyClock::tickMs() const {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

} // namespace varnolt
