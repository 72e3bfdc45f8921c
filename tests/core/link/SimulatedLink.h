#pragma once

#include "core/link/protocol/CMoniterComm.h"
#include "core/link/protocol/HexFormat.h"
#include "core/link/protocol/RequestFrame.h"
#include "core/platform/ManualClock.h"
#include "core/settings/HexText.h"
#include "sim/SimulatedBridge.h"
#include "sim/SimulatedLinkTime.h"
#include "sim/VirtualAnalyzer.h"
#include "support/RecordingPrompt.h"

#include <string>
#include <vector>

namespace varnolt::testing {

class CountingCursor final : public WaitCursor {
public:
    void show() override { ++shown; }
    void hide() override { ++hidden; }
    int shown = 0;
    int hidden = 0;
};

// A link to its own virtual analyzer on a manual clock: time moves only while the link waits
// for an answer and nothing is in flight.
class SimulatedLink {
public:
    explicit SimulatedLink(uint32_t startTick = 100) : clock(startTick) {}

    // The request texts the analyzer received, terminators left out.
    [[nodiscard]] std::vector<std::string> requests() const {
        std::vector<std::string> texts;
        for (const sim::ReceivedRequest& request : analyzer.requests()) {
            texts.push_back(request.text);
        }
        return texts;
    }

    void plan(sim::FaultSet faults, int count = 1) {
        analyzer.WithFaults([&](sim::FaultPlan& plan) { plan.Add(faults, count); });
    }

    template <typename Action>
    void firmware(Action action) {
        analyzer.WithFirmware(action);
    }

    ManualClock clock;
    sim::VirtualAnalyzer analyzer{clock};
    sim::SimulatedBridge bridge{analyzer};
    RecordingPrompt portPrompt;
    RecordingPrompt owner;
    ReceiveRing ring;
    sim::SimulatedLinkTime time{clock, analyzer, ring};
    CountingCursor cursor;
    CMoniterComm link{LinkServices{bridge, portPrompt, clock, time, cursor, &ring}};
};

// TEXT followed by its checksum, as a checksummed request arrives.
[[nodiscard]] inline std::string Checksummed(std::string text) {
    AppendHex(text, ByteSum(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size())),
              2);
    return text;
}

} // namespace varnolt::testing
