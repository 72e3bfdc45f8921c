#include "core/link/protocol/AnalyzerConnection.h"

#include "core/link/protocol/LinkMessages.h"

#include <gtest/gtest.h>

#include "SimulatedLink.h"

namespace varnolt {
namespace {

using sim::Fault;
using testing::Checksummed;
using testing::SimulatedLink;
using Texts = std::vector<std::string>;

class ConnectionTest : public ::testing::Test, public SimulatedLink {};

TEST_F(ConnectionTest, ConnectingEntersRemoteModeAndStopsTheMeasurement) {
    EXPECT_EQ(ConnectAnalyzer(link, owner), ConnectResult::Connected);
    EXPECT_EQ(requests(), (Texts{"ENW014B", "PGR", Checksummed("PSW0B")}));
    EXPECT_EQ(link.remoteMode(), 1);
    EXPECT_EQ(link.runState(), CMoniterComm::kStopped);
    EXPECT_EQ(link.linkState(), LinkState::Connected);
    EXPECT_TRUE(owner.entries.empty());
    EXPECT_EQ(ConnectAnalyzer(link, owner), ConnectResult::AlreadyConnected);
    EXPECT_EQ(requests().size(), 3U);
}

TEST_F(ConnectionTest, AnAnalyzerAwayFromItsPowerOnScreenIsLeftAgain) {
    firmware([](sim::AnalyzerFirmware& state) { state.page = 11; });
    EXPECT_EQ(ConnectAnalyzer(link, owner), ConnectResult::WrongPage);
    EXPECT_EQ(link.page(), 20);
    EXPECT_EQ(requests(), (Texts{"ENW014B", "PGR", "ENW004A"}));
    ASSERT_EQ(owner.texts(), Texts{std::string(kSwitchToPowerOnScreenMessage)});
    EXPECT_EQ(owner.entries[0].caption, "Error");
    EXPECT_EQ(owner.entries[0].icon, PromptIcon::Information);
    EXPECT_EQ(link.remoteMode(), 0);
    EXPECT_FALSE(link.port().isOpen());
}

TEST_F(ConnectionTest, ARefusedRemoteModeEndsTheConnect) {
    plan(Fault::Nak, 4);
    EXPECT_EQ(ConnectAnalyzer(link, owner), ConnectResult::Failed);
    EXPECT_EQ(requests(), Texts(4, "ENW014B"));
    EXPECT_EQ(owner.texts(), Texts{std::string(kCommunicationFailedMessage)});
}

TEST_F(ConnectionTest, DisconnectingIsRefusedWhileAMeasurementRuns) {
    ASSERT_EQ(ConnectAnalyzer(link, owner), ConnectResult::Connected);
    link.setRunStateValue(CMoniterComm::kRunning);
    EXPECT_EQ(DisconnectAnalyzer(link, owner), DisconnectResult::Refused);
    EXPECT_EQ(owner.texts(), Texts{std::string(kCannotDisconnectWhileRunningMessage)});
    EXPECT_EQ(owner.entries[0].caption, "Error");
    owner.answers = {PromptAnswer::Cancel, PromptAnswer::Ok};
    EXPECT_FALSE(ConfirmCloseWhileRunning(link, owner));
    EXPECT_TRUE(ConfirmCloseWhileRunning(link, owner));
    EXPECT_EQ(owner.entries.back().text, kQuitWhileRunningQuestion);
    EXPECT_EQ(owner.entries.back().buttons, PromptButtons::OkCancel);

    link.setRunStateValue(CMoniterComm::kStopped);
    EXPECT_TRUE(ConfirmCloseWhileRunning(link, owner));
    EXPECT_EQ(DisconnectAnalyzer(link, owner), DisconnectResult::Disconnected);
    EXPECT_EQ(requests().back(), "ENW004A");
    EXPECT_EQ(link.remoteMode(), 0);
    EXPECT_EQ(link.linkState(), LinkState::NotConnected);
    EXPECT_FALSE(link.port().isOpen());
    EXPECT_EQ(DisconnectAnalyzer(link, owner), DisconnectResult::NotConnected);
}

} // namespace
} // namespace varnolt
