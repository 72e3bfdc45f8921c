#pragma once

#include "core/link/port/CFtdiPort.h"
#include "core/link/port/LibFtdiApi.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/platform/Clock.h"
#include "sim/VirtualAnalyzer.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "EmulatedUsbBus.h"

namespace varnolt::testing {

// The program's libftdi1 backend against the virtual analyzer behind an FT232H on an emulated
// USB bus, in real time. Tests skip when umockdev's preload library is not in the process.
class EmulatedBridgeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!EmulatedUsbBus::available()) {
            GTEST_SKIP()
                << "needs umockdev's preload library (LD_PRELOAD=libumockdev-preload.so.0)";
        }
        bus.emplace();
        bridge = &bus->Plug(Ft232hIdentity{}, &analyzer);
    }

    void TearDown() override { link.port().Close(); }

    // The request texts the analyzer received, terminators left out.
    [[nodiscard]] std::vector<std::string> requests() const {
        std::vector<std::string> texts;
        for (const sim::ReceivedRequest& request : analyzer.requests()) {
            texts.push_back(request.text);
        }
        return texts;
    }

    // Waits (up to LIMIT) until DONE holds.
    static bool eventually(const std::function<bool()>& done,
                           std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    SteadyClock clock;
    sim::VirtualAnalyzer analyzer{clock};
    std::optional<EmulatedUsbBus> bus;
    EmulatedUsbBus::Device* bridge = nullptr;
    LibFtdiApi api;
    RecordingPrompt portPrompt;
    RecordingPrompt owner;
    ReceiveRing ring;
    PollingAnswerWait answerWait;
    NoWaitCursor cursor;
    CMoniterComm link{LinkServices{api, portPrompt, clock, answerWait, cursor, &ring}};
};

} // namespace varnolt::testing
