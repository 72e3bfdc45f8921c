#include "core/link/reception/OnlineReception.h"

#include "core/capture/SaveMessages.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/link/reception/MeasurementMessages.h"
#include "core/link/reception/OnlineDownload.h"
#include "support/RecordingSaveWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

#include "AnswerBuilder.h"
#include "ReceptionFixture.h"

namespace varnolt {
namespace {

using testing::CheckedAnswer;
using testing::Checksummed;
using testing::DataBlock;
using Texts = std::vector<std::string>;

// A status answer with every line on and every number 0 but the idle value.
std::string StatusText(uint32_t idle) {
    std::string text = "BL22222222" + FormatHex32(idle);
    text += std::string(8 * (4 + 4 + 7) + 4 * 8, '0');
    return text;
}

// Reception whose analyzer answers the poll's requests from a script, one answer per request
// and command; a request whose script has run out goes unanswered.
class OnlineReceptionTest : public ::testing::Test, public testing::ReceptionFixture {
protected:
    explicit OnlineReceptionTest(RecordCount capacity = 1000) : ReceptionFixture(capacity) {
        for (const char* command : {"BS", "BN", "BR", "BL", "BA", "BB"}) {
            firmware([this, command](sim::AnalyzerFirmware& state) {
                state.AddCommand(command, sim::RequestChecksum::Without,
                                 [this, command](sim::AnalyzerFirmware&, const sim::Request&) {
                                     std::vector<sim::AnswerFrame> answers;
                                     auto& queue = script[command];
                                     if (!queue.empty()) {
                                         answers.push_back(queue.front());
                                         queue.pop_front();
                                     }
                                     return answers;
                                 });
            });
        }
    }

    void answer(const std::string& command, std::vector<uint8_t> frame) {
        script[command].push_back(std::move(frame));
    }
    // Connected and measuring, as after a successful start.
    void measuring() {
        connect();
        link.setRunStateValue(CMoniterComm::kRunning);
        link.setLinkState(LinkState::Started);
        analyzer.ClearRequests();
    }

    // Automatic saving on into FOLDER, as the user set it up before the start.
    void saveAutomatically(const std::filesystem::path& folder) {
        autoSave.enabled = true;
        autoSave.folder = folder;
        store.saver().setFolder(folder);
    }

