// A long fast measurement saving automatically into a folder on a small filesystem that fills
// up (scripts/check_full_save_folder.sh mounts one and names it in VARNOLT_FULL_FOLDER; without
// it the test is skipped). Reception must go on to the end, and every record must be in a file,
// kept for a later save, or named in a refusal the user was shown.
#include "core/capture/SaveFileName.h"
#include "sim/MeasurementEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

#include "SavingMeasurement.h"

namespace varnolt {
namespace {

using Words = std::vector<RecordWord>;

// One automatic file of 1 MB holds this many records.
constexpr RecordCount kOneMegabyteRing = 250'000;

class FullSaveFolderTest : public ::testing::Test, public testing::ReceptionFixture {
protected:
    FullSaveFolderTest() : ReceptionFixture(kOneMegabyteRing) {}
};

TEST_F(FullSaveFolderTest, ReceptionGoesOnAndEveryRecordNotSavedIsTold) {
    const char* folder = std::getenv("VARNOLT_FULL_FOLDER");
    if (folder == nullptr) {
        GTEST_SKIP() << "VARNOLT_FULL_FOLDER names no small filesystem";
    }
    testing::SaveAutomaticallyInto(*this, folder);
    settings.speed = 460'800;
    firmware([](sim::AnalyzerFirmware& state) {
        state.measurement->options().keepLog = true;
        state.measurement->options().traffic = sim::TrafficKind::Saturated;
        state.measurement->options().longestGapMs = 1;
    });
    connect();
    ASSERT_TRUE(link.WriteExtSettings(&owner, settings, nullptr));
    ASSERT_TRUE(reception.Start());
    ASSERT_EQ(store.capacity(), kOneMegabyteRing);
    // Twenty seconds at the analyzer's fastest: about seven files' worth.
    for (int pass = 0; pass < 2'000; ++pass) {
        ASSERT_NE(tick(), PollResult::CommunicationFailed) << "reception stopped at " << pass;
        store.saver().WaitIdle();
    }
    ASSERT_TRUE(reception.Stop());
    store.saver().WaitIdle();
    tick(); // the poll tells what the last saves left
    EXPECT_TRUE(owner.entries.empty()) << ::testing::PrintToString(owner.texts());

    Words recorded;
    firmware([&](sim::AnalyzerFirmware& state) { recorded = state.measurement->produced(); });
    Words saved;
    for (const auto& path : testing::Files(folder, kAutoSavePrefix)) {
        const Words words = testing::FileWords(path);
        saved.insert(saved.end(), words.begin(), words.end());
    }
    const UnwrittenSaves kept = store.saver().unwritten();
    const size_t refused = testing::RefusedWhileKeptRecords(view.notices);
    for (const std::string& notice : view.notices) {
        std::cout << "notice: " << notice << "\n";
    }
    std::cout << recorded.size() << " recorded: " << saved.size() << " saved, " << kept.records
              << " kept in " << kept.files << " files, " << refused << " refused\n";
    EXPECT_GT(kept.files, 0U) << "the folder never filled up";
    EXPECT_FALSE(view.notices.empty());
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), recorded.begin()));
    EXPECT_EQ(saved.size() + static_cast<size_t>(kept.records) + refused, recorded.size());
}

} // namespace
} // namespace varnolt
