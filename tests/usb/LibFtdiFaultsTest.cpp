#include "core/link/protocol/AnalyzerConnection.h"
#include "core/link/protocol/FrameTerminator.h"
#include "core/link/protocol/LinkMessages.h"

#include <gtest/gtest.h>

#include "EmulatedBridgeFixture.h"

namespace varnolt {
namespace {

using namespace std::chrono_literals;
using testing::Ft232hBehaviour;
using testing::Ft232hIdentity;

class LibFtdiFaultsTest : public testing::EmulatedBridgeFixture {
protected:
    CFtdiPort& port() { return link.port(); }

    // COUNT bytes the analyzer sends unasked, with no frame terminator among them.
    static std::vector<uint8_t> Stream(size_t count) {
        std::vector<uint8_t> bytes(count);
        for (size_t k = 0; k < count; ++k) {
            bytes[k] = static_cast<uint8_t>(k % 251);
        }
        return bytes;
    }
};

// A bulk-in transfer that ends by its time-out, after some packets or none, or short packets
// throughout, lose nothing and do not count as a lost bridge.
struct InPause {
    size_t bytesBefore;
    std::chrono::milliseconds pause;
    size_t dataBytesPerPacket = 510;
};

class BulkInTimeOutTest : public LibFtdiFaultsTest,
                          public ::testing::WithParamInterface<InPause> {};

TEST_P(BulkInTimeOutTest, KeepsWhatArrivedBeforeTheTimeOut) {
    ASSERT_TRUE(port().Open());
    Ft232hBehaviour behaviour;
    behaviour.inBytesBeforePause = GetParam().bytesBefore;
    behaviour.inPause = GetParam().pause;
    behaviour.dataBytesPerPacket = GetParam().dataBytesPerPacket;
    bridge->chip().setBehaviour(behaviour);
    const std::vector<uint8_t> sent = Stream(6000);
    analyzer.SendToHost(sent);

    EXPECT_TRUE(eventually([&] { return ring.unreadBytes() >= 6000; }, 3s))
        << ring.unreadBytes() << " bytes arrived";
    EXPECT_EQ(takeRing(), sent);
    EXPECT_FALSE(port().deviceLost());
}

INSTANTIATE_TEST_SUITE_P(Pauses, BulkInTimeOutTest,
                         ::testing::Values(InPause{1020, 40ms}, // two packets, then silence
                                           InPause{4080, 40ms}, // half a transfer
                                           InPause{0, 300ms},   // a stalled endpoint
                                           InPause{Ft232hBehaviour::kNoLimit, 0ms,
                                                   7})); // short packets throughout

TEST_F(LibFtdiFaultsTest, APartlyTakenWriteSendsEachByteOnce) {
    ASSERT_TRUE(port().Open());
    Ft232hBehaviour behaviour;
    behaviour.outBytesBeforePause = 1024;
    behaviour.outPause = 30ms;
    bridge->chip().setBehaviour(behaviour);
    // As long as the longest settings block, over several packets.
    std::string frame(2573, ' ');
    for (size_t k = 0; k < frame.size(); ++k) {
        frame[k] = static_cast<char>('A' + k % 26);
    }
    analyzer.ClearRequests();

    port().Write(frame + std::string(kFrameTerminator.begin(), kFrameTerminator.end()));

    ASSERT_TRUE(eventually([&] { return !requests().empty(); }, 2s));
    EXPECT_EQ(requests(), std::vector<std::string>{frame});
}

TEST_F(LibFtdiFaultsTest, AWriteToAnUnpluggedBridgeEndsAtOnce) {
    ASSERT_TRUE(port().Open());
    bus->Unplug(*bridge);
    const int before = api.writes.load();

    port().Write(std::string_view("BS"));

    EXPECT_EQ(api.writes.load() - before, 1);
    EXPECT_TRUE(port().deviceLost());
}

// Whether the analyzer's bridge is plugged in before the other FT232Hs or after them (libusb
// lists them in an order of its own).
class OpenPastOthersTest : public LibFtdiFaultsTest, public ::testing::WithParamInterface<bool> {};

TEST_P(OpenPastOthersTest, OpensTheAnalyzersBridgePastFt232hsItMayNotOpen) {
    // Besides the analyzer's: an FT232H of another product, and one the user may not open
    // (no udev rule covers it).
    bus.emplace();
    const bool analyzerFirst = GetParam();
    if (analyzerFirst) {
        bridge = &bus->Plug(Ft232hIdentity{}, &analyzer);
    }
    testing::EmulatedUsbBus::Device& other =
        bus->Plug(Ft232hIdentity{"FTDI", "Single RS232-HS", "FT000001"});
    testing::EmulatedUsbBus::Device& refused =
        bus->Plug(Ft232hIdentity{"FTDI", "Some Other 232H", "FT000002"});
    bus->DenyAccess(refused);
    if (!analyzerFirst) {
        bridge = &bus->Plug(Ft232hIdentity{}, &analyzer);
    }

    {
        const testing::WithoutFileAccessOverride asAUser;
        ASSERT_TRUE(port().Open());
    }
    EXPECT_FALSE(bridge->chip().vendorRequests().empty());
    EXPECT_TRUE(refused.chip().vendorRequests().empty());
    EXPECT_TRUE(other.chip().vendorRequests().empty());
}

INSTANTIATE_TEST_SUITE_P(Orders, OpenPastOthersTest, ::testing::Bool());

TEST_F(LibFtdiFaultsTest, OpensBySerialNumberAmongTwoBridges) {
    bus.emplace();
    testing::EmulatedUsbBus::Device& first = bus->Plug(Ft232hIdentity{.serial = "TVX00001"});
    bridge = &bus->Plug(Ft232hIdentity{.serial = "TVX00002"}, &analyzer);
    D2xxEntryPoints entries = api.load(portPrompt);

    FtHandle handle = nullptr;
    ASSERT_EQ(entries.FT_OpenEx("TVX00002", kFtOpenBySerialNumber, &handle), kFtOk);
    EXPECT_EQ(entries.FT_ResetDevice(handle), kFtOk);
    EXPECT_EQ(entries.FT_Close(handle), kFtOk);
    EXPECT_EQ(bridge->chip().vendorRequests().size(), 3); // libftdi1's reset and baud, ours
    EXPECT_TRUE(first.chip().vendorRequests().empty());
    EXPECT_EQ(entries.FT_OpenEx("TVX00003", kFtOpenBySerialNumber, &handle), kFtDeviceNotFound);
}

TEST_F(LibFtdiFaultsTest, IsAttachedFollowsTheAnalyzersBridgeAmongOthers) {
    bus.emplace();
    bus->DenyAccess(bus->Plug(Ft232hIdentity{"FTDI", "Some Other 232H", "FT000002"}));
    bridge = &bus->Plug(Ft232hIdentity{}, &analyzer);
    const testing::WithoutFileAccessOverride asAUser;

    EXPECT_TRUE(port().IsAttached());
    bus->Unplug(*bridge);
    EXPECT_FALSE(port().IsAttached());
    bus->PowerCycle(*bridge); // back, as after switching the analyzer off and on
    EXPECT_TRUE(port().IsAttached());
    EXPECT_TRUE(port().Open());
}

TEST_F(LibFtdiFaultsTest, ABridgeTheUserMayNotOpenPointsAtTheUdevRule) {
    bus->DenyAccess(*bridge);
    {
        const testing::WithoutFileAccessOverride asAUser;
        EXPECT_EQ(ConnectAnalyzer(link, owner), ConnectResult::Failed);
    }
    ASSERT_FALSE(owner.entries.empty());
    EXPECT_EQ(owner.entries.front().text,
              std::string(kAnalyzerAbsentMessage) + "\n" + std::string(kNoPermissionNote));
}

} // namespace
} // namespace varnolt
