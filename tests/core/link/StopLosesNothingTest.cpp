// A measurement stopped at any moment while traffic flows: the live capture ends where the
// analyzer's memory ends, and the automatic files put together hold exactly what it recorded.
#include "core/capture/SaveFileName.h"
#include "sim/MeasurementEngine.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "SavingMeasurement.h"

namespace varnolt {
namespace {

using Words = std::vector<RecordWord>;

constexpr RecordCount kRingCapacity = 4'000;

// Line speed, and the poll's passes before "停止".
using Row = std::tuple<int32_t, int>;

class StopLosesNothingTest : public ::testing::TestWithParam<Row>,
                             public testing::ReceptionFixture {
protected:
    StopLosesNothingTest() : ReceptionFixture(kRingCapacity) {}

    // The live capture, oldest record first.
    [[nodiscard]] Words held() const {
        Words words;
        for (RecordCount k = 0; k < store.Count(); ++k) {
            words.push_back(store.word(store.WrapIndex(store.firstIndex(), k)));
        }
        return words;
    }
};

TEST_P(StopLosesNothingTest, TheCaptureAndItsFilesEndWhereTheAnalyzersMemoryEnds) {
    const auto [speed, passes] = GetParam();
    testing::TempDir folder;
    testing::SaveAutomaticallyInto(*this, folder.path());
    settings.speed = speed;
    firmware([](sim::AnalyzerFirmware& state) {
        state.measurement->options().seed = 3;
        state.measurement->options().keepLog = true;
        state.measurement->options().traffic = sim::TrafficKind::Saturated;
        state.measurement->options().longestGapMs = 1; // traffic right up to the stop
    });
    connect();
    ASSERT_TRUE(link.WriteExtSettings(&owner, settings, nullptr));
    ASSERT_TRUE(reception.Start());
    for (int k = 0; k < passes; ++k) {
        ASSERT_NE(tick(), PollResult::CommunicationFailed);
        store.saver().WaitIdle();
    }
    ASSERT_TRUE(reception.Stop());
    store.saver().WaitIdle();
    EXPECT_TRUE(owner.entries.empty()) << ::testing::PrintToString(owner.texts());
    EXPECT_TRUE(view.notices.empty()) << ::testing::PrintToString(view.notices);

    Words recorded;
    firmware([&](sim::AnalyzerFirmware& state) { recorded = state.measurement->produced(); });
    ASSERT_FALSE(recorded.empty());
    const Words live = held();
    ASSERT_LE(live.size(), recorded.size());
    EXPECT_TRUE(std::equal(live.rbegin(), live.rend(), recorded.rbegin()))
        << live.size() << " held, " << recorded.size() << " recorded";
    EXPECT_EQ(live.size(), std::min<size_t>(recorded.size(), kRingCapacity));

    Words saved;
    for (const auto& path : testing::Files(folder.path(), kAutoSavePrefix)) {
        const Words words = testing::FileWords(path);
        saved.insert(saved.end(), words.begin(), words.end());
    }
    EXPECT_TRUE(saved == recorded) << saved.size() << " saved of " << recorded.size();
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return std::to_string(std::get<0>(info.param)) + "_after_" +
           std::to_string(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(EverySpeedAndMoment, StopLosesNothingTest,
                         ::testing::Combine(::testing::Values(9'600, 460'800),
                                            ::testing::Values(3, 8, 21, 54, 137, 301)),
                         RowName);

} // namespace
} // namespace varnolt
