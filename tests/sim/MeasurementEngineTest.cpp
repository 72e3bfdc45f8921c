#include "sim/MeasurementEngine.h"

#include "core/capture/CCaptureData.h"
#include "core/link/reception/DataBlockParser.h"
#include "core/link/reception/LiveReports.h"
#include "core/link/reception/ReceivedRecords.h"
#include "core/link/reception/StatusAnswer.h"
#include "core/settings/CSaParameter.h"
#include "core/settings/SettingsCapture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace varnolt::sim {
namespace {

std::string Letters(const AnswerFrame& answer, size_t count = 2) {
    return {answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(count)};
}

// The analyzer measuring at 115,200 bit/s with control-line capture, the PC taking its blocks
// into a store as the poll would.
class MeasurementEngineTest : public ::testing::Test {
protected:
    MeasurementEngineTest() {
        engine.options().keepLog = true;
        settings.speed = 115'200;
        settings.controlLineCapture = 1;
        settings.idleDisplay = 1;
        settings.timeDisplay = 5;
        store.header().recordWidth = 1;
    }

    // Takes ANSWER as the poll does: blocks into the store, overflow reports as marks.
    std::string take(const AnswerFrame& answer) {
        const std::string letters = Letters(answer);
        if (letters == "BD") {
            const auto block = ParseDataBlock(answer, store.header().recordWidth);
            EXPECT_TRUE(block.has_value());
            if (block) {
                AppendDataBlock(store, *block, false);
            }
        } else if (letters == "BO") {
            AppendOverflowMark(store, false);
        }
        return letters;
    }
    std::vector<RecordWord> stored() const {
        std::vector<RecordWord> words;
        for (RecordCount k = 0; k < store.Count(); ++k) {
            words.push_back(store.word(store.WrapIndex(store.firstIndex(), k)));
        }
        return words;
    }

