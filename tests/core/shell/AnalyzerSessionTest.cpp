#include "core/shell/AnalyzerSession.h"

#include "core/link/protocol/LinkMessages.h"
#include "core/link/reception/OnlineDownload.h"
#include "core/shell/CVarnoltDoc.h"
#include "sim/MeasurementEngine.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include "../link/ReceptionFixture.h"

namespace varnolt {
namespace {

using testing::RecordingReceptionView;

struct SilentProgress final : DownloadProgress {
    void ShowProgress(int32_t) override {}
};

// The session on the document, its link to the virtual analyzer on the manual clock.
class AnalyzerSessionTest : public ::testing::Test, public testing::SimulatedLink {
protected:
    AnalyzerSessionTest() {
        document.AttachLink(LinkServices{bridge, portPrompt, clock, time, cursor, &ring});
        firmware([](sim::AnalyzerFirmware& state) { state.measurement->options().keepLog = true; });
    }
    void ticks(int count) {
        for (int k = 0; k < count; ++k) {
            while (analyzer.bytesInFlight()) {
                std::this_thread::sleep_for(std::chrono::microseconds(20));
            }
            ASSERT_NE(session.Tick(), PollResult::CommunicationFailed);
            time.Advance(10);
        }
    }
    [[nodiscard]] std::vector<RecordWord> stored() const {
        std::vector<RecordWord> words;
        for (RecordCount k = 0; k < document.capture().Count(); ++k) {
            words.push_back(document.capture().word(k));
        }
        return words;
    }
    [[nodiscard]] std::vector<RecordWord> produced() {
        std::vector<RecordWord> words;
        firmware([&](sim::AnalyzerFirmware& state) { words = state.measurement->produced(); });
        return words;
    }

    testing::TempDir folder;
    CVarnoltDoc document{owner, folder.path()};
    RecordingReceptionView view{document.capture()};
    AnalyzerSession session{document, owner, view, [] { return AutoSaveOptions{}; }};
};

TEST_F(AnalyzerSessionTest, AMeasurementRunsHeadlessFromConnectToDisconnect) {
    ASSERT_TRUE(session.Connect());
    EXPECT_EQ(session.state(), SessionState::Connected);
    ASSERT_TRUE(session.Start());
    EXPECT_EQ(session.state(), SessionState::Measuring);
    ticks(300);
    ASSERT_TRUE(session.Stop());

    // Live: what was drawn is what was stored, block after block, and the analyzer's records.
    const std::vector<RecordWord> live = stored();
    ASSERT_GT(live.size(), 1000U);
    RingIndex next = 0;
    for (const RecordingReceptionView::Drawn& block : view.drawn) {
        EXPECT_EQ(block.first, next);
        next = block.last + 1;
    }
    EXPECT_LE(next, static_cast<RingIndex>(live.size()));
    std::vector<RecordWord> recorded = produced();
    EXPECT_EQ(live.size(), recorded.size());
    ASSERT_GE(recorded.size(), live.size());
    EXPECT_TRUE(std::equal(live.begin(), live.end(), recorded.begin()));

    // The stored-data download holds the link meanwhile and brings back all of it.
    SilentProgress progress;
    std::vector<SessionState> during;
    document.setLinkConditionListener([&] { during.push_back(session.state()); });
    ASSERT_TRUE(session.Download(progress, time));
    EXPECT_EQ(during.front(), SessionState::Downloading);
    EXPECT_EQ(session.state(), SessionState::Connected);
    EXPECT_TRUE(stored() == produced());

    CSaParameter written = document.settings();
    written.speed = 38'400;
    ASSERT_TRUE(session.WriteSettings(written, nullptr));
    CSaParameter read;
    ASSERT_TRUE(session.ReadSettings(read, nullptr));
    EXPECT_EQ(read.speed, 38'400);

    ASSERT_TRUE(session.Disconnect());
    EXPECT_EQ(session.state(), SessionState::NotConnected);
    EXPECT_TRUE(owner.entries.empty()) << ::testing::PrintToString(owner.texts());
}

TEST_F(AnalyzerSessionTest, ARefusedCommandSendsNothingAndShowsOnlyTheProgramsMessage) {
    EXPECT_FALSE(session.Start());
    EXPECT_FALSE(session.Disconnect());
    EXPECT_TRUE(requests().empty());
    EXPECT_TRUE(owner.entries.empty());

    ASSERT_TRUE(session.Connect());
    ASSERT_TRUE(session.Start());
    analyzer.ClearRequests();
    EXPECT_FALSE(session.Disconnect());
    EXPECT_FALSE(session.Connect());
    SilentProgress progress;
    EXPECT_FALSE(session.Download(progress, time));
    EXPECT_TRUE(requests().empty());
    EXPECT_EQ(owner.texts(),
              std::vector<std::string>{std::string(kCannotDisconnectWhileRunningMessage)});
    EXPECT_EQ(session.state(), SessionState::Measuring);

    // A dialog's operation holding the link keeps every command away, the stop included.
    document.link()->setBusy(true);
    EXPECT_EQ(session.state(), SessionState::Busy);
    EXPECT_FALSE(session.Stop());
    EXPECT_FALSE(session.Transmit(1));
    EXPECT_EQ(session.Tick(), PollResult::Idle);
    EXPECT_TRUE(requests().empty());
}

// Every operation in every state: A allowed, - refused silently (the window disables the
// command), M refused with the program's message.
TEST(SessionRulesTest, EveryOperationInEveryState) {
    // Columns: not connected, connected, measuring, downloading, busy.
    const std::vector<std::pair<SessionOperation, std::string>> table{
        {SessionOperation::Connect, "A----"},        {SessionOperation::Disconnect, "-AM--"},
        {SessionOperation::Start, "-A---"},          {SessionOperation::Stop, "--A--"},
        {SessionOperation::Download, "-A---"},       {SessionOperation::Transmit, "AAA--"},
        {SessionOperation::LineOutput, "AAA--"},     {SessionOperation::RemoteSettings, "AA---"},
        {SessionOperation::SavedFiles, "-A---"},     {SessionOperation::ScreenCapture, "AA---"},
        {SessionOperation::FirmwareUpdate, "A----"},
    };
    ASSERT_EQ(table.size(), AllSessionOperations().size());
    for (const auto& [operation, row] : table) {
        ASSERT_EQ(row.size(), AllSessionStates().size());
        for (size_t s = 0; s < row.size(); ++s) {
            const SessionVerdict verdict = Admit(operation, AllSessionStates()[s]);
            const char got = verdict.allowed() ? 'A' : verdict.message.empty() ? '-' : 'M';
            EXPECT_EQ(got, row[s])
                << "operation " << static_cast<int>(operation) << ", state " << s;
        }
    }
    EXPECT_EQ(Admit(SessionOperation::Disconnect, SessionState::Measuring).message,
              kCannotDisconnectWhileRunningMessage);
}

} // namespace
} // namespace varnolt
