// The analyzer's operations through the libftdi1 backend and an emulated FT232H, in real time:
// what the program stores must be exactly what the virtual analyzer recorded, and the bridge
// must be configured once per connection (a reopened port would mean a transfer was taken for
// a lost bridge).
#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileReader.h"
#include "core/link/firmware/FirmwareTexts.h"
#include "core/link/firmware/FirmwareUpdate.h"
#include "core/link/protocol/AnalyzerConnection.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/link/reception/OnlineDownload.h"
#include "core/link/reception/OnlineReception.h"
#include "core/link/savedfile/SavedFileMessages.h"
#include "core/link/savedfile/SavedFileReception.h"
#include "core/link/screencapture/ScreenCapture.h"
#include "core/settings/SettingsCapture.h"
#include "sim/FirmwareImage.h"
#include "sim/MeasurementEngine.h"
#include "sim/StoredFileMemory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "EmulatedBridgeFixture.h"
#include "ReceptionFixture.h"
#include "ScreenPixels.h"

namespace varnolt {
namespace {

using namespace std::chrono_literals;
using Words = std::vector<RecordWord>;

// Lets real time pass between the steps of a long transfer; ACTION, when set, runs first.
struct RestingPump final : Pump {
    void pump() override {
        ++passes;
        if (action) {
            action(passes);
        }
        std::this_thread::sleep_for(1ms);
    }
    int passes = 0;
    std::function<void(int)> action;
};

struct RecordingProgress final : DownloadProgress {
    void ShowProgress(int32_t percent) override { shown.push_back(percent); }
    std::vector<int32_t> shown;
};

class AnalyzerOverUsbTest : public testing::EmulatedBridgeFixture {
protected:
    void SetUp() override {
        EmulatedBridgeFixture::SetUp();
        // The analyzer's fastest traffic: both lines at 460,800 bit/s with the control lines.
        settings.speed = 460'800;
        settings.controlLineCapture = 1;
        settings.timeDisplay = 4;
        analyzer.WithFirmware([](sim::AnalyzerFirmware& state) {
            state.measurement->options().keepLog = true;
            state.measurement->options().traffic = sim::TrafficKind::Saturated;
        });
    }

    // Connects and gives the analyzer the settings of its fastest traffic.
    void connectForFastTraffic() {
        ASSERT_EQ(ConnectAnalyzer(link, owner), ConnectResult::Connected);
        ASSERT_TRUE(link.WriteExtSettings(&owner, settings, nullptr));
    }

    // Runs the 10 ms timer passes for DURATION, or until a pass fails.
    PollResult measureFor(std::chrono::milliseconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        PollResult result = PollResult::Idle;
        while (std::chrono::steady_clock::now() < end) {
            result = reception.Tick();
            if (result == PollResult::CommunicationFailed) {
                break;
            }
            std::this_thread::sleep_for(10ms);
        }
        return result;
    }

    [[nodiscard]] Words produced() {
        Words words;
        analyzer.WithFirmware(
            [&](sim::AnalyzerFirmware& state) { words = state.measurement->produced(); });
        return words;
    }
    [[nodiscard]] Words stored() const {
        Words words;
        for (RecordCount k = 0; k < store.Count(); ++k) {
            words.push_back(store.word(k));
        }
        return words;
    }
    // Whether the store holds the beginning of what the analyzer recorded, nothing else.
    [[nodiscard]] ::testing::AssertionResult storeIsAPrefixOfProduced() {
        const Words all = produced();
        const Words held = stored();
        if (held.size() > all.size()) {
            return ::testing::AssertionFailure()
                   << held.size() << " records stored, " << all.size() << " recorded";
        }
        const auto differs = std::mismatch(held.begin(), held.end(), all.begin());
        if (differs.first != held.end()) {
            return ::testing::AssertionFailure()
                   << "record " << differs.first - held.begin() << " of " << held.size()
                   << " stored differs from the one recorded (" << all.size() << " recorded)";
        }
        return ::testing::AssertionSuccess() << held.size() << " of " << all.size();
    }
    // How often the port opened the bridge (libftdi1 sets the baud rate only then).
    [[nodiscard]] size_t openings() const {
        const std::vector<testing::SetupPacket> requests = bridge->chip().vendorRequests();
        return static_cast<size_t>(
            std::count_if(requests.begin(), requests.end(), [](const testing::SetupPacket& setup) {
                return setup.request == testing::ftdi_request::kBaudRate;
            }));
    }
    // Once the bridge is back, the link opens the port afresh: the analyzer can be left and
    // connected again.
    void expectTheLinkRecovers() {
        EXPECT_EQ(DisconnectAnalyzer(link, owner), DisconnectResult::Disconnected);
        EXPECT_EQ(ConnectAnalyzer(link, owner), ConnectResult::Connected);
        EXPECT_TRUE(owner.entries.empty()) << ::testing::PrintToString(owner.texts());
    }

