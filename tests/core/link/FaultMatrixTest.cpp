// Every long exchange with the analyzer against every fault the virtual analyzer can inject, at
// its first, middle and last answer. Each run ends either complete and exact (compared with
// what the analyzer holds, record by record) or with its message, nothing half-written in the
// save folder, the settings being edited unchanged and the capture already held kept.
#include "core/capture/CaptureFileReader.h"
#include "core/capture/SaveFileName.h"
#include "core/capture/SaveMessages.h"
#include "core/link/firmware/FirmwareTexts.h"
#include "core/link/firmware/FirmwareUpdate.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/link/reception/MeasurementMessages.h"
#include "core/link/reception/OnlineDownload.h"
#include "core/link/savedfile/SavedFileMessages.h"
#include "core/link/savedfile/SavedFileReception.h"
#include "core/link/screencapture/ScreenCapture.h"
#include "core/link/screencapture/ScreenCaptureTexts.h"
#include "core/settings/SaSwitch.h"
#include "core/settings/SettingsBlockCodec.h"
#include "sim/FirmwareImage.h"
#include "sim/MeasurementEngine.h"
#include "sim/ScreenPicture.h"
#include "sim/StoredFileMemory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "SavingMeasurement.h"
#include "UserAtTheAnalyzer.h"

namespace varnolt {
namespace {

using sim::Fault;
using Texts = std::vector<std::string>;
using Words = std::vector<RecordWord>;

enum class Exchange {
    StoredDataDownload, // "オンラインデータ受信"
    SavedFileList,
    SavedFileDownload,
    SettingsRead,
    SettingsWrite,
    ScreenCapture,
    FirmwareUpdate,
    Measurement, // with automatic and trigger saving
};

enum class LinkFault {
    Lost,
    Split,
    Delayed,
    Duplicated,
    Corrupted,
    Nak,
    Silence,
    Unplug,
    Replug,
    RequestLost, // the request never reaches the analyzer
};

enum class Strike { First, Middle, Last };

constexpr RecordCount kRingCapacity = 1'500;

Words StoreWords(const CCaptureData& store) {
    Words words;
    for (RecordCount k = 0; k < store.Count(); ++k) {
        words.push_back(store.word(k));
    }
    return words;
}

bool StartsWith(const Words& whole, const Words& part) {
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

// Every settings block of SETTINGS as the analyzer would be sent it.
std::vector<std::vector<uint8_t>> Blocks(const CSaParameter& settings) {
    std::vector<std::vector<uint8_t>> frames;
    std::vector<uint8_t> frame(kSettingsFrameCapacity);
    for (const SettingsBlockAddress address : kSettingsBlockAddresses) {
        const size_t length = EncodeSettingsBlock(frame, address, settings);
        frames.emplace_back(frame.begin(), frame.begin() + static_cast<ptrdiff_t>(length));
    }
    return frames;
}

// Settings that differ from the defaults in the general, trigger and transmit blocks.
CSaParameter EditedSettings() {
    CSaParameter settings;
    settings.speed = 115'200;
    settings.parity = kParityOdd;
    settings.timers[3].setValue = 0x01020304;
    settings.triggers[7].enabled = kSaByteOn;
    settings.triggers[7].actionValue2 = 0x7788;
    settings.transmitEntries[49].elementCount = 2;
    settings.transmitEntries[49].elements[1] = {1, 0x7E};
    return settings;
}

class NoOverwrite final : public OverwriteQuestion {
public:
    SaveChoice Ask(std::string_view, std::string_view fileLine) override {
        ADD_FAILURE() << "unexpected question for " << fileLine;
        return SaveChoice::Cancel;
    }
};

struct SilentDisplay final : ScreenCaptureDisplay {
    void showStatus(std::string_view) override {}
    void showImage() override { ++imagesShown; }
    int imagesShown = 0;
};

struct SilentFirmwareView final : FirmwareUpdateView {
    void showControls(const FirmwareControls&) override {}
};

// Lets simulated time pass between the update's steps; a user who has waited a minute for an
// analyzer that does not come back presses "キャンセル" (the loader's wait has no time limit).
class PatientUser final : public Pump {
public:
    PatientUser(sim::SimulatedLinkTime& time, const Clock& clock) : time_(time), clock_(clock) {}
    void watch(FirmwareUpdate& update) { update_ = &update; }
    void pump() override {
        if (started_ == 0) {
            started_ = clock_.tickMs();
        }
        if (update_ != nullptr && clock_.tickMs() - started_ > kPatienceMs) {
            update_->Cancel();
        }
        time_.pump();
    }

private:
    static constexpr uint32_t kPatienceMs = 60'000;
    sim::SimulatedLinkTime& time_;
    const Clock& clock_;
    FirmwareUpdate* update_ = nullptr;
    uint32_t started_ = 0;
};

// The program and the virtual analyzer for one exchange: what the user holds before it, the
// exchange itself, and the check of its outcome.
class World : public testing::ReceptionFixture {
public:
    explicit World(Exchange exchange)
        : ReceptionFixture(exchange == Exchange::StoredDataDownload ? 100'000 : kRingCapacity),
          exchange_(exchange) {
        firmware([](sim::AnalyzerFirmware& state) {
            state.measurement->options().seed = 5;
            state.measurement->options().keepLog = true;
            state.measurement->options().longestGapMs = 1;
        });
    }

    ~World() {
        std::error_code ignored;
        std::filesystem::remove_all(goneFolder(), ignored);
    }

    // Brings everything to where the exchange starts; no fault strikes here.
    void prepare() {
        switch (exchange_) {
        case Exchange::StoredDataDownload:
            connect();
            settings.speed = 115'200;
            ASSERT_TRUE(link.WriteExtSettings(&owner, settings, nullptr));
            ASSERT_TRUE(reception.Start());
            ticks(40);
            ASSERT_TRUE(reception.Stop());
            firmware([&](sim::AnalyzerFirmware& state) {
                analyzerHolds_ = state.measurement->produced();
            });
            ASSERT_GT(analyzerHolds_.size(), 500U);
            link.setBusy(true);
            break;
        case Exchange::SavedFileList:
        case Exchange::SavedFileDownload:
            holdCapture();
            firmware([](sim::AnalyzerFirmware& state) {
                state.storedFiles->files() = {
                    sim::MakeStoredFile({3, "PLC_V4", "2411180905", 4, 0, 3'000, 9'600, 13}),
                    sim::MakeStoredFile({4, "MODEM_V4", "2411180906", 4, 1, 1'500, 9'600, 14}),
                };
                state.storedFiles->blockWords = 512;
            });
            ASSERT_TRUE(link.SetRemote(&owner, 1));
            link.setBusy(true);
            if (exchange_ == Exchange::SavedFileDownload) {
                listFiles();
                ASSERT_EQ(files_.rows().size(), 2U);
            }
            break;
        case Exchange::SettingsRead:
        case Exchange::SettingsWrite:
            holdCapture();
            ASSERT_TRUE(link.SetRemote(&owner, 1));
            ASSERT_TRUE(link.WriteExtSettings(
                &owner, exchange_ == Exchange::SettingsRead ? EditedSettings() : CSaParameter(),
                nullptr));
            edited_.speed = 2'400; // what the user holds in the dialog before reading
            break;
        case Exchange::ScreenCapture:
            holdCapture();
            break;
        case Exchange::FirmwareUpdate:
            holdCapture();
            chooseFirmwareFile();
            patience_.watch(update_);
            break;
        case Exchange::Measurement:
            prepareMeasurement();
            break;
        }
        analyzer.ClearRequests();
        owner.entries.clear();
    }

    // Runs the exchange as the user starts it; whether it reported success.
    bool run() {
        switch (exchange_) {
        case Exchange::StoredDataDownload: {
            struct : DownloadProgress {
                void ShowProgress(int32_t) override {}
            } progress;
            return reception.Download(progress, time);
        }
        case Exchange::SavedFileList:
            listFiles();
            return files_.statusText() == kSelectDataStatus;
        case Exchange::SavedFileDownload:
            files_.Receive(folder_.path(), {0, 1});
            poll();
            return files_.lastResult() == SavedFileReception::Result::Complete;
        case Exchange::SettingsRead:
            return link.ReadExtSettings(&owner, edited_, nullptr);
        case Exchange::SettingsWrite:
            return link.WriteExtSettings(&owner, EditedSettings(), nullptr);
        case Exchange::ScreenCapture:
            return capture_.Run() == CaptureOutcome::Complete;
        case Exchange::FirmwareUpdate:
            return update_.Start() && update_.Update() == UpdateOutcome::Done;
        case Exchange::Measurement:
            return measure();
        }
        return false;
    }

    // Checks the outcome: exact when it reported success, otherwise its message and nothing
    // half-written or lost.
    void check(bool complete) {
        SCOPED_TRACE(complete ? "reported complete" : "reported failed");
        const Texts shown = messages();
        if (complete) {
            // The end of a transfer is reported; a failed stored-amount query is reported and
            // the download goes on without it.
            for (const std::string& text : shown) {
                EXPECT_TRUE(text == kReceiveCompleteMessage || text == kUpdateDoneMessage ||
                            (exchange_ == Exchange::StoredDataDownload &&
                             text == kCommunicationFailedMessage))
                    << text;
            }
        } else {
            ASSERT_FALSE(shown.empty()) << "a failure without a message";
            const std::vector<std::string_view> messages = allowed();
            for (const std::string& text : shown) {
                EXPECT_TRUE(std::any_of(
                    messages.begin(), messages.end(),
                    [&](std::string_view message) { return text.starts_with(message); }))
                    << text;
            }
        }
        switch (exchange_) {
        case Exchange::StoredDataDownload: {
            // The download renews the capture; what arrived is the start of what the analyzer
            // holds, all of it when complete.
            const Words held = StoreWords(store);
            EXPECT_TRUE(complete ? held == analyzerHolds_ : StartsWith(analyzerHolds_, held))
                << held.size() << " held of " << analyzerHolds_.size();
            break;
        }
        case Exchange::SavedFileList:
            expectHeldCapture();
            if (complete) {
                ASSERT_EQ(files_.rows().size(), 2U);
                EXPECT_EQ(files_.rows()[0].number, "0003");
                EXPECT_EQ(files_.rows()[1].number, "0004");
            }
            break;
        case Exchange::SavedFileDownload:
            expectHeldCapture();
            checkReceivedFiles(complete);
            break;
        case Exchange::SettingsRead: {
            CSaParameter before;
            before.speed = 2'400;
            EXPECT_TRUE(Blocks(edited_) == Blocks(complete ? EditedSettings() : before))
                << "the settings being edited changed";
            expectHeldCapture();
            break;
        }
        case Exchange::SettingsWrite:
            if (complete) {
                CSaParameter read;
                ASSERT_TRUE(link.ReadExtSettings(&owner, read, nullptr));
                EXPECT_TRUE(Blocks(read) == Blocks(EditedSettings()));
            }
            expectHeldCapture();
            break;
        case Exchange::ScreenCapture:
            expectHeldCapture();
            EXPECT_EQ(display_.imagesShown, complete ? 1 : 0);
            if (complete) {
                EXPECT_TRUE(capture_.image() == expectedScreen()) << "the image is not exact";
            }
            break;
        case Exchange::FirmwareUpdate:
            expectHeldCapture();
            firmware([&](sim::AnalyzerFirmware& state) {
                if (complete) {
                    EXPECT_EQ(state.programVersion, "100300");
                    EXPECT_TRUE(state.loader.programValid);
                }
            });
            break;
        case Exchange::Measurement:
            checkMeasurement(complete);
            break;
        }
    }

    [[nodiscard]] Exchange exchange() const { return exchange_; }

    // The save folder disappears once AFTER_FILES automatic files are in it and, with
    // COMES_BACK, returns once two files wait for it. Called before prepare(): the stretches
    // around errors are not saved then.
    void vanishFolder(size_t afterFiles, bool comesBack) {
        vanishAfter_ = afterFiles;
        comesBack_ = comesBack;
    }
    [[nodiscard]] size_t autoFiles() const {
        return testing::Files(folder_.path(), kAutoSavePrefix).size();
    }

    // A measurement whose save folder went: reception went on to the analyzer's stop, the
    // folder was told once, and every record is in a file, kept for a later save or named in
    // a refusal; with the folder back, all of them are in files, in order.
    void checkVanishedFolder(bool complete) {
        EXPECT_TRUE(complete) << ::testing::PrintToString(owner.texts());
        tick(); // the poll after the stop tells what the last saves left
        EXPECT_EQ(
            std::count(view.notices.begin(), view.notices.end(), FolderGoneMessage(folder_.path())),
            1);
        Words produced;
        firmware([&](sim::AnalyzerFirmware& state) { produced = state.measurement->produced(); });
        Words saved;
        for (const auto& path :
             testing::Files(gone_ ? goneFolder() : folder_.path(), kAutoSavePrefix)) {
            const Words words = testing::FileWords(path);
            saved.insert(saved.end(), words.begin(), words.end());
        }
        if (comesBack_) {
            // Back only after the last save: the files kept are written when asked again, as
            // the close path asks.
            if (gone_) {
                bringFolderBack();
                store.saver().RetryUnwritten();
                store.saver().WaitIdle();
                saved.clear();
                for (const auto& path : testing::Files(folder_.path(), kAutoSavePrefix)) {
                    const Words words = testing::FileWords(path);
                    saved.insert(saved.end(), words.begin(), words.end());
                }
            }
            EXPECT_TRUE(saved == produced) << saved.size() << " saved of " << produced.size();
            EXPECT_EQ(store.saver().unwritten().files, 0U);
            return;
        }
        const size_t refused = testing::RefusedWhileKeptRecords(view.notices);
        EXPECT_EQ(saved.size() + static_cast<size_t>(store.saver().unwritten().records) + refused,
                  produced.size());
        EXPECT_TRUE(StartsWith(produced, saved));
    }

private:
    // A capture the user holds before the exchange; it must survive it.
    void holdCapture() {
        store.Reset(CaptureConditionsOf(settings));
        for (RecordWord word = 0; word < 100; ++word) {
            store.Append(0x1000'0000U | word, static_cast<int32_t>(word));
        }
    }

    void expectHeldCapture() const {
        ASSERT_EQ(store.Count(), 100);
        for (RecordCount k = 0; k < 100; ++k) {
            ASSERT_EQ(store.word(k), 0x1000'0000U | static_cast<RecordWord>(k)) << k;
        }
    }

    void poll() {
        for (int polls = 0; files_.Poll(); ++polls) {
            ASSERT_LT(polls, 2'000'000) << "the transfer does not end";
            time.pump();
        }
    }

    void listFiles() {
        files_.RequestList();
        poll();
    }

    // The questions (the firmware update asks before it starts) are not failures.
    [[nodiscard]] Texts messages() const {
        Texts texts;
        for (const auto& entry : owner.entries) {
            if (!entry.question) {
                texts.push_back(entry.text);
            }
        }
        return texts;
    }

    [[nodiscard]] std::vector<std::string_view> allowed() const {
        switch (exchange_) {
        case Exchange::SavedFileList:
        case Exchange::SavedFileDownload:
            return {kTimeoutMessage, kCancelledMessage, kAnalyzerAbsentMessage};
        case Exchange::ScreenCapture:
            return {kCaptureTimeoutMessage, kAnalyzerAbsentMessage};
        case Exchange::FirmwareUpdate:
            return {kBadFileMessage,         kUpdateTimeoutMessage, kWriteFailedMessage,
                    kUpdateCancelledMessage, kPowerCycleMessage,    kAnalyzerAbsentMessage,
                    kUpdateDoneMessage};
        default:
            return {kCommunicationFailedMessage, kAnalyzerAbsentMessage};
        }
    }

    void checkReceivedFiles(bool complete) {
        std::map<std::string, int32_t> numbers{{"PLC_V4.tvd", 3}, {"MODEM_V4.tvd", 4}};
        const auto files = testing::Files(folder_.path());
        if (complete) {
            EXPECT_EQ(files.size(), 2U);
        }
        for (const auto& path : files) {
            const std::string name = path.filename().string();
            ASSERT_TRUE(numbers.contains(name)) << "left in the folder: " << name;
            Words recorded;
            firmware([&](sim::AnalyzerFirmware& state) {
                for (const sim::StoredFile& file : state.storedFiles->files()) {
                    if (file.number == numbers[name]) {
                        recorded = file.records;
                    }
                }
            });
            EXPECT_TRUE(testing::FileWords(path) == recorded) << name << " is not exact";
        }
    }

    [[nodiscard]] ScreenImage expectedScreen() {
        uint32_t requested = 0;
        for (const sim::ReceivedRequest& request : analyzer.requests()) {
            if (request.text == "CP") {
                requested = request.tick;
            }
        }
        ScreenImage image;
        firmware([&](sim::AnalyzerFirmware& state) {
            const uint32_t now = state.now;
            state.now = requested;
            for (const uint16_t value : sim::DrawAnalyzerScreen(state)) {
                image.push_back(PixelColour(value));
            }
            state.now = now;
        });
        return image;
    }

    void chooseFirmwareFile() {
        const std::filesystem::path path = folder_ / "update.tvy";
        const std::vector<uint8_t> bytes =
            sim::BuildFirmwareImage({.headerRecords = 3, .dataRecords = 25});
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        const std::u8string name = path.u8string();
        update_.FileChosen(std::string(name.begin(), name.end()));
    }

    void prepareMeasurement() {
        testing::SaveAutomaticallyInto(*this, folder_.path());
        settings.speed = 115'200;
        settings.controlLineCapture = 1;
        // A stretch is saved around every framing error on RD; the analyzer stops a second
        // after the first error.
        testing::SaveAroundErrorsAndStop(settings, 50, 80, 1);
        if (vanishAfter_) {
            settings.triggers[0].enabled = kSaByteOff; // only automatic files to account for
        }
        connect();
        ASSERT_TRUE(link.WriteExtSettings(&owner, settings, nullptr));
    }

    bool measure() {
        if (!reception.Start()) {
            return false;
        }
        bool failed = false;
        for (int passes = 0; !failed && link.runState() == CMoniterComm::kRunning && passes < 3'000;
             ++passes) {
            // The simulated clock runs far ahead of real time: a ring fills within moments
            // here, where the analyzer takes a good part of a second. Letting the saves finish
            // first keeps the save thread as far ahead as it is in a real measurement.
            store.saver().WaitIdle();
            failed = tick() == PollResult::CommunicationFailed;
            followFolder();
        }
        store.saver().WaitIdle();
        return !failed && link.runState() == CMoniterComm::kStopped && owner.entries.empty();
    }

    // Takes the save folder away, or brings it back, as vanishFolder planned.
    void followFolder() {
        if (!vanishAfter_) {
            return;
        }
        if (!gone_ && autoFiles() >= *vanishAfter_) {
            std::filesystem::rename(folder_.path(), goneFolder());
            gone_ = true;
        } else if (gone_ && comesBack_ && store.saver().unwritten().files >= 2) {
            bringFolderBack();
        }
    }
    void bringFolderBack() {
        std::filesystem::rename(goneFolder(), folder_.path());
        gone_ = false;
        vanishAfter_.reset();
    }
    [[nodiscard]] std::filesystem::path goneFolder() const {
        return folder_.path().string() + ".gone";
    }

    void checkMeasurement(bool complete) {
        Words produced;
        firmware([&](sim::AnalyzerFirmware& state) { produced = state.measurement->produced(); });
        Words saved;
        std::vector<std::filesystem::path> triggered;
        for (const auto& path : testing::Files(folder_.path())) {
            const std::string name = path.filename().string();
            if (name.starts_with(kTriggerSavePrefix)) {
                triggered.push_back(path);
                continue;
            }
            ASSERT_TRUE(name.starts_with(kAutoSavePrefix)) << "left in the folder: " << name;
            const Words words = testing::FileWords(path);
            saved.insert(saved.end(), words.begin(), words.end());
        }
        // The automatic files and then the store hold what the analyzer recorded, in order:
        // all of it when complete, its start otherwise.
        Words held;
        for (RecordCount k = 0; k <= store.lastIndex(); ++k) {
            held.push_back(store.word(k));
        }
        Words all = saved;
        all.insert(all.end(), held.begin(), held.end());
        if (complete) {
            EXPECT_TRUE(saved == produced) << saved.size() << " saved of " << produced.size();
            EXPECT_TRUE(std::equal(held.rbegin(), held.rend(), produced.rbegin()));
            EXPECT_FALSE(triggered.empty());
        } else {
            // A failure after the final save (fetching the last blocks) leaves the store
            // holding what the last file holds.
            const bool heldIsLastFile = held.size() <= saved.size() &&
                                        std::equal(held.rbegin(), held.rend(), saved.rbegin());
            EXPECT_TRUE(StartsWith(produced, all) ||
                        (StartsWith(produced, saved) && heldIsLastFile))
                << saved.size() << " saved and " << held.size() << " held";
        }
        for (const auto& path : triggered) {
            const Words words = testing::FileWords(path);
            EXPECT_FALSE(words.empty());
            EXPECT_NE(std::search(produced.begin(), produced.end(), words.begin(), words.end()),
                      produced.end())
                << path;
        }
    }

    Exchange exchange_;
    std::optional<size_t> vanishAfter_;
    bool comesBack_ = false;
    bool gone_ = false;
    Words analyzerHolds_;
    CSaParameter edited_;
    testing::TempDir folder_;
    NoOverwrite question_;
    SavedFileReception files_{link, owner, question_};
    SilentDisplay display_;
    ScreenCapture capture_{LinkServices{bridge, portPrompt, clock, time, cursor, &ring}, owner,
                           time, display_};
    SilentFirmwareView firmwareView_;
    testing::UserAtTheAnalyzer user_{owner, analyzer};
    PatientUser patience_{time, clock};
    FirmwareUpdate update_{LinkServices{bridge, portPrompt, clock, time, cursor, &ring}, user_,
                           patience_, firmwareView_};
};

// Requests of a run without faults, per exchange.
int CleanRequests(Exchange exchange) {
    static std::map<Exchange, int> counted;
    if (!counted.contains(exchange)) {
        World world(exchange);
        world.prepare();
        EXPECT_TRUE(world.run()) << "the exchange fails without a fault";
        counted[exchange] = static_cast<int>(world.requests().size());
    }
    return counted[exchange];
}

sim::FaultSet Injected(LinkFault fault) {
    switch (fault) {
    case LinkFault::Lost:
    case LinkFault::Silence:
        return Fault::Lost;
    case LinkFault::Split:
        return Fault::Split;
    case LinkFault::Delayed:
        return Fault::Delayed;
    case LinkFault::Duplicated:
        return Fault::Duplicated;
    case LinkFault::Corrupted:
        return Fault::CorruptChecksum;
    case LinkFault::Nak:
        return Fault::Nak;
    case LinkFault::Unplug:
        return Fault::Unplug;
    case LinkFault::Replug:
        return Fault::Replug;
    case LinkFault::RequestLost:
        return Fault::RequestLost;
    }
    return {};
}

using Row = std::tuple<Exchange, LinkFault, Strike>;

class FaultMatrixTest : public ::testing::TestWithParam<Row> {};

TEST_P(FaultMatrixTest, EndsCompleteAndExactOrWithItsMessageAndLosesNothing) {
    // Plain names rather than a structured binding: the lambda below takes them.
    const Exchange exchange = std::get<0>(GetParam());
    const LinkFault fault = std::get<1>(GetParam());
    const Strike strike = std::get<2>(GetParam());
    const int clean = CleanRequests(exchange);
    ASSERT_GT(clean, 2);
    const int at = strike == Strike::First ? 0 : strike == Strike::Middle ? clean / 2 : clean - 1;

    World world(exchange);
    world.prepare();
    if (::testing::Test::HasFatalFailure()) {
        return;
    }
    world.analyzer.WithFaults([&](sim::FaultPlan& plan) {
        plan.Pass(at);
        plan.Add(Injected(fault), fault == LinkFault::Silence ? 100'000 : 1);
    });
    const bool complete = world.run();
    world.check(complete);
    // An answer that only arrives in pieces or late is no reason to give up, nor is a block
    // request that went missing: it is asked for again.
    if (fault == LinkFault::Split ||
        (fault == LinkFault::RequestLost &&
         (exchange == Exchange::Measurement || exchange == Exchange::StoredDataDownload))) {
        EXPECT_TRUE(complete);
    }
}

// The save folder vanishes during a measurement, at its first, a middle or its last automatic
// file, and comes back or not.
using FolderRow = std::tuple<Strike, bool>;

class FolderVanishesTest : public ::testing::TestWithParam<FolderRow> {};

TEST_P(FolderVanishesTest, ReceptionGoesOnAndNoRecordIsLostUntold) {
    const auto [strike, comesBack] = GetParam();
    static const size_t clean = [] {
        World world(Exchange::Measurement);
        world.prepare();
        EXPECT_TRUE(world.run());
        return world.autoFiles();
    }();
    ASSERT_GT(clean, 4U);
    World world(Exchange::Measurement);
    world.vanishFolder(strike == Strike::First    ? 0
                       : strike == Strike::Middle ? clean / 2
                                                  : clean - 1,
                       comesBack);
    world.prepare();
    world.checkVanishedFolder(world.run());
}

std::string FolderRowName(const ::testing::TestParamInfo<FolderRow>& info) {
    static const char* const strikes[] = {"First", "Middle", "Last"};
    return std::string(strikes[static_cast<int>(std::get<0>(info.param))]) +
           (std::get<1>(info.param) ? "_ComesBack" : "_StaysAway");
}

INSTANTIATE_TEST_SUITE_P(EveryMoment, FolderVanishesTest,
                         ::testing::Combine(::testing::Values(Strike::First, Strike::Middle,
                                                              Strike::Last),
                                            ::testing::Bool()),
                         FolderRowName);

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    static const char* const exchanges[] = {
        "StoredDataDownload", "SavedFileList", "SavedFileDownload", "SettingsRead",
        "SettingsWrite",      "ScreenCapture", "FirmwareUpdate",    "Measurement"};
    static const char* const faults[] = {"Lost", "Split",   "Delayed", "Duplicated", "Corrupted",
                                         "Nak",  "Silence", "Unplug",  "Replug",     "RequestLost"};
    static const char* const strikes[] = {"First", "Middle", "Last"};
    const auto [exchange, fault, strike] = info.param;
    return std::string(exchanges[static_cast<int>(exchange)]) + "_" +
           faults[static_cast<int>(fault)] + "_" + strikes[static_cast<int>(strike)];
}

INSTANTIATE_TEST_SUITE_P(
    EveryExchangeFaultAndMoment, FaultMatrixTest,
    ::testing::Combine(::testing::Values(Exchange::StoredDataDownload, Exchange::SavedFileList,
                                         Exchange::SavedFileDownload, Exchange::SettingsRead,
                                         Exchange::SettingsWrite, Exchange::ScreenCapture,
                                         Exchange::FirmwareUpdate, Exchange::Measurement),
                       ::testing::Values(LinkFault::Lost, LinkFault::Split, LinkFault::Delayed,
                                         LinkFault::Duplicated, LinkFault::Corrupted,
                                         LinkFault::Nak, LinkFault::Silence, LinkFault::Unplug,
                                         LinkFault::Replug, LinkFault::RequestLost),
                       ::testing::Values(Strike::First, Strike::Middle, Strike::Last)),
    RowName);

} // namespace
} // namespace varnolt
