#pragma once

#include "core/link/port/D2xxApi.h"

#include <chrono>

namespace varnolt::sim {

class VirtualAnalyzer;

// The bridge calls in front of the virtual analyzer: the program cannot tell it from a real
// FT232H. Several bridges (one per port) may front the same analyzer; one opens it at a time.
class SimulatedBridge final : public D2xxApi {
public:
    // How long FT_GetQueueStatus waits for a first byte when none is readable, as a real
    // bridge's latency timer holds short packets back.
    static constexpr auto kQueueWait = std::chrono::milliseconds(1);

    explicit SimulatedBridge(VirtualAnalyzer& analyzer);

    [[nodiscard]] D2xxEntryPoints load(UserPrompt& prompt) override;

private:
    VirtualAnalyzer& analyzer_;
};

} // namespace varnolt::sim
