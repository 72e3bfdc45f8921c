#pragma once

#include "core/link/port/CFtdiPort.h"
#include "core/link/port/LibFtdiApi.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/platform/Clock.h"
#include "sim/VirtualAnalyzer.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "EmulatedUsbBus.h"

namespace varnolt::testing {

// The libftdi1 backend, counting the writes the port makes through it.
class CountingLibFtdiApi final : public D2xxApi {
public:
    [[nodiscard]] D2xxEntryPoints load(UserPrompt& prompt) override {
        D2xxEntryPoints entries = backend_.load(prompt);
        entries.FT_Write = [this, write = entries.FT_Write](FtHandle handle, const void* buffer,
                                                            uint32_t count, uint32_t* written) {
            writes.fetch_add(1);
            return write(handle, buffer, count, written);
        };
        return entries;
    }

    std::atomic<int> writes{0};

private:
    LibFtdiApi backend_;
};

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

    // The bytes the ring holds, taken out of it.
    [[nodiscard]] std::vector<uint8_t> takeRing() {
        std::vector<uint8_t> bytes(static_cast<size_t>(ring.unreadBytes()));
        int32_t used = 0;
        while (used < static_cast<int32_t>(bytes.size())) {
            int32_t count = 0;
            (void)ReadRing(ring, bytes, used, count);
            used += count;
        }
        return bytes;
    }

    SteadyClock clock;
    sim::VirtualAnalyzer analyzer{clock};
    std::optional<EmulatedUsbBus> bus;
    EmulatedUsbBus::Device* bridge = nullptr;
    CountingLibFtdiApi api;
    RecordingPrompt portPrompt;
    RecordingPrompt owner;
    ReceiveRing ring;
    PollingAnswerWait answerWait;
    NoWaitCursor cursor;
    CMoniterComm link{LinkServices{api, portPrompt, clock, answerWait, cursor, &ring}};
};

} // namespace varnolt::testing
