#include "core/link/reception/OnlineDownload.h"

#include "core/link/reception/OnlineReception.h"
#include "sim/MeasurementEngine.h"

#include <gtest/gtest.h>

#include "ReceptionFixture.h"

namespace varnolt {
namespace {

class StoredDataDownloadTest : public ::testing::Test, public testing::ReceptionFixture {
protected:
    StoredDataDownloadTest() : ReceptionFixture(100'000) {}
};

struct RecordingProgress final : DownloadProgress {
    void ShowProgress(int32_t percent) override { shown.push_back(percent); }
    std::vector<int32_t> shown;
};

// A measurement, stopped by the menu before the poll took everything, then the analyzer's
// memory fetched whole: the capture is exactly what the analyzer recorded.
TEST_F(StoredDataDownloadTest, TheDownloadFetchesEverythingTheAnalyzerRecorded) {
    settings.speed = 115'200;
    settings.controlLineCapture = 1;
    settings.timeDisplay = 4;
    firmware([](sim::AnalyzerFirmware& state) { state.measurement->options().keepLog = true; });
    connect();
    ASSERT_TRUE(link.WriteExtSettings(&owner, settings, nullptr));
    ASSERT_TRUE(reception.Start());
    ticks(300);
    ASSERT_TRUE(reception.Stop());
    std::vector<RecordWord> produced;
    firmware([&](sim::AnalyzerFirmware& state) { produced = state.measurement->produced(); });
    ASSERT_GT(produced.size(), 5000U);

    analyzer.ClearRequests();
    RecordingProgress progress;
    link.setBusy(true);
    EXPECT_TRUE(reception.Download(progress, time));
    link.setBusy(false);
    ASSERT_EQ(store.Count(), static_cast<RecordCount>(produced.size()));
    for (RecordCount k = 0; k < store.Count(); ++k) {
        ASSERT_EQ(store.word(k), produced[static_cast<size_t>(k)]) << k;
    }
    EXPECT_EQ(store.header().recordWidth, 1);
    EXPECT_EQ(store.header().timeDisplay, 4);
    const std::vector<std::string> sent = requests();
    ASSERT_GE(sent.size(), 5U);
    EXPECT_EQ(sent[0], "BC");
    EXPECT_EQ(sent[1], "VEF");
    EXPECT_EQ(sent[3], "BA");
    EXPECT_EQ(sent.back(), "BB");
    ASSERT_FALSE(progress.shown.empty());
    EXPECT_LE(progress.shown.back(), 100);
    EXPECT_EQ(view.downloadsEnded, 1);
    EXPECT_TRUE(owner.entries.empty());
}

} // namespace
} // namespace varnolt
