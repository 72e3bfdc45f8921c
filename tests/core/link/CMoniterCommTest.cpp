#include "core/link/protocol/CMoniterComm.h"

#include "core/link/protocol/LinkMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimulatedLink.h"

namespace varnolt {
namespace {

using sim::Fault;
using testing::Checksummed;
using testing::SimulatedLink;
using Texts = std::vector<std::string>;

class MoniterCommTest : public ::testing::Test, public SimulatedLink {};

TEST_F(MoniterCommTest, RemoteModeIsEnteredAndLeft) {
    ASSERT_TRUE(link.SetRemote(&owner, 1));
    EXPECT_EQ(link.remoteMode(), 1);
    EXPECT_EQ(link.linkState(), LinkState::Connected);
    EXPECT_TRUE(link.port().isOpen());
    ASSERT_TRUE(link.SetRemote(&owner, 0));
    EXPECT_EQ(link.remoteMode(), 0);
    EXPECT_FALSE(link.port().isOpen());
    EXPECT_EQ(requests(), (Texts{"ENW014B", "ENW004A"}));
    EXPECT_EQ(cursor.shown, 2);
    EXPECT_EQ(cursor.hidden, 2);
    EXPECT_TRUE(owner.entries.empty());
    firmware([](sim::AnalyzerFirmware& state) { EXPECT_EQ(state.remoteMode, 0); });
}

TEST_F(MoniterCommTest, TheListenerHearsOfEveryConditionChangeAndOfNothingElse) {
    std::vector<LinkCondition> told;
    link.setConditionListener([&] { told.push_back(link.condition()); });
    ASSERT_TRUE(link.SetRemote(&owner, 1));
    link.setRunStateValue(CMoniterComm::kRunning);
    link.setLinkState(LinkState::Started);
    link.setLinkState(LinkState::AwaitNextBlock); // the poll's own steps: no news
    link.setLinkState(LinkState::Failed);
    link.setRunStateValue(CMoniterComm::kStopped);
    link.setBusy(true);
    link.RequestCancel();
    EXPECT_TRUE(link.cancelRequested());
    link.setBusy(false);
    link.setBusy(true); // a new operation starts without the old request
    EXPECT_FALSE(link.cancelRequested());
    link.setBusy(false);
    ASSERT_TRUE(link.SetRemote(&owner, 0));
    const std::vector<LinkCondition> expected{
        {true, false, false, false},  {true, true, false, false}, {true, true, false, true},
        {true, false, false, true},   {true, false, true, true},  {true, false, false, true},
        {true, false, true, true},    {true, false, false, true}, {false, false, false, true},
        {false, false, false, false},
    };
    EXPECT_EQ(told, expected);
}

TEST_F(MoniterCommTest, ARefusedRequestIsSentFourTimesThenTheFailureIsShown) {
    plan(Fault::Nak, 10);
    EXPECT_FALSE(link.SetRemote(&owner, 1));
    EXPECT_EQ(requests(), Texts(4, "ENW014B"));
    ASSERT_EQ(owner.texts(), Texts{std::string(kCommunicationFailedMessage)});
    EXPECT_EQ(owner.entries[0].caption, "確認");
    EXPECT_EQ(owner.entries[0].icon, PromptIcon::Warning);
    EXPECT_EQ(link.remoteMode(), 0);
    EXPECT_EQ(link.linkState(), LinkState::NotConnected);
    EXPECT_TRUE(link.port().isOpen()); // stays as it was
}

TEST_F(MoniterCommTest, CounterResetsAreRepeatedSixTimes) {
    plan(Fault::Nak, 10);
    EXPECT_EQ(link.ResetCounter(&owner, 2), -1);
    EXPECT_EQ(requests(), Texts(7, Checksummed("SWC0200000000")));
    EXPECT_EQ(owner.texts(), Texts{std::string(kCommunicationFailedMessage)});
}

TEST_F(MoniterCommTest, ACounterResetAnswersTheCountersValue) {
    firmware([](sim::AnalyzerFirmware& state) {
        state.AddCommand("SWC", sim::RequestChecksum::With,
                         [](sim::AnalyzerFirmware&, const sim::Request& request) {
                             EXPECT_EQ(request.parameterText(), "0300000000");
                             return std::vector<sim::AnswerFrame>{sim::Answer("SWC3C0FFEE01")};
                         });
    });
    EXPECT_EQ(link.ResetCounter(&owner, 3), 0xC0FFEE01);
}

TEST_F(MoniterCommTest, VersionTextsTurnSpacesAndPointsIntoZeros) {
    std::string text;
    ASSERT_TRUE(link.GetProgramVersion(text));
    EXPECT_EQ(text, "100200"); // "1.02  "
    ASSERT_TRUE(link.GetFormatVersion(text));
    EXPECT_EQ(text, "0110");
    EXPECT_EQ(requests(), (Texts{"VER", "VEF"}));
    EXPECT_EQ(cursor.shown, 0);
}

TEST_F(MoniterCommTest, VersionQueriesFailSilentlyWithoutAnAnalyzer) {
    analyzer.Unplug();
    std::string text = "old";
    EXPECT_FALSE(link.GetProgramVersion(text));
    EXPECT_EQ(text, "old");
    EXPECT_TRUE(owner.entries.empty());
    EXPECT_TRUE(portPrompt.entries.empty());
    EXPECT_EQ(clock.tickMs(), 100U); // four attempts, no waiting
}

TEST_F(MoniterCommTest, AShortVersionAnswerIsAFailedAttempt) {
    int answered = 0;
    firmware([&answered](sim::AnalyzerFirmware& state) {
        state.AddCommand("VER", sim::RequestChecksum::Without,
                         [&answered](sim::AnalyzerFirmware&, const sim::Request&) {
                             return std::vector<sim::AnswerFrame>{
                                 sim::Answer(answered++ == 0 ? "ACK1.0" : "ACK2.10  ")};
                         });
    });
    std::string text;
    ASSERT_TRUE(link.GetProgramVersion(text));
    EXPECT_EQ(text, "201000");
    EXPECT_EQ(requests().size(), 2U);
}

TEST_F(MoniterCommTest, StoredAmountIsReadAsADecimalNumber) {
    firmware([](sim::AnalyzerFirmware& state) { state.storedAmount = 12; });
    EXPECT_EQ(link.GetStoredAmount(&owner), 12); // "BC0012"
    EXPECT_EQ(requests(), Texts{"BC"});
}

TEST_F(MoniterCommTest, PagesOtherThan10And15AreReportedAs20) {
    for (const auto& pages : {std::pair{10, 10}, {15, 15}, {11, 20}, {0, 20}}) {
        firmware([&pages](sim::AnalyzerFirmware& state) { state.page = pages.first; });
        ASSERT_TRUE(link.GetPage(&owner));
        EXPECT_EQ(link.page(), pages.second) << pages.first;
    }
}

TEST_F(MoniterCommTest, AnAnswerStillOpeningWithSWEndsInTimeOuts) {
    firmware([](sim::AnalyzerFirmware& state) {
        state.AddCommand("BC", sim::RequestChecksum::Without,
                         [](sim::AnalyzerFirmware&, const sim::Request&) {
                             return std::vector<sim::AnswerFrame>{sim::Answer("SWX")};
                         });
    });
    EXPECT_EQ(link.GetStoredAmount(&owner), -1);
    EXPECT_EQ(requests(), Texts(4, "BC"));
    EXPECT_GT(clock.tickMs(), 100U + 4 * CMoniterComm::kAnswerBudgetMs);
    EXPECT_EQ(owner.texts(), Texts{std::string(kCommunicationFailedMessage)});
}

TEST_F(MoniterCommTest, ABareTerminatorIsAnErrorAndTheRequestIsRepeated) {
    int answered = 0;
    firmware([&answered](sim::AnalyzerFirmware& state) {
        state.AddCommand("PGR", sim::RequestChecksum::Without,
                         [&answered](sim::AnalyzerFirmware&, const sim::Request&) {
                             return std::vector<sim::AnswerFrame>{
                                 answered++ == 0 ? sim::Answer("") : sim::Answer("PGR0A", true)};
                         });
    });
    EXPECT_TRUE(link.GetPage(&owner));
    EXPECT_EQ(requests(), Texts(2, "PGR"));
    EXPECT_EQ(clock.tickMs(), 100U); // an error is not waited for
}

TEST_F(MoniterCommTest, TheAnswerBudgetStartsAfreshWhenTheTickCountWraps) {
    clock.set(0xFFFFFFFFu - 999);
    plan(Fault::Lost);
    ASSERT_TRUE(link.GetPage(&owner));
    const std::vector<sim::ReceivedRequest> sent = analyzer.requests();
    ASSERT_EQ(sent.size(), 2U);
    // The first wait counted 1000 ms up to the wrap, then 2000 ms from the wrap.
    EXPECT_GT(sent[1].tick, 2000U);
    EXPECT_LT(sent[1].tick, 2100U);
}

TEST_F(MoniterCommTest, AnAbsentAnalyzerIsReportedThenTheFailure) {
    analyzer.Unplug();
    EXPECT_FALSE(link.SetRunState(&owner, CMoniterComm::kStopped));
    EXPECT_EQ(owner.texts(), (Texts{std::string(kAnalyzerAbsentMessage),
                                    std::string(kCommunicationFailedMessage)}));
    EXPECT_TRUE(requests().empty());
}

TEST_F(MoniterCommTest, OneWayFramesAreSentAsBuilt) {
    link.SendLineOutputs(1, 0);
    link.SendTransmit(0x2A);
    link.RequestFile(7);
    link.SendNext();
    link.SendRepeat();
    link.SendStatusPoll();
    ASSERT_TRUE(link.SetRemote(&owner, 1)); // opens the port; frames before it went nowhere
    link.SendLineOutputs(1, 0);
    link.SendTransmit(0x2A);
    link.RequestFile(7);
    link.SendNext();
    EXPECT_EQ(requests(),
              (Texts{"ENW014B", Checksummed("GL00000012"), Checksummed("GT002A"), "FR0007", "BN"}));
    firmware([](sim::AnalyzerFirmware& state) {
        EXPECT_EQ(state.erOutput, '1');
        EXPECT_EQ(state.rsOutput, '2');
    });
}

// Each fault of the analyzer, injected into the first page query: the retries recover it.
struct FaultCase {
    const char* name;
    sim::FaultSet faults;
    size_t sends;
};

class InjectedFaultTest : public ::testing::TestWithParam<FaultCase>, public SimulatedLink {};

TEST_P(InjectedFaultTest, IsRecoveredByTheExchange) {
    firmware([](sim::AnalyzerFirmware& state) { state.page = 15; });
    plan(GetParam().faults);
    ASSERT_TRUE(link.GetPage(&owner));
    EXPECT_EQ(link.page(), 15);
    EXPECT_EQ(requests(), Texts(GetParam().sends, "PGR"));
    // Whatever the fault left in the ring does not disturb the next exchange.
    ASSERT_TRUE(link.SetRunState(&owner, CMoniterComm::kStopped));
    EXPECT_EQ(requests().back(), Checksummed("PSW0B"));
    EXPECT_EQ(requests().size(), GetParam().sends + 1);
    EXPECT_TRUE(owner.entries.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, InjectedFaultTest,
    ::testing::Values(FaultCase{"Lost", Fault::Lost, 2}, FaultCase{"Split", Fault::Split, 1},
                      FaultCase{"DelayedWithinBudget", Fault::Delayed, 1},
                      FaultCase{"Duplicated", Fault::Duplicated, 1},
                      FaultCase{"CorruptChecksum", Fault::CorruptChecksum, 2},
                      FaultCase{"Nak", Fault::Nak, 2},
                      FaultCase{"SplitAndDuplicated", Fault::Split | Fault::Duplicated, 1}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

TEST_F(MoniterCommTest, AnAnswerLaterThanItsBudgetServesTheRepeatedRequest) {
    analyzer.WithFaults([](sim::FaultPlan& plan) {
        plan.settings.delayMs = 3000;
        plan.Add(Fault::Delayed);
    });
    ASSERT_TRUE(link.GetPage(&owner));
    EXPECT_EQ(requests(), Texts(2, "PGR"));
    EXPECT_GE(clock.tickMs(), 3100U);
    ASSERT_TRUE(link.SetRunState(&owner, CMoniterComm::kStopped));
    EXPECT_EQ(requests().size(), 3U);
}

TEST_F(MoniterCommTest, AnUnpluggedAnalyzerFailsAndIsOpenedAfreshOncePluggedIn) {
    ASSERT_TRUE(link.SetRemote(&owner, 1));
    plan(Fault::Unplug);
    EXPECT_FALSE(link.GetPage(&owner));
    EXPECT_EQ(owner.texts(), Texts{std::string(kCommunicationFailedMessage)});
    analyzer.PlugIn();
    owner.entries.clear();
    EXPECT_TRUE(link.GetPage(&owner));
    EXPECT_EQ(requests(), (Texts{"ENW014B", "PGR", "PGR"}));
    EXPECT_TRUE(owner.entries.empty());
}

TEST_F(MoniterCommTest, AnotherLinkReachesTheSameAnalyzerOnceThisOneLetsGo) {
    ReceiveRing otherRing;
    sim::SimulatedLinkTime otherTime(clock, analyzer, otherRing);
    testing::RecordingPrompt otherOwner;
    CMoniterComm other(LinkServices{bridge, portPrompt, clock, otherTime, cursor, &otherRing});
    ASSERT_TRUE(link.SetRemote(&owner, 1));
    EXPECT_FALSE(other.GetPage(&otherOwner));
    EXPECT_EQ(otherOwner.texts().front(), kAnalyzerAbsentMessage);
    ASSERT_TRUE(link.SetRemote(&owner, 0));
    EXPECT_TRUE(other.GetPage(&otherOwner));
    firmware([](sim::AnalyzerFirmware& state) { EXPECT_EQ(state.remoteMode, 0); });
}

} // namespace
} // namespace varnolt
