#include "sim/SimulatedLinkTime.h"

#include "core/link/port/ReceiveRing.h"
#include "core/platform/ManualClock.h"
#include "sim/VirtualAnalyzer.h"

#include <chrono>
#include <thread>

namespace varnolt::sim {

namespace {

// A reader that does not take its bytes within this real time is not running (a full ring,
// a port closed under it); time moves on regardless rather than hang.
constexpr auto kReaderPatience = std::chrono::seconds(5);

} // namespace

SimulatedLinkTime::SimulatedLinkTime(ManualClock& clock, VirtualAnalyzer& analyzer,
                                     const ReceiveRing& ring, uint32_t stepMs)
    : clock_(clock), analyzer_(analyzer), ring_(ring), stepMs_(stepMs) {
}

void SimulatedLinkTime::Advance(uint32_t ms) {
    clock_.advance(ms);
    analyzer_.NotifyTimeMoved();
}

void SimulatedLinkTime::LetTimePass() {
    const auto giveUp = std::chrono::steady_clock::now() + kReaderPatience;
    while (analyzer_.bytesInFlight() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
    if (!ring_.empty()) {
        return; // bytes to read first
    }
    Advance(stepMs_);
}

} // namespace varnolt::sim
