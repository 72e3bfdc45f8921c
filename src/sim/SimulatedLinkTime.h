#pragma once

#include "core/link/protocol/LinkServices.h"
#include "core/platform/Pump.h"

#include <cstdint>

namespace varnolt {
class ManualClock;
class ReceiveRing;
} // namespace varnolt

namespace varnolt::sim {

class VirtualAnalyzer;

// Time for a link that talks to the virtual analyzer on a manual clock: each wait first lets
// the port's reader thread carry every byte the analyzer has sent into the receive ring, and
// only when nothing is left to read moves the clock on. Time-outs then take no real time, and
// an exchange sees exactly what it would see on a quiet line.
class SimulatedLinkTime final : public AnswerWait, public Pump {
public:
    static constexpr uint32_t kDefaultStepMs = 5;

    SimulatedLinkTime(ManualClock& clock, VirtualAnalyzer& analyzer, const ReceiveRing& ring,
                      uint32_t stepMs = kDefaultStepMs);

    void waitForAnswer() override { LetTimePass(); }
    void pump() override { LetTimePass(); }

    // Moves the clock by MS at once (as a long wait would).
    void Advance(uint32_t ms);

private:
    void LetTimePass();

    ManualClock& clock_;
    VirtualAnalyzer& analyzer_;
    const ReceiveRing& ring_;
    uint32_t stepMs_;
};

} // namespace varnolt::sim
