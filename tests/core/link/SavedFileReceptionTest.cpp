#include "core/link/savedfile/SavedFileReception.h"

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileReader.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/link/savedfile/SavedFileMessages.h"
#include "core/settings/CSaParameter.h"
#include "sim/MeasurementEngine.h"
#include "sim/StoredFileMemory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "SimulatedLink.h"

namespace varnolt {
namespace {

using sim::Fault;
using sim::StoredFile;
using testing::RecordingPrompt;
using Texts = std::vector<std::string>;
using Result = SavedFileReception::Result;

// Answers the overwrite question from a script and records the file lines it was asked with.
class ScriptedQuestion final : public OverwriteQuestion {
public:
    SaveChoice Ask(std::string_view message, std::string_view fileLine) override {
        EXPECT_EQ(message, kOverwriteQuestion);
        asked.emplace_back(fileLine);
        if (whenAsked) {
            whenAsked();
        }
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question for " << fileLine;
            return SaveChoice::Cancel;
        }
        const SaveChoice answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<SaveChoice> answers;
    Texts asked;
    std::function<void()> whenAsked; // looks at what the dialog shows behind the question
};

class SavedFileReceptionTest : public ::testing::Test, public testing::SimulatedLink {
protected:
    void SetUp() override {
        ASSERT_TRUE(link.SetRemote(&owner, 1));
        link.setBusy(true);
        analyzer.ClearRequests();
    }

    // Polls the running transfer to its end, letting the simulated time pass between looks.
    void run() {
        for (int polls = 0; reception.Poll(); ++polls) {
            ASSERT_LT(polls, 2'000'000) << "the transfer does not end";
            time.pump();
        }
    }

    void listFiles() {
        reception.RequestList();
        run();
        analyzer.ClearRequests();
    }

    void receive(const Texts& numbers) {
        std::vector<size_t> selected;
        for (const std::string& number : numbers) {
            const auto& rows = reception.rows();
            const auto found =
                std::find_if(rows.begin(), rows.end(),
                             [&](const StoredFileRow& row) { return row.number == number; });
            ASSERT_NE(found, rows.end()) << number;
            selected.push_back(static_cast<size_t>(found - rows.begin()));
        }
        reception.Receive(folder.path(), selected);
        run();
    }

    // The analyzer's files replaced by FILES.
    void keep(std::vector<StoredFile> files) {
        firmware(
            [&](sim::AnalyzerFirmware& state) { state.storedFiles->files() = std::move(files); });
    }

    [[nodiscard]] StoredFile stored(int32_t number) {
        StoredFile found;
        firmware([&](sim::AnalyzerFirmware& state) {
            for (const StoredFile& file : state.storedFiles->files()) {
                if (file.number == number) {
                    found = file;
                }
            }
        });
        return found;
    }

    // Whether the capture file at PATH, read back, holds exactly what the analyzer recorded.
    void expectHolds(const std::filesystem::path& path, const StoredFile& file, uint16_t width) {
        SCOPED_TRACE(path.string());
        RecordingPrompt readPrompt;
        ASSERT_TRUE(ReadCaptureFile(path, store, readPrompt));
        EXPECT_TRUE(readPrompt.entries.empty());
        EXPECT_EQ(store.header().recordWidth, width);
        ASSERT_EQ(store.Count(), static_cast<RecordCount>(file.records.size()));
        for (RecordCount k = 0; k < store.Count(); ++k) {
            ASSERT_EQ(store.word(k), file.records[static_cast<size_t>(k)]) << k;
        }
    }