    CSaParameter settings;
    AnalyzerFirmware firmware;
    MeasurementEngine engine;
    CCaptureData store{400'000};
};

// On a saturated line data always waits, yet the status still comes every 100 ms among the
// blocks (never two blocks' worth of records held back), and every record still arrives.
TEST_F(MeasurementEngineTest, TheStatusComesAmongTheBlocksWhileDataKeepsWaiting) {
    for (const uint32_t every : {100U, 0U}) {
        MeasurementOptions options;
        options.traffic = TrafficKind::Saturated;
        options.statusEveryMs = every;
        options.keepLog = true;
        MeasurementEngine saturated(options);
        store.Reset(CaptureConditionsOf(settings));
        saturated.Start(settings, 0);
        uint32_t now = 10;
        (void)take(saturated.FirstBlock(now, firmware));
        std::vector<uint32_t> statusTicks;
        while (now < 2000) {
            now += 10;
            if (take(saturated.NextBlock(now, firmware)) == "BL") {
                statusTicks.push_back(now);
            }
        }
        saturated.Stop(now);
        while (take(saturated.NextBlock(now, firmware)) == "BD") {
        }
        EXPECT_EQ(stored(), saturated.produced()) << every;
        if (every == 0) {
            EXPECT_TRUE(statusTicks.empty());
            continue;
        }
        ASSERT_EQ(statusTicks.size(), 20U); // 0.1 s to 2 s
        for (size_t k = 0; k < statusTicks.size(); ++k) {
            EXPECT_EQ(statusTicks[k], 100 * (k + 1)) << k;
        }
    }
}

TEST_F(MeasurementEngineTest, BlocksDeliverExactlyWhatWasRecordedAndARepeatChangesNothing) {
    engine.Start(settings, 1000);
    EXPECT_EQ(take(engine.FirstBlock(1000, firmware)), "BL"); // nothing recorded yet
    uint32_t now = 1000;
    for (int k = 0; k < 50; ++k) {
        now += 10;
        const AnswerFrame answer = engine.NextBlock(now, firmware);
        EXPECT_EQ(engine.RepeatBlock(now, firmware), answer);
        take(answer);
    }
    engine.Stop(now);
    while (take(engine.NextBlock(now, firmware)) == "BD") {
    }
    EXPECT_GT(engine.produced().size(), 1000U);
    EXPECT_EQ(stored(), engine.produced());
    EXPECT_EQ(store.record(store.lastIndex()).deviceIndex,
              static_cast<int32_t>(engine.produced().size() - 1));
}

TEST_F(MeasurementEngineTest, APcThatFallsBehindGetsAnOverflowReportWhereTheGapIs) {
    engine.options().unreadLimit = 500;
    engine.Start(settings, 0);
    take(engine.FirstBlock(0, firmware));
    take(engine.NextBlock(1000, firmware)); // a second of traffic: far more than 500 items
    ASSERT_FALSE(engine.overflows().empty());
    const int64_t gap = engine.overflows().front();
    std::string letters;
    uint32_t now = 1000;
    while ((letters = take(engine.NextBlock(now, firmware))) != "BO") {
        ASSERT_EQ(letters, "BD");
    }
    EXPECT_EQ(store.Count(), gap + 1);
    EXPECT_EQ(store.word(store.lastIndex()), kOverflowMarkerWord);
}

TEST_F(MeasurementEngineTest, TriggersReportSavesAndStopTheMeasurement) {
    settings.triggers[2].enabled = kSaByteOn;
    settings.triggers[2].condition = kTriggerOnError;
    settings.triggers[2].errorMask = 0xFF;
    settings.triggers[2].action = kTriggerSave;
    settings.triggers[2].actionValue1 = 10;
    settings.triggers[2].actionValue2 = 20;
    settings.triggers[5].enabled = kSaByteOn;
    settings.triggers[5].condition = kTriggerOnError;
    settings.triggers[5].action = kTriggerStopAfterDelay;
    settings.triggers[5].actionValue1 = 1;
    engine.options().errorsPerMillion = 20'000;
    engine.Start(settings, 0);
    take(engine.FirstBlock(0, firmware));
    bool reported = false;
    std::string letters;
    for (uint32_t now = 10; now < 5000 && letters != "PSS"; now += 10) {
        const AnswerFrame answer = engine.NextBlock(now, firmware);
        letters = Letters(answer, 3);
        if (letters == "PTR" && !reported) {
            const auto report = ParseTrigger(answer);
            ASSERT_TRUE(report);
            EXPECT_EQ(report->number, 2);
            // Ten items before the error (fewer at the very start), twenty after.
            EXPECT_LE(report->after - report->before, 30);
            EXPECT_EQ(report->after, engine.triggersFired().front().serial + 20);
            reported = true;
        }
        take(answer);
    }
    EXPECT_TRUE(reported);
    ASSERT_EQ(letters, "PSS");
    EXPECT_EQ(ParseRunState(engine.RepeatBlock(6000, firmware)), 11);
    EXPECT_FALSE(engine.measuring());
    EXPECT_EQ(stored(), engine.produced()); // everything delivered before the stop report
}

TEST_F(MeasurementEngineTest, TheStoredMemoryIsDownloadedOldestFirst) {
    engine.Start(settings, 0);
    engine.Stop(200);
    const auto recorded = static_cast<int64_t>(engine.produced().size());
    EXPECT_EQ(engine.storedAmount(), (recorded * 100 + 450'007) / 450'008);
    std::string letters = take(engine.StoredFirst(firmware));
    while (letters == "BD") {
        letters = take(engine.StoredNext(firmware));
    }
    EXPECT_EQ(letters, "BL");
    EXPECT_EQ(stored(), engine.produced());
}

// What the device status pane shows moves while the analyzer measures, and the timers stand
// still once it stopped.
TEST_F(MeasurementEngineTest, TimersCountersAndCountsRunWhileMeasuring) {
    settings.timers[1].autoStart = kSaFlagOn;
    settings.timers[1].unit = kTimerUnitHundredth;
    engine.countInto(&firmware.counters);
    firmware.counters = {7, 7, 7, 7};
    engine.Start(settings, 0);
    CSaParameter shown;
    LineStates lines{};
    StatusBlock counts;
    uint32_t idle = 0;
    const auto status = [&](uint32_t now) {
        EXPECT_TRUE(ParseStatus(engine.Status(now, firmware), {lines, shown, counts}, idle));
    };
    status(500);
    EXPECT_EQ(shown.timers[1].currentValue, 50U);
    EXPECT_EQ(shown.timers[0].currentValue, 0U);   // not started by itself
    EXPECT_GT(shown.counters[0].currentValue, 0U); // frames, counted afresh from the start
    EXPECT_GT(shown.counters[3].currentValue, 0U); // time stamps
    EXPECT_GT(counts.counts[kCountSd], 0);
    const StatusBlock before = counts;
    status(1000);
    EXPECT_EQ(shown.timers[1].currentValue, 100U);
    EXPECT_GT(counts.counts[kCountRd], before.counts[kCountRd]);

    engine.Stop(1200);
    status(3000);
    EXPECT_EQ(shown.timers[1].currentValue, 120U);
}

// The status answer shows SD and RD on while characters pass on them and off in the pauses
// between exchanges and once the measurement has stopped, so the PC's lamps follow the traffic.
TEST_F(MeasurementEngineTest, TheSdAndRdLinesShowOnWhileCharactersPassOnThem) {
    engine.options().longestGapMs = 400;
    engine.Start(settings, 0);
    CSaParameter shown;
    LineStates lines{};
    StatusBlock counts;
    uint32_t idle = 0;
    std::set<std::pair<int32_t, int32_t>> seen; // (SD, RD) as the answers showed them
    for (uint32_t now = 10; now <= 20'000; now += 10) {
        ASSERT_TRUE(ParseStatus(engine.Status(now, firmware), {lines, shown, counts}, idle));
        seen.emplace(lines[kLineSd], lines[kLineRd]);
    }
    EXPECT_TRUE(seen.contains({1, 2})) << "SD never shown alone";
    EXPECT_TRUE(seen.contains({2, 1})) << "RD never shown alone";
    EXPECT_TRUE(seen.contains({2, 2})) << "no pause shown";
    engine.Stop(20'000);
    ASSERT_TRUE(ParseStatus(engine.Status(20'010, firmware), {lines, shown, counts}, idle));
    EXPECT_EQ(lines[kLineSd], 2);
    EXPECT_EQ(lines[kLineRd], 2);
}

} // namespace
} // namespace varnolt::sim
