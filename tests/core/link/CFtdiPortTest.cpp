#include "core/link/port/CFtdiPort.h"

#include "core/link/port/D2xxLibrary.h"
#include "core/platform/ManualClock.h"
#include "sim/SimulatedBridge.h"
#include "sim/VirtualAnalyzer.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace varnolt {
namespace {

using testing::RecordingPrompt;

// A bridge that records the calls the port makes. Writes take WRITE_STEP bytes per call and
// move the clock by WRITE_MS, so a write budget can be watched.
class RecordingBridge final : public D2xxApi {
public:
    explicit RecordingBridge(ManualClock& clock) : clock_(clock) {}

    D2xxEntryPoints load(UserPrompt&) override {
        D2xxEntryPoints e;
        const auto note = [this](std::string call) { calls.push_back(std::move(call)); };
        e.FT_OpenEx = [=, this](const void* name, uint32_t flags, FtHandle* handle) {
            note("OpenEx " + std::string(static_cast<const char*>(name)) + " " +
                 std::to_string(flags));
            *handle = openStatus == kFtOk ? &token_ : nullptr;
            return openStatus;
        };
        e.FT_ResetDevice = [=](FtHandle) { return note("ResetDevice"), kFtOk; };
        e.FT_SetTimeouts = [=](FtHandle, uint32_t r, uint32_t w) {
            return note("SetTimeouts " + std::to_string(r) + " " + std::to_string(w)), kFtOk;
        };
        e.FT_Purge = [=](FtHandle, uint32_t mask) {
            return note("Purge " + std::to_string(mask)), kFtOk;
        };
        e.FT_SetLatencyTimer = [=](FtHandle, uint8_t ms) {
            return note("SetLatencyTimer " + std::to_string(ms)), kFtOk;
        };
        e.FT_SetUSBParameters = [=](FtHandle, uint32_t in, uint32_t out) {
            return note("SetUSBParameters " + std::to_string(in) + " " + std::to_string(out)),
                   kFtOk;
        };
        e.FT_Read = [=, this](FtHandle, void*, uint32_t count, uint32_t* got) {
            if (!readerStarted_) {
                note("Read " + std::to_string(count));
            }
            *got = 0;
            return kFtOk;
        };
        e.FT_GetQueueStatus = [this](FtHandle, uint32_t* queued) {
            readerStarted_ = true;
            *queued = 0;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            return kFtOk;
        };
        e.FT_Close = [=](FtHandle) { return note("Close"), kFtOk; };
        e.FT_Write = [this](FtHandle, const void*, uint32_t count, uint32_t* written) {
            *written = std::min(count, writeStep);
            writeCalls.push_back(clock_.tickMs());
            clock_.advance(writeMs);
            return kFtOk;
        };
        for (const std::string& name : missing) {
            if (name == "FT_OpenEx") {
                e.FT_OpenEx = nullptr;
            } else if (name == "FT_Write") {
                e.FT_Write = nullptr;
            } else if (name == "FT_GetQueueStatus") {
                e.FT_GetQueueStatus = nullptr;
            } else if (name == "FT_SetLatencyTimer") {
                e.FT_SetLatencyTimer = nullptr;
            }
        }
        return e;
    }

    std::vector<std::string> calls;
    std::vector<uint32_t> writeCalls;
    std::vector<std::string> missing;
    FtStatus openStatus = kFtOk;
    uint32_t writeStep = 1;
    uint32_t writeMs = 100;

private:
    ManualClock& clock_;
    std::atomic<bool> readerStarted_{false};
    int token_ = 0;
};

// The port on a recording bridge; a test that wants calls missing or the analyzer absent says
// so before it loads the calls.
class PortTest : public ::testing::Test {
protected:
    void load() { port.LoadD2xx(); }

    ManualClock clock{1000};
    RecordingBridge bridge{clock};
    RecordingPrompt prompt;
    ReceiveRing ring{64};
    CFtdiPort port{bridge, prompt, clock, ring};
};

TEST_F(PortTest, OpenConfiguresTheBridgeAndDrainsIt) {
    load();
    ASSERT_TRUE(port.Open());
    EXPECT_TRUE(port.isOpen());
    port.Close();
    EXPECT_EQ(bridge.calls,
              (std::vector<std::string>{"OpenEx Tavrix USB Device 232H 2", "ResetDevice",
                                        "SetTimeouts 5 5", "Purge 1", "SetTimeouts 5 5",
                                        "SetLatencyTimer 5", "SetUSBParameters 8192 66560",
                                        "Read 16640", "ResetDevice", "Close"}));
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(prompt.entries.empty());
}

TEST_F(PortTest, AnAbsentAnalyzerLeavesThePortClosed) {
    bridge.openStatus = kFtDeviceNotFound;
    load();
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(bridge.calls.size(), 1U);
    EXPECT_TRUE(prompt.entries.empty());
}

TEST_F(PortTest, EachUseOfAMissingCallSaysSoAndSkipsIt) {
    bridge.missing = {"FT_OpenEx", "FT_Write"};
    load();
    EXPECT_FALSE(port.Open());
    port.Write("VER");
    EXPECT_EQ(prompt.texts(),
              (std::vector<std::string>{"FT_OpenEx is not valid!", "FT_Write is not valid!"}));
    EXPECT_EQ(prompt.entries[0].caption, kAppCaption);
}

// Without FT_GetQueueStatus the reader could not run; the port says so once and stays closed
// instead of reporting from the reader's thread without end.
TEST_F(PortTest, APortWhoseReaderCannotPollDoesNotOpen) {
    bridge.missing = {"FT_SetLatencyTimer", "FT_GetQueueStatus"};
    load();
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(prompt.texts(), (std::vector<std::string>{"FT_SetLatencyTimer is not valid!",
                                                        "FT_GetQueueStatus is not valid!"}));
    EXPECT_EQ(bridge.calls.back(), "Close");
}

TEST(D2xxLibraryLoad, AMissingLibraryIsReportedOnce) {
    RecordingPrompt prompt;
    D2xxLibrary library;
    const D2xxEntryPoints entries = library.load(prompt);
    if (entries.owner) {
        GTEST_SKIP() << D2xxLibrary::fileName() << " is installed here";
    }
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"Error: Can't Load ft8u245.dll"});
    EXPECT_FALSE(entries.FT_Write);
    EXPECT_FALSE(entries.FT_OpenEx);
}