    [[nodiscard]] Texts folderEntries() const {
        Texts names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void writeExisting(const std::string& name, const std::string& contents) {
        std::ofstream(folder / name, std::ios::binary) << contents;
    }

    [[nodiscard]] std::string contentsOf(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    ScriptedQuestion question;
    SavedFileReception reception{link, owner, question};
    testing::TempDir folder;
    CCaptureData store;
};

TEST_F(SavedFileReceptionTest, TheListShows9999FirstAndLeavesOutTheReservedEntries) {
    reception.RequestList();
    EXPECT_TRUE(reception.running());
    EXPECT_FALSE(reception.receiveEnabled());
    run();
    Texts numbers;
    Texts names;
    for (const StoredFileRow& row : reception.rows()) {
        numbers.push_back(row.number);
        names.push_back(row.name);
    }
    EXPECT_EQ(numbers, (Texts{"9999", "0001", "0002", "0003", "0004", "0006"}));
    EXPECT_EQ(names[1], "LINE_V2 ");
    EXPECT_EQ(reception.rows()[1].created, "2024/05/31 12:30");
    // Eight entries and the end, each acknowledged.
    Texts expected{"DR"};
    expected.insert(expected.end(), 9, "ACK");
    EXPECT_EQ(requests(), expected);
    EXPECT_EQ(reception.statusText(), kSelectDataStatus);
    EXPECT_TRUE(owner.entries.empty());
    EXPECT_TRUE(reception.receiveEnabled());
}

TEST_F(SavedFileReceptionTest, EveryStoredFileArrivesExactlyAsTheAnalyzerRecordedIt) {
    listFiles();
    receive({"0001", "0002", "0003", "0004", "9999"});
    EXPECT_EQ(reception.lastResult(), Result::Complete);
    EXPECT_EQ(owner.texts(), Texts{std::string(kReceiveCompleteMessage)});
    EXPECT_EQ(owner.entries[0].caption, kConfirmCaption);
    EXPECT_EQ(owner.entries[0].icon, PromptIcon::Warning);
    EXPECT_EQ(reception.statusText(), kReceiveCompleteMessage);
    EXPECT_EQ(reception.progressPosition(), reception.progressMaximum());
    EXPECT_EQ(folderEntries(),
              (Texts{"LASTRUN.tvd", "LINE_V2.tvd", "LINE_V3.tvd", "MODEM_V4.tvd", "PLC_V4.tvd"}));
    expectHolds(folder / "LINE_V2.tvd", stored(1), 0);
    EXPECT_EQ(store.header().formatVersion, 2);
    EXPECT_EQ(store.header().speed, 19'200U);
    expectHolds(folder / "LINE_V3.tvd", stored(2), 1);
    EXPECT_EQ(store.header().formatVersion, 3);
    expectHolds(folder / "PLC_V4.tvd", stored(3), 0);
    expectHolds(folder / "MODEM_V4.tvd", stored(4), 1);
    EXPECT_EQ(store.header().formatVersion, 4);
    expectHolds(folder / "LASTRUN.tvd", stored(9999), 1);
    // In list order: 9999 first.
    const Texts sent = requests();
    EXPECT_EQ(sent.front(), "FR9999");
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(),
                            [](const std::string& text) { return text.starts_with("FR"); }),
              5);

    // The next "受信" starts with an empty bar, shown before it asks about an existing file.
    int32_t shownPosition = -1;
    reception.setOnChange([&] { shownPosition = reception.progressPosition(); });
    question.whenAsked = [&] { EXPECT_EQ(shownPosition, 0); };
    question.answers = {SaveChoice::Skip};
    receive({"0001"});
    EXPECT_EQ(question.asked.size(), 1U);
    EXPECT_EQ(reception.progressPosition(), 0);
}

TEST_F(SavedFileReceptionTest, AFileOfAnotherVersionIsRefusedAndTheLoopStops) {
    keep({sim::MakeStoredFile({1, "NEWFMT", "2612010800", 110, 0, 500, 9'600, 1}),
          sim::MakeStoredFile({2, "AFTER", "2612010800", 4, 0, 500, 9'600, 2})});
    listFiles();
    receive({"0001", "0002"});
    EXPECT_EQ(reception.lastResult(), Result::VersionRefused);
    EXPECT_EQ(owner.texts(), Texts{std::string(kFileVersionMessage)});
    EXPECT_EQ(reception.statusText(), kCancelledMessage);
    EXPECT_TRUE(folderEntries().empty());
    const Texts sent = requests();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "FR0002"), 0);
    EXPECT_EQ(sent.back(), "ACK"); // the end was acknowledged, nothing else asked
}

TEST_F(SavedFileReceptionTest, AWrongCheckByteIsAskedAgainWithoutCountingAsAnAttempt) {
    keep({sim::MakeStoredFile({3, "PLC_V4", "2411180905", 4, 0, 5'000, 9'600, 13})});
    listFiles();
    // Five garbled blocks in a row: more than the three failed attempts a download allows.
    plan(Fault::CorruptChecksum, 1);
    plan(Fault::None, 1);
    plan(Fault::CorruptChecksum, 5);
    receive({"0003"});
    EXPECT_EQ(reception.lastResult(), Result::Complete);
    Texts expected{"FR0003", "NAK", "ACK", "NAK", "NAK", "NAK", "NAK", "NAK", "ACK"};
    const Texts sent = requests();
    ASSERT_GE(sent.size(), expected.size());
    EXPECT_EQ(Texts(sent.begin(), sent.begin() + static_cast<ptrdiff_t>(expected.size())),
              expected);
    expectHolds(folder / "PLC_V4.tvd", stored(3), 0);
}

TEST_F(SavedFileReceptionTest, AListThatNeverComesEndsWithTheTimeoutMessage) {
    plan(Fault::Lost, 10);
    reception.RequestList();
    run();
    EXPECT_EQ(requests(), (Texts{"DR", "DR", "DR", "DR", "ESC"}));
    EXPECT_EQ(owner.texts(), Texts{std::string(kTimeoutMessage)});
    EXPECT_EQ(reception.statusText(), kCancelledMessage);
    EXPECT_TRUE(reception.rows().empty());
}

TEST_F(SavedFileReceptionTest, AnAnalyzerThatIsMeasuringRefusesTheListAtOnce) {
    firmware(
        [](sim::AnalyzerFirmware& state) { state.measurement->Start(CSaParameter{}, state.now); });
    reception.RequestList();
    run();
    EXPECT_EQ(requests(), (Texts{"DR", "ESC"}));
    EXPECT_EQ(owner.texts(), Texts{std::string(kTimeoutMessage)});
}

TEST_F(SavedFileReceptionTest, ADownloadThatFallsSilentOrIsUnpluggedEndsWithTheTimeout) {
    for (const bool unplug : {false, true}) {
        SCOPED_TRACE(unplug ? "unplugged" : "silent");
        if (unplug) {
            analyzer.PlugIn();
            ASSERT_TRUE(link.SetRemote(&owner, 1));
        }
        listFiles();
        owner.entries.clear();
        plan(Fault::None, 2); // "FR", the first "ACK"
        plan(unplug ? sim::FaultSet(Fault::Unplug) : sim::FaultSet(Fault::Lost), 10);
        receive({"0003", "0004"});
        EXPECT_EQ(reception.lastResult(), Result::TimedOut);
        EXPECT_EQ(owner.texts(), Texts{std::string(kTimeoutMessage)});
        EXPECT_EQ(reception.statusText(), kCancelledMessage);
        EXPECT_TRUE(folderEntries().empty());
        const Texts sent = requests();
        EXPECT_EQ(std::count(sent.begin(), sent.end(), "FR0004"), 0);
        if (!unplug) {
            EXPECT_EQ(Texts(sent.end() - 5, sent.end()),
                      (Texts{"NAK", "NAK", "NAK", "NAK", "ESC"}));
        }
        analyzer.WithFaults([](sim::FaultPlan& faults) { faults.Clear(); });
    }
}

TEST_F(SavedFileReceptionTest, CancelStopsTheListAndTheDownloadAndKeepsNothing) {
    reception.RequestList();
    ASSERT_TRUE(reception.Poll());
    EXPECT_FALSE(reception.Cancel());
    run();
    EXPECT_EQ(requests().back(), "ESC");
    EXPECT_EQ(owner.texts(), Texts{std::string(kCancelledMessage)});
    EXPECT_EQ(reception.statusText(), kCancelledMessage);

    listFiles();
    owner.entries.clear();
    writeExisting("PLC_V4.tvd", "kept");
    question.answers = {SaveChoice::Overwrite};
    reception.Receive(folder.path(), {3, 4});
    for (int polls = 0; polls < 20; ++polls) {
        reception.Poll();
        time.pump();
    }
    ASSERT_TRUE(reception.running());
    EXPECT_GT(reception.progressPosition(), 0);
    EXPECT_FALSE(reception.Cancel());
    run();
    EXPECT_EQ(reception.lastResult(), Result::Cancelled);
    EXPECT_EQ(owner.texts(), Texts{std::string(kCancelledMessage)});
    EXPECT_EQ(requests().back(), "ESC");
    EXPECT_EQ(folderEntries(), Texts{"PLC_V4.tvd"});
    EXPECT_EQ(contentsOf("PLC_V4.tvd"), "kept");
    EXPECT_TRUE(reception.Cancel()); // nothing runs: the dialog closes
}

TEST_F(SavedFileReceptionTest, TheOverwriteQuestionAndTheRememberedChoice) {
    listFiles();
    for (const char* name : {"LASTRUN.tvd", "LINE_V2.tvd", "LINE_V3.tvd", "PLC_V4.tvd"}) {
        writeExisting(name, "old");
    }
    // 9999: cancel skips only that file; 0001: overwrite; 0002: skip all later existing
    // ones, so 0003 is neither asked about nor fetched; 0004 does not exist yet.
    question.answers = {SaveChoice::Cancel, SaveChoice::Overwrite, SaveChoice::SkipAll};
    receive({"9999", "0001", "0002", "0003", "0004"});
    EXPECT_EQ(question.asked,
              (Texts{"ファイル名：LASTRUN", "ファイル名：LINE_V2", "ファイル名：LINE_V3"}));
    EXPECT_EQ(contentsOf("LASTRUN.tvd"), "old");
    expectHolds(folder / "LINE_V2.tvd", stored(1), 0);
    EXPECT_EQ(contentsOf("LINE_V3.tvd"), "old");
    EXPECT_EQ(contentsOf("PLC_V4.tvd"), "old");
    expectHolds(folder / "MODEM_V4.tvd", stored(4), 1);
    EXPECT_EQ(owner.texts(), Texts{std::string(kReceiveCompleteMessage)});

    // The remembered choice lives for one click: overwrite all from the first question on.
    question.asked.clear();
    question.answers = {SaveChoice::OverwriteAll};
    receive({"0002", "0003"});
    EXPECT_EQ(question.asked, Texts{"ファイル名：LINE_V3"});
    expectHolds(folder / "LINE_V3.tvd", stored(2), 1);
    expectHolds(folder / "PLC_V4.tvd", stored(3), 0);
}

TEST_F(SavedFileReceptionTest, HostileNamesLandInTheChosenFolder) {
    keep({sim::MakeStoredFile({1, "../evil", "2401010000", 4, 0, 300, 9'600, 1}),
          sim::MakeStoredFile({2, "        ", "2401010000", 4, 0, 300, 9'600, 2}),
          sim::MakeStoredFile({3, "NUL", "2401010000", 4, 0, 300, 9'600, 3})});
    listFiles();
    receive({"0001", "0002", "0003"});
    EXPECT_EQ(folderEntries(), (Texts{"0002.tvd", "_NUL.tvd", "___evil.tvd"}));
    EXPECT_FALSE(std::filesystem::exists(folder.path().parent_path() / "evil.tvd"));
    expectHolds(folder / "___evil.tvd", stored(1), 0);
}

TEST_F(SavedFileReceptionTest, AFileLargerThanTheBufferIsRefusedAndNothingIsWritten) {
    StoredFile large = sim::MakeStoredFile({1, "HUGE", "2401010000", 4, 1, 500'000, 9'600, 1});
    ASSERT_GT(large.words.size(), SavedFileReception::kBufferWords);
    keep({std::move(large), sim::MakeStoredFile({2, "AFTER", "2401010000", 4, 0, 300, 9'600, 2})});
    firmware([](sim::AnalyzerFirmware& state) { state.storedFiles->blockWords = 30'000; });
    listFiles();
    receive({"0001", "0002"});
    EXPECT_EQ(reception.lastResult(), Result::TooLarge);
    EXPECT_EQ(owner.texts(), Texts{std::string(kFileTooLargeMessage)});
    EXPECT_EQ(reception.statusText(), kFileTooLargeMessage); // nobody cancelled
    EXPECT_TRUE(folderEntries().empty());
    const Texts sent = requests();
    EXPECT_EQ(sent.back(), "ESC");
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "FR0002"), 0);
}

TEST_F(SavedFileReceptionTest, AFailedWriteKeepsWhatWasThereAndGoesOn) {
    keep({sim::MakeStoredFile({1, "BLOCKED", "2401010000", 4, 0, 300, 9'600, 1}),
          sim::MakeStoredFile({2, "NEXT", "2401010000", 4, 0, 300, 9'600, 2})});
    listFiles();
    // A folder stands where the file would go: the rename fails, the folder stays untouched.
    std::filesystem::create_directory(folder / "BLOCKED.tvd");
    writeExisting("BLOCKED.tvd/inside", "kept");
    question.answers = {SaveChoice::Overwrite};
    receive({"0001", "0002"});
    ASSERT_EQ(owner.entries.size(), 2U);
    EXPECT_NE(owner.entries[0].text.find("BLOCKED.tvd"), std::string::npos);
    EXPECT_EQ(owner.entries[1].text, kReceiveCompleteMessage);
    EXPECT_EQ(contentsOf("BLOCKED.tvd/inside"), "kept");
    EXPECT_EQ(folderEntries(), (Texts{"BLOCKED.tvd", "NEXT.tvd"}));

    // The failed write last: the status says so rather than "受信中".
    question.answers = {SaveChoice::Overwrite};
    receive({"0001"});
    ASSERT_EQ(owner.entries.size(), 3U);
    EXPECT_EQ(reception.statusText(), owner.entries[2].text);
    EXPECT_FALSE(reception.running());
}

TEST_F(SavedFileReceptionTest, OpeningReachesAnAnalyzerThatIsNotInRemoteMode) {
    ASSERT_TRUE(link.SetRemote(&owner, 0));
    EXPECT_TRUE(reception.Open());
    EXPECT_EQ(link.remoteMode(), 1);
    ASSERT_TRUE(link.SetRemote(&owner, 0));
    analyzer.Unplug();
    EXPECT_FALSE(reception.Open());
    EXPECT_EQ(owner.texts(), Texts{std::string(kAnalyzerAbsentMessage)});
}

} // namespace
} // namespace varnolt