    std::map<std::string, std::deque<std::vector<uint8_t>>> script;
};

TEST_F(OnlineReceptionTest, StoppedTheStatusIsPolledEveryOtherPass) {
    connect();
    analyzer.ClearRequests();
    answer("BL", CheckedAnswer(StatusText(5)));
    answer("BL", sim::Nak());
    ticks(5); // to 10, "BL", its answer, "BL", refused
    EXPECT_EQ(requests(), (Texts{"BL", "BL"}));
    EXPECT_EQ(link.linkState(), LinkState::SendStatusPoll);
    EXPECT_EQ(lines, (LineStates{1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(reception.lastIdleValue(), 5U);
    EXPECT_EQ(view.statusRefreshes, 1);
}

TEST_F(OnlineReceptionTest, AStatusPollUnansweredFourTimesGivesUp) {
    connect();
    analyzer.ClearRequests();
    ticks(2 + 3 * OnlineReception::kStatusTicks);
    EXPECT_EQ(requests(), Texts(4, "BL"));
    EXPECT_TRUE(owner.entries.empty());
    EXPECT_EQ(ticks(OnlineReception::kStatusTicks), PollResult::CommunicationFailed);
    EXPECT_EQ(link.linkState(), LinkState::Failed);
    EXPECT_EQ(owner.texts(), Texts{std::string(kCommunicationFailedMessage)});
    ticks(300);
    EXPECT_EQ(requests().size(), 5U); // nothing more is sent
}

TEST_F(OnlineReceptionTest, BlocksAreAppendedAndDrawnAsTheyArrive) {
    measuring();
    answer("BS", DataBlock(900'016, std::vector<uint32_t>{0x1041'0000, 0x2042'0000}, 0));
    answer("BN", CheckedAnswer(StatusText(7)));
    answer("BN", DataBlock(0, std::vector<uint32_t>{0x1043'0000}, 0));
    answer("BN", sim::Answer("BO"));
    settings.idleDisplay = 1;
    ticks(8);
    EXPECT_EQ(requests(), (Texts{"BS", "BN", "BN", "BN", "BN"}));
    ASSERT_EQ(store.Count(), 4);
    EXPECT_EQ(store.record(1).deviceIndex, 900'017);
    EXPECT_EQ(store.record(2).deviceIndex, 0);
    EXPECT_EQ(store.word(3), kOverflowMarkerWord);
    using Drawn = testing::RecordingReceptionView::Drawn;
    EXPECT_EQ(view.drawn, (std::vector<Drawn>{{0, 1, true}, {2, 2, false}}));
    EXPECT_EQ(view.overflows, (std::vector<Drawn>{{3, 3, false}}));
    EXPECT_EQ(view.liveIdle, (std::vector<std::pair<RingIndex, uint32_t>>{{2, 7}}));
    EXPECT_EQ(reception.nextToDraw(), 4);
    EXPECT_EQ(reception.received(), 4);
}

// Characters of record width 1 carry the control lines: the lamps take the newest character's
// states from the records themselves, whatever the view draws of them.
TEST_F(OnlineReceptionTest, TheLampsFollowTheNewestCharacterOfEachBlock) {
    measuring();
    store.header().recordWidth = 1;
    // RS on, ER off, CS on, DR off, CD on, CI off; then an RD character with every line on.
    answer("BS", DataBlock(0, std::vector<uint32_t>{0x1041'0000 | 0b10'01'10'01'10'01}, 1));
    answer("BN", DataBlock(1,
                           std::vector<uint32_t>{0x2042'0000 | 0b01'01'01'01'01'01,
                                                 0x3001'0000 | 0b10'10'10'10'10'10},
                           1));
    ticks(3);
    ASSERT_EQ(store.Count(), 1);
    EXPECT_EQ(lines, (LineStates{0, 1, 2, 0, 1, 2, 1, 2}));
    const int refreshes = view.lampRefreshes;
    ticks(3);
    ASSERT_EQ(store.Count(), 3);
    // The error record after the character carries no states of its own to show.
    EXPECT_EQ(lines, (LineStates{0, 1, 1, 0, 1, 1, 1, 1}));
    EXPECT_EQ(view.lampRefreshes, refreshes + 1);
}

TEST_F(OnlineReceptionTest, FiftySilentTicksAskForTheBlockAgainAndTheThirdGivesUp) {
    measuring();
    answer("BS", DataBlock(0, std::vector<uint32_t>{0x1041'0000}, 0));
    ticks(4); // started, "BS", its block, "BN"
    ticks(2 * OnlineReception::kNextBlockTicks);
    EXPECT_EQ(requests(), (Texts{"BS", "BN", "BR", "BR"}));
    EXPECT_TRUE(owner.entries.empty());
    EXPECT_EQ(ticks(OnlineReception::kNextBlockTicks), PollResult::CommunicationFailed);
    EXPECT_EQ(link.linkState(), LinkState::Failed);
    ASSERT_EQ(owner.texts(), Texts{std::string(kCommunicationFailedMessage)});
    EXPECT_EQ(owner.entries[0].caption, "確認");
    EXPECT_EQ(owner.entries[0].icon, PromptIcon::Warning);
    EXPECT_EQ(view.statusRefreshes, 1);
    EXPECT_EQ(link.runState(), CMoniterComm::kRunning); // stays as it was
}

TEST_F(OnlineReceptionTest, ARepeatedBlockAfterAGarbledOneLosesNothing) {
    measuring();
    std::vector<uint8_t> garbled = DataBlock(0, std::vector<uint32_t>{0x1041'0000}, 0);
    garbled[garbled.size() - 5] ^= 1;
    answer("BS", garbled);
    answer("BS", DataBlock(0, std::vector<uint32_t>{0x1041'0000}, 0));
    answer("BN", {'X', 'Y', 0xFF, 0x00, 0xFF, 0x00}); // an error: "BR" at once
    answer("BR", DataBlock(1, std::vector<uint32_t>{0x2041'0000}, 0));
    ticks(3 + OnlineReception::kFirstBlockTicks + 5);
    EXPECT_EQ(requests(), (Texts{"BS", "BS", "BN", "BR", "BN"}));
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(reception.attempts(), 0);
}

// A "BN" that never reached the analyzer: after 50 silent ticks "BR" brings back the block the
// PC already holds, and the poll asks for the next one again instead of waiting for an answer
// that cannot come.
TEST_F(OnlineReceptionTest, ANextRequestThatNeverArrivedIsSentAgain) {
    measuring();
    answer("BS", DataBlock(0, std::vector<uint32_t>{0x1041'0000}, 0));
    answer("BR", DataBlock(0, std::vector<uint32_t>{0x1041'0000}, 0));
    answer("BN", DataBlock(1, std::vector<uint32_t>{0x2042'0000}, 0));
    analyzer.WithFaults([](sim::FaultPlan& plan) {
        plan.Pass(1);
        plan.Add(sim::Fault::RequestLost);
    });
    ticks(4 + OnlineReception::kNextBlockTicks + 2);
    EXPECT_EQ(requests(), (Texts{"BS", "BR", "BN", "BN"}));
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(store.word(1), 0x2042'0000U);
    EXPECT_TRUE(owner.entries.empty());
}

// A save that fails, or one refused, is told through the view and never with a message box
// the poll would wait on: the next pass sends its request as usual.
TEST_F(OnlineReceptionTest, SaveProblemsAreToldWithoutHoldingUpThePoll) {
    testing::TempDir folder;
    store.saver().setFolder(folder.path());
    store.saver().setFileWriter(
        [](const SaveJob&) -> std::optional<std::string> { return "disk full"; });
    measuring();
    answer("BS", DataBlock(0, std::vector<uint32_t>{0x1041'0000}, 0));
    ticks(3);
    ASSERT_TRUE(store.StartSave(SaveRequest::Trigger, 0, 0));
    store.saver().WaitIdle();
    ticks(2);
    EXPECT_EQ(view.notices, Texts{KeptAfterErrorMessage("disk full", 1)});
    EXPECT_TRUE(owner.entries.empty());
    EXPECT_EQ(requests(), (Texts{"BS", "BN"}));
}

TEST_F(OnlineReceptionTest, TheAnalyzersStopReportStopsLikeTheMenu) {
    testing::TempDir folder;
    saveAutomatically(folder.path());
    const testing::RecordingSaveWriter saved(store.saver());
    measuring();
    answer("BS", DataBlock(0, std::vector<uint32_t>{0x1041'0000, 0x2042'0000}, 0));
    answer("BN", CheckedAnswer("PSS0B"));
    answer("BR", CheckedAnswer("PSS0B")); // nothing left once it has stopped
    // The frame is told, so its commands do not wait for a menu to be opened.
    std::vector<LinkCondition> told;
    link.setConditionListener([&] { told.push_back(link.condition()); });
    ticks(5);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], (LinkCondition{true, false, false, false}));
    store.saver().WaitIdle();
    EXPECT_EQ(requests(), (Texts{"BS", "BN", Checksummed("PSW0B"), "BR"}));
    EXPECT_EQ(link.runState(), CMoniterComm::kStopped);
    EXPECT_EQ(link.linkState(), LinkState::Connected);
    EXPECT_EQ(view.stopped, 1);
    EXPECT_EQ(view.statusRefreshes, 1);
    // The final save of the partial bank.
    EXPECT_EQ(saved.orders(),
              (std::vector<SaveOrder>{{SaveKind::Automatic, SaveSource::BankA, 0, 1}}));
}

TEST_F(OnlineReceptionTest, ATriggerReportBecomesATriggerSaveOnceItsEndArrives) {
    testing::TempDir folder;
    store.saver().setFolder(folder.path());
    const testing::RecordingSaveWriter saved(store.saver());
    measuring();
    answer("BS", DataBlock(100, std::vector<uint32_t>(4, 0x1041'0000), 0));
    answer("BN", CheckedAnswer("PTR050000006500000069"));
    answer("BN", DataBlock(104, std::vector<uint32_t>(6, 0x2041'0000), 0));
    ticks(5);
    EXPECT_TRUE(trigger.pending(5));
    tick(); // the block that holds the end
    store.saver().WaitIdle();
    EXPECT_FALSE(trigger.pending(5));
    EXPECT_EQ(saved.orders(),
              (std::vector<SaveOrder>{{SaveKind::Trigger, SaveSource::Ring, 1, 5}}));
}

TEST_F(OnlineReceptionTest, AStartWithoutItsSaveFolderIsRefusedBeforeAnythingIsSent) {
    connect();
    analyzer.ClearRequests();
    autoSave.enabled = true;
    autoSave.folder = "/nonexistent/varnolt";
    EXPECT_FALSE(reception.Start());
    EXPECT_TRUE(requests().empty());
    ASSERT_EQ(owner.texts(), Texts{std::string(kAutoSaveFolderMissingMessage)});
    EXPECT_EQ(owner.entries[0].caption, "メッセージ");
    EXPECT_EQ(owner.entries[0].icon, PromptIcon::Error);
    EXPECT_TRUE(view.started.empty());
}

class MeasurementStartTest : public OnlineReceptionTest {
protected:
    MeasurementStartTest() : OnlineReceptionTest(600'000) {}
};

TEST_F(MeasurementStartTest, AStartReadsTheConditionsAndSizesTheRingToOneFile) {
    connect();
    analyzer.ClearRequests();
    store.Append(0x1041'0000, 0);
    autoSave.fileSizeMegabytes = 2;
    settings.controlLineCapture = 1;
    trigger.OnTriggerReport(store, 0, {1, 0, 5}, 1);
    EXPECT_TRUE(reception.Start());
    EXPECT_EQ(requests(), (Texts{"VEF", Checksummed("SRG"), Checksummed("PSW0A")}));
    EXPECT_EQ(link.runState(), CMoniterComm::kRunning);
    EXPECT_EQ(link.linkState(), LinkState::Started);
    EXPECT_EQ(store.header().formatVersion, 110);
    // The analyzer measures without control lines: its blocks are read so, and the user hears
    // that the PC's settings say otherwise.
    EXPECT_EQ(store.header().recordWidth, 0);
    EXPECT_EQ(view.notices, Texts{RecordWidthDiffersNotice(0)});
    EXPECT_EQ(store.capacity(), 500'000);
    EXPECT_TRUE(store.empty());
    EXPECT_FALSE(trigger.pending(1));
    EXPECT_EQ(view.started, std::vector<bool>{true});
    EXPECT_EQ(view.statusRefreshes, 1);
    EXPECT_FALSE(reception.Start()); // already measuring: nothing is sent
    EXPECT_EQ(requests().size(), 3U);
}

TEST_F(MeasurementStartTest, AnAnalyzerMeasuringWithControlLinesIsReadSoWhateverThePcSays) {
    connect();
    CSaParameter onTheAnalyzer;
    onTheAnalyzer.controlLineCapture = 1;
    ASSERT_TRUE(link.WriteExtSettings(&owner, onTheAnalyzer, nullptr));
    for (const uint16_t pcSays : {0, 1}) {
        SCOPED_TRACE(pcSays);
        view.notices.clear();
        settings.controlLineCapture = pcSays;
        ASSERT_TRUE(reception.Start());
        EXPECT_EQ(store.header().recordWidth, 1);
        EXPECT_EQ(view.notices, pcSays == 1 ? Texts{} : Texts{RecordWidthDiffersNotice(1)});
        link.setRunStateValue(CMoniterComm::kStopped);
    }
    EXPECT_EQ(RecordWidthDiffersNotice(1),
              "アナライザーの「制御ライン対応」は「有り」、PCの設定は「無し」です。"
              "受信データはアナライザーの設定で読み取ります。");
}

// A start whose exchanges fail keeps the capture as it was and says why, whichever exchange
// failed: the silent version query, the settings read or the switch to measuring.
TEST_F(OnlineReceptionTest, AStartThatFailsKeepsTheCaptureAndSaysSo) {
    const struct {
        const char* name;
        int passing; // requests answered before the analyzer refuses everything
    } cases[] = {{"VEF", 0}, {"SRG", 1}, {"PSW0A", 2}};
    connect();
    store.Append(0x1041'0000, 0);
    store.header().speed = 1234;
    for (const auto& failing : cases) {
        SCOPED_TRACE(failing.name);
        owner.entries.clear();
        analyzer.WithFaults([&](sim::FaultPlan& plan) {
            plan.Clear();
            plan.Pass(failing.passing);
            plan.Add(sim::Fault::Nak, 100);
        });
        EXPECT_FALSE(reception.Start());
        EXPECT_EQ(store.Count(), 1);
        EXPECT_EQ(store.header().speed, 1234);
        EXPECT_TRUE(view.started.empty());
        EXPECT_EQ(link.runState(), CMoniterComm::kStopped);
        ASSERT_FALSE(owner.entries.empty());
        EXPECT_EQ(owner.entries.back().text, std::string(kCommunicationFailedMessage));
    }
    analyzer.WithFaults([](sim::FaultPlan& plan) { plan.Clear(); });
}

TEST_F(OnlineReceptionTest, AStoredAmountOfZeroLeavesTheCaptureUntouched) {
    connect();
    store.Append(0x1041'0000, 0);
    analyzer.ClearRequests();
    struct : DownloadProgress {
        void ShowProgress(int32_t) override {}
    } progress;
    EXPECT_FALSE(reception.Download(progress, time));
    EXPECT_EQ(requests(), Texts{"BC"});
    EXPECT_EQ(store.Count(), 1);
    ASSERT_EQ(owner.texts(), Texts{std::string(kNoStoredDataMessage)});
    EXPECT_EQ(owner.entries[0].caption, "メッセージ");
    EXPECT_EQ(owner.entries[0].icon, PromptIcon::Information);
}

class TinyRingTest : public OnlineReceptionTest {
protected:
    TinyRingTest() : OnlineReceptionTest(10) {}
};

// An overflow mark that fills the ring's last slot hands the full bank to the saver like any
// other record; the stop right after has nothing more to save.
TEST_F(TinyRingTest, AnOverflowMarkInTheLastSlotSavesTheFullRing) {
    testing::TempDir folder;
    saveAutomatically(folder.path());
    const testing::RecordingSaveWriter saved(store.saver());
    measuring();
    answer("BS", DataBlock(0, std::vector<uint32_t>(9, 0x1041'0000), 0));
    answer("BN", sim::Answer("BO"));
    for (int k = 0; k < 4; ++k) {
        answer("BN", CheckedAnswer(StatusText(0)));
    }
    answer("BR", CheckedAnswer(StatusText(0)));
    ticks(6);
    ASSERT_EQ(store.lastIndex(), 9);
    ASSERT_EQ(store.word(9), kOverflowMarkerWord);
    EXPECT_TRUE(reception.Stop());
    store.saver().WaitIdle();
    EXPECT_EQ(saved.orders(),
              (std::vector<SaveOrder>{{SaveKind::Automatic, SaveSource::BankA, 0, 9}}));
}

class OnlineDownloadTest : public OnlineReceptionTest {
protected:
    OnlineDownloadTest() : OnlineReceptionTest(20'000) {}
};

TEST_F(OnlineDownloadTest, TheDownloadFetchesBlocksUntilTheLastAndRepeatsAGarbledOne) {
    connect();
    firmware([](sim::AnalyzerFirmware& state) { state.storedAmount = 1; });
    store.Append(0x1041'0000, 0);
    analyzer.ClearRequests();
    std::vector<uint8_t> garbled = DataBlock(4500, std::vector<uint32_t>(4500, 0x2041'0000), 0);
    garbled[garbled.size() - 5] ^= 1;
    answer("BA", DataBlock(0, std::vector<uint32_t>(4500, 0x1041'0000), 0));
    answer("BB", garbled);
    answer("BR", DataBlock(4500, std::vector<uint32_t>(4500, 0x2041'0000), 0));
    answer("BB", CheckedAnswer(StatusText(0)));
    struct : DownloadProgress {
        void ShowProgress(int32_t percent) override { shown.push_back(percent); }
        std::vector<int32_t> shown;
    } progress;
    EXPECT_TRUE(reception.Download(progress, time));
    EXPECT_EQ(requests(), (Texts{"BC", "VEF", Checksummed("SRF"), "BA", "BB", "BR", "BB"}));
    EXPECT_EQ(store.Count(), 9000);
    EXPECT_EQ(store.record(4500).deviceIndex, 4500);
    // 9,000 records expected for one hundredth: 4,499 and 8,999 are 49 % and 99 %.
    EXPECT_EQ(progress.shown, (std::vector<int32_t>{49, 99}));
    EXPECT_EQ(view.downloadsEnded, 1);
    EXPECT_TRUE(owner.entries.empty());
}

} // namespace
} // namespace varnolt