TEST_F(PortTest, AStalledWriteEndsOnceItsBudgetIsSpent) {
    load();
    port.Write("0123456789");
    // 1000, 1100, ... 1600: the call at 1600 leaves 600 ms elapsed, beyond 500.
    EXPECT_EQ(bridge.writeCalls.size(), 6U);
}

TEST_F(PortTest, ATickWrapDuringAWriteRestartsTheBudget) {
    load();
    clock.set(0xFFFFFFFFu - 250);
    port.Write(std::string(20, 'x'));
    // Three calls before the wrap; the tick after it is below the start, so the budget starts
    // again there and runs six more calls.
    EXPECT_EQ(bridge.writeCalls.size(), 9U);
}

TEST_F(PortTest, AWriteThatTheBridgeTakesAtOnceMakesOneCall) {
    load();
    bridge.writeStep = 1000;
    port.Write("ENW01");
    EXPECT_EQ(bridge.writeCalls.size(), 1U);
}

// The port on the virtual analyzer, reader thread running.
class SimulatedPortTest : public ::testing::Test {
protected:
    void SetUp() override { port.LoadD2xx(); }

    ManualClock clock{0};
    sim::VirtualAnalyzer analyzer{clock};
    sim::SimulatedBridge bridge{analyzer};
    RecordingPrompt prompt;
    ReceiveRing ring{ReceiveRing::kCapacity};
    CFtdiPort port{bridge, prompt, clock, ring};
};

std::vector<uint8_t> ReadAll(ReceiveRing& ring, size_t wanted) {
    std::vector<uint8_t> received;
    std::vector<uint8_t> area(4096);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (received.size() < wanted && std::chrono::steady_clock::now() < giveUp) {
        int32_t count = 0;
        if (ReadRing(ring, area, 0, count) == RingReadStatus::Nothing) {
            std::this_thread::yield();
            continue;
        }
        received.insert(received.end(), area.begin(), area.begin() + count);
    }
    return received;
}

TEST_F(SimulatedPortTest, OpeningAnOpenPortReopensItWithAnEmptyRing) {
    ASSERT_TRUE(port.Open());
    analyzer.SendToHost(std::vector<uint8_t>(100, 'x'));
    while (ring.unreadBytes() < 100) {
        std::this_thread::yield();
    }
    ASSERT_TRUE(port.Open());
    EXPECT_TRUE(ring.empty());
    EXPECT_EQ(ring.writeIndex(), 0);
    port.Close();
}

TEST_F(SimulatedPortTest, ASecondPortCannotOpenTheAnalyzerWhileTheFirstHoldsIt) {
    CFtdiPort other(bridge, prompt, clock, ring);
    other.LoadD2xx();
    ASSERT_TRUE(port.Open());
    EXPECT_FALSE(other.Open());
    port.Close();
    EXPECT_TRUE(other.Open());
    other.Close();
}

// A consumer slower than the bridge: the reader waits for room instead of overwriting, so
// every byte arrives once and in order.
TEST(SimulatedPortSmallRing, AFullRingHoldsTheBridgeBackInsteadOfOverwriting) {
    ManualClock clock;
    sim::VirtualAnalyzer analyzer(clock);
    sim::SimulatedBridge bridge(analyzer);
    RecordingPrompt prompt;
    ReceiveRing ring(50);
    CFtdiPort port(bridge, prompt, clock, ring);
    port.LoadD2xx();
    ASSERT_TRUE(port.Open());
    std::vector<uint8_t> sent(5000);
    for (size_t i = 0; i < sent.size(); ++i) {
        sent[i] = static_cast<uint8_t>(i * 7 + i / 256);
    }
    analyzer.SendToHost(sent);
    while (ring.freeBytes() > 0) {
        std::this_thread::yield();
    }
    EXPECT_EQ(ring.unreadBytes(), 49);
    EXPECT_EQ(ReadAll(ring, sent.size()), sent);
    port.Close();
}

TEST_F(SimulatedPortTest, IsAttachedLooksForTheExactDescriptionAmongAnyNumberOfDevices) {
    std::vector<std::string> others(100, "USB Serial Converter");
    analyzer.setOtherDevices(others);
    EXPECT_TRUE(port.IsAttached());
    analyzer.Unplug();
    EXPECT_FALSE(port.IsAttached());
    others.push_back("tavrix usb device 232h");
    analyzer.setOtherDevices(others);
    EXPECT_FALSE(port.IsAttached());
    others.push_back("Tavrix USB Device 232H");
    analyzer.setOtherDevices(others);
    EXPECT_TRUE(port.IsAttached());
    analyzer.setOtherDevices({});
    EXPECT_FALSE(port.IsAttached());
    EXPECT_TRUE(prompt.entries.empty());
}

} // namespace
} // namespace varnolt
