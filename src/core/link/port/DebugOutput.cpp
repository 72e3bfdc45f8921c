#include "core/link/port/DebugOutput.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace varnolt {

namespace {

std::atomic<bool>& Enabled() {
    static std::atomic<bool> enabled = [] {
        const char* value = std::getenv("VARNOLT_DEBUG");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

} // namespace

void DebugOutput(std::string_view text) {
    if (Enabled().load(std::memory_order_relaxed)) {
        std::clog << text << std::flush;
    }
}

void SetDebugOutputEnabled(bool enabled) {
    Enabled().store(enabled, std::memory_order_relaxed);
}

} // namespace varnolt
