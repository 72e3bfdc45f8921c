#include "core/capture/CaptureSaver.h"

#include "core/capture/AutomaticSave.h"
#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileReader.h"
#include "core/capture/SaveMessages.h"
#include "core/platform/FileError.h"
#include "support/RecordingPrompt.h"
#include "support/StalledFolder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace varnolt {
namespace {

// Every record word is told apart by its number N.
RecordWord Item(int n) {
    return 0x20000000u + static_cast<uint32_t>(n);
}

std::vector<RecordWord> Items(int from, int count) {
    std::vector<RecordWord> words(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        words[static_cast<size_t>(i)] = Item(from + i);
    }
    return words;
}

void AppendItems(CCaptureData& store, int from, int count) {
    for (int n = from; n < from + count; ++n) {
        store.Append(Item(n), n);
    }
}

// Appends as reception does with automatic saving on; returns how many saves were queued.
int ReceiveWithAutoSave(CCaptureData& store, int from, int count) {
    int saves = 0;
    for (int n = from; n < from + count; ++n) {
        saves += SaveBankIfFull(store, store.Append(Item(n), n)) ? 1 : 0;
    }
    return saves;
}

// 2026-12-10 04:42:34, the time every save of these tests starts at unless told otherwise.
std::tm SaveTime() {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 10;
    time.tm_hour = 4;
    time.tm_min = 42;
    time.tm_sec = 34;
    return time;
}

// The file names in FOLDER, in the order the saves wrote them: same-second suffixes by number.
std::vector<std::string> SavedFiles(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return names;
}

// The record words of the capture file at PATH.
std::vector<RecordWord> SavedWords(const std::filesystem::path& path) {
    CCaptureData loaded(250'000);
    testing::RecordingPrompt prompt;
    EXPECT_TRUE(ReadCaptureFile(path, loaded, prompt));
    EXPECT_TRUE(prompt.entries.empty());
    std::vector<RecordWord> words;
    for (RingIndex i = 0; i <= loaded.lastIndex(); ++i) {
        words.push_back(loaded.word(i));
    }
    return words;
}

class CaptureSaverTest : public ::testing::Test {
protected:
    static constexpr RecordCount kCapacity = 1000;

    CaptureSaverTest() {
        store.saver().setFolder(dir.path());
        store.saver().setLocalTime(SaveTime);
    }

    [[nodiscard]] std::filesystem::path File(const std::string& name) const { return dir / name; }

    testing::TempDir dir;
    CCaptureData store{kCapacity};
};

// The ring, bank A and bank B hold different words at 0 ... 3 after three passes: the first
// filled bank A, the second bank B, the third (3 records) bank A again.
TEST(CaptureSaver, EachRequestWritesItsKindFromItsSource) {
    constexpr RecordCount kRing = 10;
    struct Case {
        SaveRequest request;
        const char* name;
        std::vector<RecordWord> words;
    };
    const std::vector<RecordWord> ring = {Item(20), Item(21), Item(22), Item(13)};
    const std::vector<RecordWord> bankA = {Item(20), Item(21), Item(22), Item(3)};
    const std::vector<RecordWord> bankB = Items(10, 4);
    const Case cases[] = {
        {SaveRequest::TriggerRing, "VrnTrigsv_20261210_044234.tvd", ring},
        {SaveRequest::Trigger, "VrnTrigsv_20261210_044234.tvd", ring},
        {SaveRequest::BankA, "VrnAuto_20261210_044234.tvd", bankA},
        {SaveRequest::BankB, "VrnAuto_20261210_044234.tvd", bankB},
        {SaveRequest::ActiveBank, "VrnAuto_20261210_044234.tvd", bankA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.request));
        const testing::TempDir dir;
        CCaptureData store(kRing);
        store.saver().setLocalTime(SaveTime);
        for (int n = 0; n < 23; ++n) {
            (void)store.SwitchBankIfFull(store.Append(Item(n), n));
        }
        store.saver().setFolder(dir.path());

        ASSERT_TRUE(store.StartSave(c.request, 0, 3));
        store.saver().WaitIdle();
        EXPECT_FALSE(store.saveBusy());
        ASSERT_EQ(SavedFiles(dir.path()), std::vector<std::string>{c.name});
        EXPECT_EQ(SavedWords(dir / c.name), c.words);
    }
}

TEST(CaptureSaver, FullRingSavesBankAAndTheStopSavesTheRestOfBankB) {
    const testing::TempDir dir;
    CCaptureData store(250'000);
    store.applyAutoSaveFileSize(1);
    store.saver().setFolder(dir.path());
    int second = 0;
    store.saver().setLocalTime([&second] {
        std::tm time = SaveTime();
        time.tm_sec += second++;
        return time;
    });

    EXPECT_EQ(ReceiveWithAutoSave(store, 0, 249'999), 0);
    EXPECT_EQ(ReceiveWithAutoSave(store, 249'999, 1), 1); // the 250,000th record
    EXPECT_EQ(store.activeBank(), CaptureBank::B);

    EXPECT_EQ(store.Append(Item(250'000), 0), 0);
    EXPECT_EQ(store.bankWord(CaptureBank::B, 0), Item(250'000));
    EXPECT_EQ(store.bankWord(CaptureBank::A, 0), Item(0));
    EXPECT_EQ(ReceiveWithAutoSave(store, 250'001, 9), 0);

    ASSERT_TRUE(SaveFinalBank(store));
    store.saver().WaitIdle();

    ASSERT_EQ(SavedFiles(dir.path()), (std::vector<std::string>{"VrnAuto_20261210_044234.tvd",
                                                                "VrnAuto_20261210_044235.tvd"}));
    // A one-megabyte file: a million bytes of records and 299 of markers, version and header.
    EXPECT_EQ(std::filesystem::file_size(dir / "VrnAuto_20261210_044234.tvd"), 1'000'299u);
    EXPECT_EQ(SavedWords(dir / "VrnAuto_20261210_044234.tvd"), Items(0, 250'000));
    EXPECT_EQ(SavedWords(dir / "VrnAuto_20261210_044235.tvd"), Items(250'000, 10));
}

// Reception fills the ring again and again faster than files are written: every save waits
// its turn, keeps the words of its bank although reception reuses the bank, and gets a name of
// its own within the same second.
TEST_F(CaptureSaverTest, SavesWrittenInOrderHoldEveryRecordOnce) {
    constexpr int kRings = 20;
    constexpr int kRest = 7;
    // Four rings at a time: no more wait at once than the queue holds.
    for (int ring = 0; ring < kRings; ring += 4) {
        EXPECT_EQ(ReceiveWithAutoSave(store, ring * kCapacity, 4 * kCapacity), 4);
        store.saver().WaitIdle();
    }
    EXPECT_EQ(ReceiveWithAutoSave(store, kRings * kCapacity, kRest), 0);
    ASSERT_TRUE(SaveFinalBank(store));
    store.saver().WaitIdle();
    EXPECT_FALSE(store.saveBusy());
    EXPECT_TRUE(store.saver().TakeSaveErrors().empty());

    const std::vector<std::string> files = SavedFiles(dir.path());
    ASSERT_EQ(files.size(), size_t{kRings + 1});
    EXPECT_EQ(files[0], "VrnAuto_20261210_044234.tvd");
    EXPECT_EQ(files[1], "VrnAuto_20261210_044234_2.tvd");
    EXPECT_EQ(files[kRings], "VrnAuto_20261210_044234_21.tvd");
    std::vector<RecordWord> all;
    for (const std::string& name : files) {
        const std::vector<RecordWord> words = SavedWords(File(name));
        all.insert(all.end(), words.begin(), words.end());
    }
    EXPECT_EQ(all, Items(0, kRings * kCapacity + kRest));
}

TEST_F(CaptureSaverTest, StopRightAfterAFullRingAddsNoFile) {
    EXPECT_EQ(ReceiveWithAutoSave(store, 0, 2 * kCapacity), 2);
    // The active bank has received nothing since the last full ring went out: a save of
    // 0 ... last would write a whole ring of old words again.
    EXPECT_FALSE(SaveFinalBank(store));
    store.saver().WaitIdle();
    EXPECT_EQ(SavedFiles(dir.path()).size(), 2u);

    CCaptureData empty(kCapacity);
    empty.saver().setFolder(dir.path());
    EXPECT_FALSE(SaveFinalBank(empty));
}

TEST_F(CaptureSaverTest, TriggerStretchKeepsTheWordsOfItsRequest) {
    AppendItems(store, 0, 600);
    ASSERT_TRUE(store.StartSave(SaveRequest::Trigger, 100, 199));
    AppendItems(store, 600, 1000); // overwrites every ring entry, the stretch's among them
    // A stretch through the ring's end: indexes 900 ... 999 and 0 ... 99.
    store.saver().setLocalTime([] {
        std::tm time = SaveTime();
        time.tm_min += 1;
        return time;
    });
    ASSERT_TRUE(store.StartSave(SaveRequest::Trigger, 900, 99));
    AppendItems(store, 1600, 1000);
    store.saver().WaitIdle();

    EXPECT_EQ(SavedWords(File("VrnTrigsv_20261210_044234.tvd")), Items(100, 100));
    EXPECT_EQ(SavedWords(File("VrnTrigsv_20261210_044334.tvd")), Items(900, 200));
}

TEST_F(CaptureSaverTest, RangesTheStoreCannotGiveAreNotSaved) {
    AppendItems(store, 0, 10); // not wrapped: indexes 0 ... 9 hold records
    struct Case {
        SaveRequest request;
        RingIndex first;
        RingIndex last;
    };
    const Case cases[] = {
        {SaveRequest::Trigger, 5, 10},          // beyond the newest record
        {SaveRequest::Trigger, 8, 2},           // through the ring's end before it wrapped
        {SaveRequest::Trigger, -1, 5},          // before the ring
        {SaveRequest::Trigger, kCapacity, 5},   // past the ring
        {SaveRequest::BankA, 0, kCapacity - 1}, // a bank that is not full yet
        {static_cast<SaveRequest>(5), 0, 5},    // no such request
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(store.StartSave(c.request, c.first, c.last))
            << static_cast<int>(c.request) << " " << c.first << " " << c.last;
    }
    store.saver().WaitIdle();
    EXPECT_TRUE(SavedFiles(dir.path()).empty());
    EXPECT_FALSE(store.saveBusy());
}

// A save folder deleted during the measurement is told once, naming it; the files that could
// not be written are kept, up to the queue's bound, and written first once it is back.
TEST_F(CaptureSaverTest, AFolderThatVanishesIsToldOnceAndItsFilesWaitUntilItIsBack) {
    const std::filesystem::path folder = dir / "captures";
    std::filesystem::create_directory(folder);
    store.saver().setFolder(folder);
    std::filesystem::remove(folder); // deleted after the measurement started

    EXPECT_EQ(ReceiveWithAutoSave(store, 0, kCapacity + 10), 1);
    EXPECT_EQ(store.activeBank(), CaptureBank::B); // reception goes on into the other bank
    ASSERT_TRUE(SaveFinalBank(store));
    store.saver().WaitIdle();
    EXPECT_EQ(store.saver().TakeSaveErrors(), std::vector<std::string>{FolderGoneMessage(folder)});
    EXPECT_EQ(store.saver().unwritten().files, 2U);
    EXPECT_EQ(store.saver().unwritten().records, kCapacity + 10);

    // Two more stretches are kept without a word; the one after is refused and told.
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(store.StartSave(SaveRequest::Trigger, 0, 4));
        store.saver().WaitIdle();
    }
    EXPECT_FALSE(store.StartSave(SaveRequest::Trigger, 5, 9));
    EXPECT_EQ(store.saver().TakeSaveErrors(), std::vector<std::string>{RefusedWhileKeptMessage(
                                                  folder / "VrnTrigsv_20261210_044234.tvd", 5)});
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    std::filesystem::create_directory(folder);
    store.saver().RetryUnwritten();
    store.saver().WaitIdle();
    EXPECT_TRUE(store.saver().TakeSaveErrors().empty());
    EXPECT_EQ(store.saver().unwritten().files, 0U);
    EXPECT_EQ(SavedWords(folder / "VrnAuto_20261210_044234.tvd"), Items(0, kCapacity));
    EXPECT_EQ(SavedWords(folder / "VrnAuto_20261210_044234_2.tvd"), Items(kCapacity, 10));
    EXPECT_EQ(SavedWords(folder / "VrnTrigsv_20261210_044234_2.tvd"), Items(kCapacity, 5));
}

// A file that cannot be created is told once, with the records it holds, and kept: trying it
// again in the same place says nothing new, a later save into a usable folder writes it first,
// and the user may give kept files up.
TEST_F(CaptureSaverTest, AFileThatFailsIsToldOnceAndKeptForALaterSave) {
    AppendItems(store, 0, 10);
    store.saver().setFolder("/proc"); // a directory in which no file can be created
    ASSERT_TRUE(store.StartSave(SaveRequest::Trigger, 0, 9));
    store.saver().WaitIdle();
    EXPECT_FALSE(store.saveBusy());

    testing::RecordingPrompt prompt;
    store.saver().ReportSaveErrors(prompt);
    ASSERT_EQ(prompt.entries.size(), 1u);
    EXPECT_EQ(prompt.entries[0].text,
              KeptAfterErrorMessage("/proc/VrnTrigsv_20261210_044234.tvd が見つかりません。", 10));
    EXPECT_EQ(prompt.entries[0].caption, "Varnolt");
    EXPECT_EQ(prompt.entries[0].icon, PromptIcon::Warning);
    store.saver().RetryUnwritten();
    store.saver().WaitIdle();
    store.saver().ReportSaveErrors(prompt);
    EXPECT_EQ(prompt.entries.size(), 1u); // each failure is reported once
    EXPECT_EQ(store.saver().unwritten().files, 1U);

    // Saving goes on once the folder is usable again, the kept file first.
    store.saver().setFolder(dir.path());
    ASSERT_TRUE(store.StartSave(SaveRequest::Trigger, 2, 4));
    store.saver().WaitIdle();
    EXPECT_EQ(SavedWords(File("VrnTrigsv_20261210_044234.tvd")), Items(0, 10));
    EXPECT_EQ(SavedWords(File("VrnTrigsv_20261210_044234_2.tvd")), Items(2, 3));
    EXPECT_TRUE(store.saver().TakeSaveErrors().empty());

    store.saver().setFolder("/proc");
    ASSERT_TRUE(store.StartSave(SaveRequest::Trigger, 0, 9));
    ASSERT_TRUE(store.StartSave(SaveRequest::Trigger, 0, 9));
    store.saver().WaitIdle();
    EXPECT_EQ(store.saver().Abandon(), 2U);
    EXPECT_EQ(store.saver().unwritten().files, 0U);
}

// While the folder hangs, four files wait behind the one being written; the next save is
// refused and its message names the file and the records that were not saved. Closing may give
// the waiting ones up.
TEST_F(CaptureSaverTest, AStalledFolderHoldsABoundedQueueAndNamesWhatIsRefused) {
    for (const bool giveUp : {false, true}) {
        SCOPED_TRACE(giveUp ? "given up" : "waited for");
        CCaptureData stalled(kCapacity);
        stalled.saver().setFolder(dir.path());
        stalled.saver().setLocalTime(SaveTime);
        testing::StalledFolder folder;
        stalled.saver().setFileWriter(folder.writer());
        AppendItems(stalled, 0, 10);

        ASSERT_TRUE(stalled.StartSave(SaveRequest::Trigger, 0, 9));
        folder.WaitUntilWriting();
        for (size_t i = 0; i < CaptureSaver::kMaxWaitingSaves; ++i) {
            EXPECT_TRUE(stalled.StartSave(SaveRequest::Trigger, 0, 9));
        }
        EXPECT_FALSE(stalled.StartSave(SaveRequest::Trigger, 2, 4));
        EXPECT_EQ(stalled.saver().pending(), CaptureSaver::kMaxWaitingSaves + 1);
        EXPECT_EQ(stalled.saver().TakeSaveErrors(),
                  std::vector<std::string>{
                      "保存が追いつかないため、次のファイルを保存しませんでした: " +
                      (dir / "VrnTrigsv_20261210_044234.tvd").string() + "（3 件の記録）"});

        if (giveUp) {
            EXPECT_EQ(stalled.saver().Abandon(), CaptureSaver::kMaxWaitingSaves);
        }
        folder.Release();
        stalled.saver().WaitIdle();
        EXPECT_EQ(folder.written.size(), giveUp ? 1 : CaptureSaver::kMaxWaitingSaves + 1);
        EXPECT_EQ(stalled.saver().pending(), 0U);
    }
}

} // namespace
} // namespace varnolt