    // A firmware file of 400 records, written once per test.
    [[nodiscard]] std::string firmwareFile() {
        const std::filesystem::path file = firmwareFolder / "update.tvy";
        const std::vector<uint8_t> image =
            sim::BuildFirmwareImage({.headerRecords = 3, .dataRecords = 400});
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()),
                   static_cast<std::streamsize>(image.size()));
        const std::u8string name = file.u8string();
        return {name.begin(), name.end()};
    }
    [[nodiscard]] std::string programVersion() {
        std::string version;
        analyzer.WithFirmware(
            [&](sim::AnalyzerFirmware& state) { version = state.programVersion; });
        return version;
    }

    // A firmware update from start to end, which must leave the analyzer on the file's version.
    void updateFirmware() {
        FirmwareUpdate update{LinkServices{api, portPrompt, clock, answerWait, cursor, &ring},
                              owner, pump, updateView};
        update.FileChosen(firmwareFile());
        ASSERT_TRUE(update.Start());
        EXPECT_EQ(update.Update(), UpdateOutcome::Done);
        EXPECT_EQ(programVersion(), "100300");
        EXPECT_EQ(owner.texts(), (std::vector<std::string>{std::string(kUpdateQuestion),
                                                           std::string(kUpdateDoneMessage)}));
    }

    struct NoView final : FirmwareUpdateView {
        void showControls(const FirmwareControls&) override {}
    } updateView;
    testing::TempDir firmwareFolder;

