#include "sim/VirtualAnalyzer.h"

#include "core/link/protocol/RequestFrame.h"
#include "core/platform/ManualClock.h"
#include "sim/UsbInQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnolt::sim {
namespace {

// Drives the analyzer from the host side directly, without a port or reader thread.
class HostSide : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(analyzer.Open("Tavrix USB Device 232H", session), kFtOk); }

    void send(std::string_view text, FrameChecksum checksum) {
        const std::vector<uint8_t> frame = BuildFrame(text, checksum);
        uint32_t written = 0;
        ASSERT_EQ(analyzer.Write(session, frame, written), kFtOk);
        ASSERT_EQ(written, frame.size());
    }

    // Everything readable now, in reads of what the queue status offers.
    std::vector<std::string> reads() {
        std::vector<std::string> pieces;
        uint32_t queued = 0;
        while (analyzer.QueueStatus(session, queued, {}) == kFtOk && queued > 0) {
            std::string piece(queued, '\0');
            uint32_t got = 0;
            analyzer.Read(session, std::span(reinterpret_cast<uint8_t*>(piece.data()), queued),
                          got);
            piece.resize(got);
            pieces.push_back(piece);
        }
        return pieces;
    }

    static std::string Framed(std::string_view text, FrameChecksum checksum) {
        const std::vector<uint8_t> frame = BuildFrame(text, checksum);
        return {frame.begin(), frame.end()};
    }

    ManualClock clock{0};
    VirtualAnalyzer analyzer{clock};
    VirtualAnalyzer::Session session = 0;
};

TEST_F(HostSide, UnknownCommandsAndBadChecksumsAreRefused) {
    send("XYZ", FrameChecksum::Without);
    send("ENW01", FrameChecksum::Without); // ENW must carry a checksum
    send("ENW0100", FrameChecksum::Without);
    send("ENW02", FrameChecksum::With);
    send("ENW01", FrameChecksum::With);
    EXPECT_EQ(reads(), (std::vector<std::string>{Framed("NAK", FrameChecksum::Without),
                                                 Framed("NAK", FrameChecksum::Without),
                                                 Framed("NAK", FrameChecksum::Without),
                                                 Framed("NAK", FrameChecksum::Without),
                                                 Framed("ACK", FrameChecksum::Without)}));
    analyzer.WithFirmware([](AnalyzerFirmware& state) { EXPECT_EQ(state.remoteMode, 1); });
}

TEST_F(HostSide, FaultsFollowThePlanRequestByRequest) {
    analyzer.WithFaults([](FaultPlan& plan) {
        plan.settings.splitPieceBytes = 4;
        plan.Pass(1);
        plan.Add(Fault::Split);
        plan.Add(Fault::Lost | Fault::Duplicated);
        plan.Add(Fault::Delayed);
        plan.Add(Fault::CorruptChecksum);
    });
    const std::string ack = Framed("ACK", FrameChecksum::Without);
    send("PSW0B", FrameChecksum::With);
    send("PSW0B", FrameChecksum::With);
    send("PSW0B", FrameChecksum::With);
    EXPECT_EQ(reads(), (std::vector<std::string>{ack, "ACK\xFF", std::string("\0\xFF\0", 3)}));
    send("PSW0A", FrameChecksum::With);
    EXPECT_TRUE(reads().empty());
    clock.advance(999);
    EXPECT_TRUE(reads().empty());
    clock.advance(1);
    EXPECT_EQ(reads(), std::vector<std::string>{ack});
    send("PGR", FrameChecksum::Without);
    // "PGR0A" sums to 15A; the checksum "5A" arrives as "5B".
    EXPECT_EQ(reads(), std::vector<std::string>{Framed("PGR0A5B", FrameChecksum::Without)});
    analyzer.WithFirmware([](AnalyzerFirmware& state) { EXPECT_EQ(state.runState, 0x0A); });
}

TEST_F(HostSide, SettingsBlocksAreWrittenAndReadBackThroughTheMemory) {
    std::string write = "SWE1400";
    std::string data;
    for (int i = 0; i < 1024; ++i) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        data += kHex[(i >> 4) & 0xF];
        data += kHex[i & 0xF];
    }
    send(write + data, FrameChecksum::With);
    send("SRE1400", FrameChecksum::With);
    send("SRE7400", FrameChecksum::With); // names no block: an empty block
    EXPECT_EQ(reads(), (std::vector<std::string>{Framed("ACK", FrameChecksum::Without),
                                                 Framed("SRE1400" + data, FrameChecksum::With),
                                                 Framed("SRE7400", FrameChecksum::With)}));
}

TEST_F(HostSide, AnUnpluggedAnalyzerRefusesItsSessionUntilOpenedAgain) {
    analyzer.Unplug();
    uint32_t queued = 0;
    EXPECT_EQ(analyzer.QueueStatus(session, queued, {}), kFtInvalidHandle);
    VirtualAnalyzer::Session again = 0;
    EXPECT_EQ(analyzer.Open("Tavrix USB Device 232H", again), kFtDeviceNotFound);
    analyzer.PlugIn();
    EXPECT_EQ(analyzer.Open("Tavrix USB Device 232H", again), kFtOk);
    EXPECT_NE(again, session);
    EXPECT_EQ(analyzer.QueueStatus(session, queued, {}), kFtInvalidHandle);
}

TEST(UsbInQueue, HeldBackPacketsHoldBackThoseBehindThem) {
    UsbInQueue queue;
    const std::vector<uint8_t> first{1, 2, 3};
    const std::vector<uint8_t> second{4, 5};
    queue.Push(first, 0xFFFFFFF0u, 100);
    queue.Push(second, 0xFFFFFFF0u);
    EXPECT_EQ(queue.readable(0xFFFFFFF0u + 50), 0U);
    EXPECT_EQ(queue.readable(0x00000060u), 3U); // 112 ms later, across the wrap
    std::vector<uint8_t> out(8);
    EXPECT_EQ(queue.Read(out, 0x60), 5U);
    EXPECT_EQ(queue.queuedBytes(), 0U);
}

} // namespace
} // namespace varnolt::sim
