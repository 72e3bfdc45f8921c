#include "core/link/firmware/FirmwareUpdate.h"

#include "core/link/firmware/FirmwareTexts.h"
#include "core/link/protocol/LinkMessages.h"
#include "sim/FirmwareImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "SimulatedLink.h"
#include "UserAtTheAnalyzer.h"

namespace varnolt {
namespace {

constexpr char kVerticalTab = '\x0B';

struct RecordingView final : FirmwareUpdateView {
    void showControls(const FirmwareControls& controls) override { shown.push_back(controls); }
    std::vector<FirmwareControls> shown;
};

struct ScriptedPump final : Pump {
    explicit ScriptedPump(sim::SimulatedLinkTime& time) : time(time) {}
    void pump() override {
        if (action) {
            action();
        }
        time.pump();
    }
    sim::SimulatedLinkTime& time;
    std::function<void()> action;
};

class FirmwareUpdateTest : public ::testing::Test, public testing::SimulatedLink {
protected:
    // The file of these tests: three records one by one ("VER", two "HDR"), the "MK" record,
    // 25 records in three batches. Requests of an update: VER, WSTOP, XWPD, three records,
    // three batches, XEND, ACK, INI.
    static constexpr int kXwpd = 2;
    static constexpr int kFirstRecord = 3;
    static constexpr int kFirstBatch = 6;
    static constexpr int kXend = 9;
    static constexpr int kIni = 11;

    FirmwareUpdateTest() {
        choose(sim::BuildFirmwareImage({.headerRecords = 3, .dataRecords = 25}));
    }

    void choose(const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        const std::u8string name = path.u8string();
        update.FileChosen(std::string(name.begin(), name.end()));
    }

    // The next COUNT requests after the first SKIPPED get FAULT.
    void faultAt(int skipped, sim::FaultSet fault, int count) {
        analyzer.WithFaults([&](sim::FaultPlan& faults) {
            faults.Pass(skipped);
            faults.Add(fault, count);
        });
    }

    [[nodiscard]] std::string version() {
        std::string text;
        firmware([&](sim::AnalyzerFirmware& state) { text = state.programVersion; });
        return text;
    }

    [[nodiscard]] std::vector<std::string> sent() const { return requests(); }