    CCaptureData store{200'000};
    CSaParameter settings;
    LineStates lines{};
    CTrigger trigger;
    CDeviceEtc device;
    testing::RecordingReceptionView view{store};
    OnlineReception reception{ReceptionContext{link, store, settings, lines, trigger, device,
                                               [] { return AutoSaveOptions{}; }, owner, view,
                                               [this] {
                                                   store.Reset(CaptureConditionsOf(settings));
                                                   lines.fill(0);
                                                   device.Clear();
                                               }}};
    RestingPump pump;
};

TEST_F(AnalyzerOverUsbTest, SettingsMeasurementDownloadAndDisconnectLoseNothing) {
    connectForFastTraffic();
    CSaParameter readBack;
    ASSERT_TRUE(link.ReadExtSettings(&owner, readBack, nullptr));
    EXPECT_EQ(readBack, settings);

    ASSERT_TRUE(reception.Start());
    EXPECT_NE(measureFor(1500ms), PollResult::CommunicationFailed);
    EXPECT_GT(store.Count(), 10'000);
    EXPECT_TRUE(storeIsAPrefixOfProduced());
    ASSERT_TRUE(reception.Stop());

    // The analyzer's whole memory, fetched afterwards, is exactly what it recorded.
    RecordingProgress progress;
    link.setBusy(true);
    EXPECT_TRUE(reception.Download(progress, pump));
    link.setBusy(false);
    EXPECT_EQ(stored(), produced());

    EXPECT_EQ(DisconnectAnalyzer(link, owner), DisconnectResult::Disconnected);
    EXPECT_TRUE(owner.entries.empty()) << ::testing::PrintToString(owner.texts());
    EXPECT_EQ(openings(), 1U);
}

TEST_F(AnalyzerOverUsbTest, ABridgePulledDuringAMeasurementKeepsWhatArrived) {
    connectForFastTraffic();
    ASSERT_TRUE(reception.Start());
    measureFor(300ms);
    const RecordCount before = store.Count();
    ASSERT_GT(before, 0);

    bus->Unplug(*bridge);
    EXPECT_EQ(measureFor(10s), PollResult::CommunicationFailed);
    EXPECT_TRUE(link.port().deviceLost() || !link.port().isOpen());
    EXPECT_GE(store.Count(), before);
    EXPECT_TRUE(storeIsAPrefixOfProduced());
    ASSERT_FALSE(owner.entries.empty());
    EXPECT_EQ(owner.entries.back().text, kCommunicationFailedMessage);

    bus->Replug(*bridge);
    owner.entries.clear();
    EXPECT_TRUE(reception.Stop()); // the measurement still runs in the analyzer
    expectTheLinkRecovers();
}

TEST_F(AnalyzerOverUsbTest, ABridgePulledDuringADownloadKeepsWhatArrived) {
    connectForFastTraffic();
    ASSERT_TRUE(reception.Start());
    measureFor(1000ms);
    ASSERT_TRUE(reception.Stop());

    pump.action = [this](int) {
        if (store.Count() > 0) {
            bus->Unplug(*bridge);
        }
    };
    RecordingProgress progress;
    link.setBusy(true);
    EXPECT_FALSE(reception.Download(progress, pump));
    link.setBusy(false);
    EXPECT_GT(store.Count(), 0);
    EXPECT_TRUE(storeIsAPrefixOfProduced());
    ASSERT_FALSE(owner.entries.empty());
    EXPECT_EQ(owner.entries.back().text, kCommunicationFailedMessage);

    pump.action = nullptr;
    bus->Replug(*bridge);
    owner.entries.clear();
    expectTheLinkRecovers();
}

// A bridge that keeps pausing both ways: in-transfers end by their time-out half-way, writes
// are taken in part. Settings and a firmware update still arrive whole and once.
TEST_F(AnalyzerOverUsbTest, SettingsAndFirmwareCrossABridgeThatKeepsPausing) {
    testing::Ft232hBehaviour pausing;
    pausing.inBytesBeforePause = 1020;
    pausing.inPause = 8ms; // longer than the 5 ms read time-out
    pausing.outBytesBeforePause = 1024;
    pausing.outPause = 8ms; // longer than the 5 ms write time-out
    pausing.pausesRepeat = true;
    bridge->chip().setBehaviour(pausing);

    connectForFastTraffic();
    CSaParameter readBack;
    ASSERT_TRUE(link.ReadExtSettings(&owner, readBack, nullptr));
    EXPECT_EQ(readBack, settings);
    EXPECT_TRUE(owner.entries.empty()) << ::testing::PrintToString(owner.texts());
    EXPECT_EQ(openings(), 1U);
    link.port().Close();

    updateFirmware();
}

TEST_F(AnalyzerOverUsbTest, AFirmwareUpdateWritesEveryRecordOnce) {
    updateFirmware();
}

// The cable pulled while the loader writes: the update fails; with the bridge back, the
// recovery path asks for a power cycle, waits for the bridge to come back, and writes it all.
TEST_F(AnalyzerOverUsbTest, AnUpdateCutShortByTheCableRecoversAfterAPowerCycle) {
    struct UserAtTheAnalyzer final : UserPrompt {
        UserAtTheAnalyzer(testing::RecordingPrompt& record, std::function<void()> powerCycle)
            : record(record), powerCycle(std::move(powerCycle)) {}
        void message(std::string_view text, std::string_view caption, PromptIcon icon) override {
            record.message(text, caption, icon);
            if (text == kPowerCycleMessage) {
                powerCycle();
            }
        }
        PromptAnswer ask(std::string_view text, std::string_view caption, PromptButtons buttons,
                         PromptIcon icon) override {
            return record.ask(text, caption, buttons, icon);
        }
        testing::RecordingPrompt& record;
        std::function<void()> powerCycle;
    } user{owner, [this] { bus->PowerCycle(*bridge); }};
    const LinkServices services{api, portPrompt, clock, answerWait, cursor, &ring};

    FirmwareUpdate update{services, user, pump, updateView};
    update.FileChosen(firmwareFile());
    ASSERT_TRUE(update.Start());
    pump.action = [this](int) {
        const std::vector<sim::ReceivedRequest> received = analyzer.requests();
        if (std::any_of(received.begin(), received.end(),
                        [](const sim::ReceivedRequest& r) { return r.text.starts_with("DAT"); })) {
            bus->Unplug(*bridge);
        }
    };
    EXPECT_EQ(update.Update(), UpdateOutcome::Failed);
    pump.action = nullptr;
    bus->Replug(*bridge);

    FirmwareUpdate again{services, user, pump, updateView};
    ASSERT_TRUE(again.Start());
    again.FileChosen(firmwareFile());
    again.SetRecovery(true);
    owner.entries.clear();
    EXPECT_EQ(again.Update(), UpdateOutcome::Done);
    EXPECT_EQ(owner.texts(), (std::vector<std::string>{std::string(kUpdateQuestion),
                                                       std::string(kPowerCycleMessage),
                                                       std::string(kUpdateDoneMessage)}));
    EXPECT_EQ(programVersion(), "100300");
}

TEST_F(AnalyzerOverUsbTest, StoredFilesArriveAsTheAnalyzerRecordedThem) {
    struct NoOverwrite final : OverwriteQuestion {
        SaveChoice Ask(std::string_view, std::string_view fileLine) override {
            ADD_FAILURE() << "asked to overwrite " << fileLine;
            return SaveChoice::Cancel;
        }
    } question;
    ASSERT_TRUE(link.SetRemote(&owner, 1));
    link.setBusy(true);
    SavedFileReception files{link, owner, question};
    const auto run = [&] {
        for (int polls = 0; files.Poll(); ++polls) {
            ASSERT_LT(polls, 1'000'000) << "the transfer does not end";
            std::this_thread::sleep_for(100us);
        }
    };
    files.RequestList();
    run();
    // Every file but the one of a format this program does not read.
    std::vector<size_t> all;
    for (size_t row = 0; row < files.rows().size(); ++row) {
        if (files.rows()[row].number != "0006") {
            all.push_back(row);
        }
    }
    ASSERT_EQ(all.size(), 5U);
    testing::TempDir folder;
    files.Receive(folder.path(), all);
    run();
    link.setBusy(false);
    EXPECT_EQ(files.lastResult(), SavedFileReception::Result::Complete);
    EXPECT_EQ(owner.texts(), std::vector<std::string>{std::string(kReceiveCompleteMessage)});

    std::vector<sim::StoredFile> recorded;
    analyzer.WithFirmware(
        [&](sim::AnalyzerFirmware& state) { recorded = state.storedFiles->files(); });
    size_t compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        CCaptureData capture;
        testing::RecordingPrompt readPrompt;
        ASSERT_TRUE(ReadCaptureFile(entry.path(), capture, readPrompt)) << entry.path();
        const auto same =
            std::find_if(recorded.begin(), recorded.end(), [&](const sim::StoredFile& file) {
                if (static_cast<RecordCount>(file.records.size()) != capture.Count()) {
                    return false;
                }
                for (RecordCount k = 0; k < capture.Count(); ++k) {
                    if (capture.word(k) != file.records[static_cast<size_t>(k)]) {
                        return false;
                    }
                }
                return true;
            });
        EXPECT_NE(same, recorded.end()) << entry.path() << " is none of the analyzer's files";
        ++compared;
    }
    EXPECT_EQ(compared, all.size());
}

TEST_F(AnalyzerOverUsbTest, TheAnalyzersScreenArrivesWhole) {
    struct Display final : ScreenCaptureDisplay {
        void showStatus(std::string_view) override {}
        void showImage() override { ++shown; }
        int shown = 0;
    } display;
    ScreenCapture capture{LinkServices{api, portPrompt, clock, answerWait, cursor, &ring}, owner,
                          pump, display};
    EXPECT_EQ(capture.Run(), CaptureOutcome::Complete);

    // The screen shows the tick at which the analyzer took the request.
    const std::vector<sim::ReceivedRequest> received = analyzer.requests();
    const auto request = std::find_if(received.begin(), received.end(),
                                      [](const sim::ReceivedRequest& r) { return r.text == "CP"; });
    ASSERT_NE(request, received.end());
    std::vector<uint16_t> expected;
    analyzer.WithFirmware(
        [&](sim::AnalyzerFirmware& state) { expected = testing::ScreenAt(state, request->tick); });
    EXPECT_TRUE(testing::IsTheScreen(capture.image(), expected));
    EXPECT_EQ(display.shown, 1);
    EXPECT_TRUE(owner.entries.empty()) << ::testing::PrintToString(owner.texts());
}

} // namespace
} // namespace varnolt