    testing::TempDir folder;
    std::filesystem::path path = folder / "update.tvy";
    testing::UserAtTheAnalyzer user{owner, analyzer};
    ScriptedPump pump{time};
    RecordingView view;
    FirmwareUpdate update{LinkServices{bridge, portPrompt, clock, time, cursor, &ring}, user, pump,
                          view};
};

TEST_F(FirmwareUpdateTest, TheNormalPathStopsTheProgramTransfersAndReinitialises) {
    ASSERT_TRUE(update.Start());
    EXPECT_EQ(update.controls().status, kReadyToUpdateText);
    EXPECT_TRUE(update.controls().updateEnabled);
    EXPECT_EQ(update.Update(), UpdateOutcome::Done);

    const std::vector<std::string> requests = sent();
    ASSERT_EQ(requests.size(), 12U);
    EXPECT_EQ(requests[0], "VER");
    EXPECT_EQ(requests[1], "WSTOP");
    EXPECT_EQ(requests[kXwpd], "XWPD");
    EXPECT_EQ(requests[kFirstRecord].substr(0, 9), "VER100300");
    EXPECT_EQ(requests[kFirstRecord + 1].substr(0, 3), "HDR");
    // Batches of ten records, each ended by a vertical tab; the last batch holds five.
    for (int batch = 0; batch < 3; ++batch) {
        const std::string& line = requests[static_cast<size_t>(kFirstBatch + batch)];
        EXPECT_EQ(std::count(line.begin(), line.end(), kVerticalTab), batch < 2 ? 10 : 5);
        EXPECT_EQ(line.substr(0, 3), "DAT");
        EXPECT_EQ(line.back(), kVerticalTab);
    }
    EXPECT_EQ(requests[kXend], "XEND");
    EXPECT_EQ(requests[10], "ACK");
    EXPECT_EQ(requests[kIni], "INI");
    EXPECT_EQ(version(), "100300");

    EXPECT_EQ(owner.texts(), (std::vector<std::string>{std::string(kUpdateQuestion),
                                                       std::string(kUpdateDoneMessage)}));
    EXPECT_EQ(owner.entries[1].icon, PromptIcon::Information);
    const FirmwareControls& end = update.controls();
    EXPECT_EQ(end.status, kUpdateFinishedText);
    EXPECT_EQ(end.cancelCaption, kFinishCaption);
    EXPECT_TRUE(end.cancelEnabled);
    EXPECT_FALSE(end.updateEnabled);
    EXPECT_FALSE(end.fileChoiceEnabled);
    EXPECT_EQ(end.progress, 3);
    EXPECT_EQ(end.progressMax, static_cast<int32_t>(std::filesystem::file_size(path) / 250));
    EXPECT_FALSE(update.busy());
    EXPECT_FALSE(update.link().port().isOpen());

    // The statuses in order, and Cancel was disabled for the version query and the write.
    std::vector<std::string> statuses;
    bool cancelDisabledWhileWriting = false;
    for (const FirmwareControls& shown : view.shown) {
        if (statuses.empty() || statuses.back() != shown.status) {
            statuses.push_back(shown.status);
        }
        cancelDisabledWhileWriting |= shown.status == kWritingText && !shown.cancelEnabled;
    }
    EXPECT_EQ(statuses, (std::vector<std::string>{
                            std::string(kReadyToUpdateText), std::string(kPreparingText),
                            std::string(kRestartingText), std::string(kTransferringText),
                            std::string(kWritingText), std::string(kUpdateFinishedText)}));
    EXPECT_TRUE(cancelDisabledWhileWriting);
}

TEST_F(FirmwareUpdateTest, AFileEndingAfterAFullBatchSendsNoEmptyBatch) {
    choose(sim::BuildFirmwareImage({.headerRecords = 1, .dataRecords = 20}));
    ASSERT_TRUE(update.Start());
    EXPECT_EQ(update.Update(), UpdateOutcome::Done);
    const std::vector<std::string> requests = sent();
    ASSERT_EQ(requests.size(), 9U); // VER, WSTOP, XWPD, one record, two batches, XEND, ACK, INI
    EXPECT_EQ(requests[4].substr(0, 3), "DAT");
    EXPECT_EQ(requests[5].substr(0, 3), "DAT");
    EXPECT_EQ(requests[6], "XEND");
}

TEST_F(FirmwareUpdateTest, TheRecoveryPathWaitsForAPowerCycle) {
    // An update that the cable ended half way leaves an analyzer that no longer starts.
    ASSERT_TRUE(update.Start());
    faultAt(kFirstBatch + 1, sim::Fault::Unplug, 1);
    EXPECT_EQ(update.Update(), UpdateOutcome::Failed);
    EXPECT_EQ(update.errorCode(), "106");
    analyzer.PlugIn();
    analyzer.ClearRequests();
    firmware([](sim::AnalyzerFirmware& state) { EXPECT_FALSE(state.loader.programValid); });

    FirmwareUpdate again{LinkServices{bridge, portPrompt, clock, time, cursor, &ring}, user, pump,
                         view};
    ASSERT_TRUE(again.Start());
    const std::u8string name = path.u8string();
    again.FileChosen(std::string(name.begin(), name.end()));
    again.SetRecovery(true);
    owner.entries.clear();
    EXPECT_EQ(again.Update(), UpdateOutcome::Done);
    const std::vector<std::string> requests = sent();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0], "XWPD"); // no version query, no "WSTOP"
    EXPECT_EQ(requests.back(), "INI");
    EXPECT_EQ(owner.texts(), (std::vector<std::string>{std::string(kUpdateQuestion),
                                                       std::string(kPowerCycleMessage),
                                                       std::string(kUpdateDoneMessage)}));
    EXPECT_EQ(version(), "100300");
    firmware([](sim::AnalyzerFirmware& state) { EXPECT_FALSE(state.loader.active); });
}

TEST_F(FirmwareUpdateTest, EachFaultOfTheAnalyzerEndsWithItsCode) {
    struct Case {
        const char* code;
        std::function<void()> arrange;
        std::string_view message;
        std::string_view status;
    };
    const Case cases[] = {
        {"100", [&] { faultAt(kXwpd, sim::Fault::Nak, 4); }, kBadFileMessage, kUpdateCancelledText},
        {"101", [&] { faultAt(kXwpd, sim::Fault::Lost, 1); }, kUpdateTimeoutMessage,
         kUpdateCancelledText},
        {"103", [&] { faultAt(kFirstRecord, sim::Fault::Nak, 4); }, kBadFileMessage,
         kUpdateCancelledText},
        {"104", [&] { faultAt(kFirstRecord + 1, sim::Fault::Lost, 4); }, kUpdateTimeoutMessage,
         kUpdateCancelledText},
        {"105", [&] { faultAt(kFirstBatch, sim::Fault::Nak, 4); }, kBadFileMessage,
         kUpdateCancelledText},
        {"106", [&] { faultAt(kFirstBatch + 2, sim::Fault::Lost, 4); }, kUpdateTimeoutMessage,
         kUpdateCancelledText},
        {"107", [&] { faultAt(kXend, sim::Fault::Nak, 4); }, kUpdateTimeoutMessage,
         kUpdateCancelledText},
        {"108", [&] { faultAt(kXend, sim::Fault::Lost, 4); }, kUpdateTimeoutMessage,
         kUpdateCancelledText},
        {"109",
         [&] { firmware([](sim::AnalyzerFirmware& s) { s.loader.options.failWrite = true; }); },
         kWriteFailedMessage, kWriteFailedText},
        {"10A",
         [&] {
             firmware([](sim::AnalyzerFirmware& s) { s.loader.options.garbleWriteReport = true; });
         },
         kUpdateTimeoutMessage, kUpdateCancelledText},
        {"10C", [&] { faultAt(kIni, sim::Fault::Nak, 11); }, kUpdateTimeoutMessage,
         kUpdateCancelledText},
        {"10D", [&] { faultAt(kIni, sim::Fault::Lost, 4); }, kUpdateTimeoutMessage,
         kUpdateCancelledText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        // A fresh analyzer with a good program, a fresh dialog.
        firmware([](sim::AnalyzerFirmware& state) {
            state.loader = sim::LoaderState{};
            state.programVersion = "1.02  ";
        });
        analyzer.WithFaults([](sim::FaultPlan& faults) { faults.Clear(); });
        analyzer.ClearRequests();
        owner.entries.clear();
        RecordingView shown;
        FirmwareUpdate dialog{LinkServices{bridge, portPrompt, clock, time, cursor, &ring}, user,
                              pump, shown};
        ASSERT_TRUE(dialog.Start());
        const std::u8string name = path.u8string();
        dialog.FileChosen(std::string(name.begin(), name.end()));
        c.arrange();

        EXPECT_EQ(dialog.Update(), UpdateOutcome::Failed);
        EXPECT_EQ(dialog.errorCode(), c.code);
        ASSERT_EQ(owner.entries.size(), 2U);
        EXPECT_EQ(owner.entries[1].text, std::string(c.message) + " " + c.code);
        EXPECT_EQ(owner.entries[1].caption, "確認");
        EXPECT_EQ(owner.entries[1].icon, PromptIcon::Warning);
        EXPECT_EQ(dialog.controls().status, c.status);
        EXPECT_FALSE(dialog.controls().updateEnabled);
        EXPECT_FALSE(dialog.controls().fileChoiceEnabled);
        EXPECT_TRUE(dialog.controls().cancelEnabled);
        EXPECT_FALSE(dialog.link().port().isOpen());
        const std::vector<std::string> requests = sent();
        if (std::string_view(c.code) == "109") {
            EXPECT_EQ(requests.back(), "ACK"); // the write error is acknowledged first
        }
        if (std::string_view(c.code) == "10A") {
            EXPECT_EQ(std::count(requests.begin(), requests.end(), "NAK"), 4);
        }
        if (std::string_view(c.code) != "10D") { // there INI arrived; only its answers did not
            EXPECT_EQ(version(), "1.02  ");
        }
    }
}

TEST_F(FirmwareUpdateTest, NothingReachesTheAnalyzerForADamagedFileOrADeclinedUpdate) {
    ASSERT_TRUE(update.Start());
    std::vector<uint8_t> damaged = sim::BuildFirmwareImage({.dataRecords = 4});
    damaged.pop_back();
    choose(damaged);
    EXPECT_EQ(update.Update(), UpdateOutcome::NotStarted);
    ASSERT_EQ(owner.entries.size(), 1U);
    EXPECT_EQ(owner.entries[0].text.rfind(std::string(kBadFileMessage) + "\nレコード ", 0), 0U)
        << owner.entries[0].text;
    EXPECT_EQ(update.controls().status, kBadFileMessage); // refused, not cancelled

    choose(sim::BuildFirmwareImage({.dataRecords = 4, .withMark = false}));
    EXPECT_EQ(update.Update(), UpdateOutcome::NotStarted);
    EXPECT_EQ(owner.entries.back().text,
              std::string(kBadFileMessage) + "\nMK レコードがありません");

    // The same version as the analyzer's: asked, declined.
    firmware([](sim::AnalyzerFirmware& state) { state.programVersion = "100300"; });
    choose(sim::BuildFirmwareImage());
    owner.answers = {PromptAnswer::Ok, PromptAnswer::Cancel};
    EXPECT_EQ(update.Update(), UpdateOutcome::NotStarted);
    EXPECT_EQ(owner.entries.back().text, kSameVersionQuestion);
    EXPECT_EQ(sent(), std::vector<std::string>{"VER"});

    // Declined at the first question: nothing at all.
    analyzer.ClearRequests();
    owner.answers = {PromptAnswer::Cancel};
    EXPECT_EQ(update.Update(), UpdateOutcome::NotStarted);
    EXPECT_TRUE(sent().empty());
    // Another file or another try stays possible.
    EXPECT_TRUE(update.controls().updateEnabled);
    EXPECT_TRUE(update.controls().fileChoiceEnabled);
    firmware([](sim::AnalyzerFirmware& state) { EXPECT_FALSE(state.loader.active); });

    update.FileChosen(kNoFileText);
    owner.entries.clear();
    EXPECT_EQ(update.Update(), UpdateOutcome::NotStarted);
    EXPECT_EQ(owner.texts(), std::vector<std::string>{std::string(kNoFileChosenMessage)});
}

TEST_F(FirmwareUpdateTest, CancelStopsTheTransferButNotTheWrite) {
    ASSERT_TRUE(update.Start());
    // During the transfer: the cancel state ends it.
    pump.action = [&] {
        if (update.controls().status == kTransferringText && sent().size() > 4) {
            EXPECT_FALSE(update.Cancel());
        }
    };
    EXPECT_EQ(update.Update(), UpdateOutcome::Cancelled);
    EXPECT_EQ(owner.entries.back().text, kUpdateCancelledMessage);
    EXPECT_EQ(update.controls().status, kUpdateCancelledText);
    const std::vector<std::string> cancelled = sent();
    EXPECT_EQ(std::count(cancelled.begin(), cancelled.end(), "XEND"), 0);

    // During the write Cancel is disabled: the update goes on to its end.
    firmware([](sim::AnalyzerFirmware& state) { state.loader = sim::LoaderState{}; });
    analyzer.ClearRequests();
    FirmwareUpdate again{LinkServices{bridge, portPrompt, clock, time, cursor, &ring}, user, pump,
                         view};
    ASSERT_TRUE(again.Start());
    const std::u8string name = path.u8string();
    again.FileChosen(std::string(name.begin(), name.end()));
    pump.action = [&] {
        if (again.controls().status == kWritingText) {
            EXPECT_FALSE(again.Cancel());
        }
    };
    EXPECT_EQ(again.Update(), UpdateOutcome::Done);
    pump.action = nullptr;
    EXPECT_TRUE(again.Cancel()); // not busy: the dialog closes
}

TEST_F(FirmwareUpdateTest, AnAbsentAnalyzerClosesTheDialogAtOnce) {
    analyzer.Unplug();
    EXPECT_FALSE(update.Start());
    EXPECT_EQ(owner.texts(), std::vector<std::string>{std::string(kAnalyzerAbsentMessage)});
}

} // namespace
} // namespace varnolt
