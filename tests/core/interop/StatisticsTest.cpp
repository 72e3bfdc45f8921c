#include "core/interop/CaptureStatistics.h"
#include "core/interop/StatisticsReport.h"
#include "sim/TrafficGenerator.h"
#include "support/StatisticsReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "../view/CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;

TEST(Summarize, NearestRankValuesAndDecades) {
    struct Case {
        std::vector<DurationNs> values;
        DurationNs median;
        DurationNs p95;
    };
    const Case cases[] = {
        {{7}, 7, 7},
        {{4, 1, 3, 2}, 2, 4},
        {{5, 1, 4, 2, 3}, 3, 5},
        // Mostly equal values with a few large ones: selecting the percentile must not move
        // the median.
        {{0, 18, 0, 0, 0, 0, 0, 0, 87, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 32, 0},
         0,
         32},
    };
    for (const Case& c : cases) {
        std::vector<DurationNs> values = c.values;
        const DurationSummary summary = Summarize(values);
        EXPECT_EQ(summary.median, c.median);
        EXPECT_EQ(summary.p95, c.p95);
    }
    std::vector<DurationNs> values(100);
    for (size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<DurationNs>(i + 1) * kNsPerMs;
    }
    const DurationSummary summary = Summarize(values);
    EXPECT_EQ(summary.count, 100);
    EXPECT_EQ(summary.min, kNsPerMs);
    EXPECT_EQ(summary.median, 50 * kNsPerMs);
    EXPECT_EQ(summary.p95, 95 * kNsPerMs);
    EXPECT_EQ(summary.max, 100 * kNsPerMs);
    EXPECT_EQ(summary.histogram[DecadeOf(kNsPerMs)], 9);       // 1 ... 9 ms
    EXPECT_EQ(summary.histogram[DecadeOf(10 * kNsPerMs)], 90); // 10 ... 99 ms
    EXPECT_EQ(summary.histogram[DecadeOf(100 * kNsPerMs)], 1);
    EXPECT_EQ(DecadeLabel(DecadeOf(kNsPerMs)), "1–10 ms");
    std::vector<DurationNs> none;
    EXPECT_EQ(Summarize(none).count, 0);
}

TEST(Summarize, MedianAndPercentileAreExactForAnySpreadOfValues) {
    // Against a sorted copy: values spread wide, in two far clusters, mostly equal, and many
    // of them.
    std::mt19937_64 random(11);
    const auto spread = [&](size_t n, DurationNs low, DurationNs high, DurationNs repeated,
                            unsigned repeatedPercent) {
        std::vector<DurationNs> values(n);
        std::uniform_int_distribution<DurationNs> pick(low, high);
        for (DurationNs& value : values) {
            value = random() % 100 < repeatedPercent ? repeated : pick(random);
        }
        return values;
    };
    const std::vector<DurationNs> cases[] = {
        spread(10'007, 0, 1'000'000'000'000'000, 0, 0),
        spread(5'000, 0, 40, 7, 90),
        spread(3'001, 5, 5, 5, 0),
        spread(40'000, 0, 3, 0, 25),
        [&] {
            std::vector<DurationNs> values = spread(999, 0, 1000, 0, 0);
            const std::vector<DurationNs> far =
                spread(99, kNsPerDay * 36'500, kNsPerDay * 36'501, 0, 0);
            values.insert(values.end(), far.begin(), far.end());
            return values;
        }(),
    };
    for (const std::vector<DurationNs>& values : cases) {
        std::vector<DurationNs> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        const DurationSummary summary = Summarize(values);
        EXPECT_EQ(summary.min, sorted.front());
        EXPECT_EQ(summary.max, sorted.back());
        EXPECT_EQ(summary.median, sorted[(n + 1) / 2 - 1]) << n;
        EXPECT_EQ(summary.p95, sorted[(95 * n + 99) / 100 - 1]) << n;
    }
}

TEST(CaptureStatistics, AYearAfterStampsWithoutOneIsTakenAsTheTimelineTakesIt) {
    // Stamps without a year take the year of the first stamp that has one, even a later one.
    const auto capture = MakeCapture(
        (Words() << Sd('a') << sim::TimeStampWords(5, 0) << Stamp(1, 0x25, 12 << 6 | 1 << 4, 0, 0))
            .words());
    const CaptureStatistics stats =
        ComputeStatistics(*capture, {LocalNsOf({2027, 1, 3, 9, 0, 0, 0}), 0});
    const DurationNs character = 10 * kNsPerSecond / 9600;
    EXPECT_EQ(FormatLocalTime(stats.start),
              FormatLocalTime(LocalNsOf({2025, 12, 10, 5, 0, 0, 0}) - character));
    EXPECT_EQ(stats.characters[kSdIndex], 1);
}

TEST(CaptureStatistics, CountsFramesGapsAndResponses) {
    constexpr uint16_t kQuiet = 0xAAA;
    constexpr uint16_t kRsCsOn = 0xA99;
    Words words;
    words << Idle(40) << Sd('a') << Sd('b') << ControlChange(kQuiet, kRsCsOn) << Idle(3) << Rd('x')
          << RdError(static_cast<uint8_t>(LineError::Framing)) << Idle(12) << Sd('c') << Rd('y')
          << SdError(static_cast<uint8_t>(LineError::Overrun)) << ControlChange(kRsCsOn, kQuiet);
    const auto capture = MakeCapture(words.words());
    const CaptureStatistics stats = ComputeStatistics(*capture, {});
    EXPECT_EQ(stats.recordsByKind[1], 3);
    EXPECT_EQ(stats.recordsByKind[5], 3);
    EXPECT_EQ(stats.recordsByKind[6], 6);
    EXPECT_EQ(stats.characters[kSdIndex], 3);
    EXPECT_EQ(stats.characters[kRdIndex], 2);
    EXPECT_EQ(stats.errors[kRdIndex][static_cast<size_t>(LineError::Framing)], 1);
    EXPECT_EQ(stats.errors[kSdIndex][static_cast<size_t>(LineError::Overrun)], 1);
    // Frames: ab | x FE | c | y | OE.
    EXPECT_EQ(stats.frames[kSdIndex], 3);
    EXPECT_EQ(stats.frames[kRdIndex], 2);
    EXPECT_EQ(stats.idleGaps.count, 3);
    EXPECT_EQ(stats.idleGaps.min, 3 * kNsPerMs);
    EXPECT_EQ(stats.idleGaps.median, 12 * kNsPerMs);
    EXPECT_EQ(stats.idleGaps.max, 40 * kNsPerMs);
    // SD "ab" to RD "x": the 3 ms idle; RD to SD "c": the 12 ms idle; "c" to "y": at once.
    EXPECT_EQ(stats.sdToRd.count, 2);
    EXPECT_EQ(stats.sdToRd.min, 0);
    EXPECT_EQ(stats.sdToRd.max, 3 * kNsPerMs);
    EXPECT_EQ(stats.rdToSd.count, 2);
    EXPECT_EQ(stats.rdToSd.max, 12 * kNsPerMs);
    EXPECT_EQ(stats.controlLineChanges, (std::array<int64_t, 6>{2, 0, 2, 0, 0, 0}));
    const DurationNs character = 10 * kNsPerSecond / 9600;
    EXPECT_NEAR(static_cast<double>(stats.end - stats.start),
                static_cast<double>(55 * kNsPerMs + 6 * character), 6.0);

    const std::string json = StatisticsJson(stats);
    for (const char* part : {"\"characters\": {\"SD\": 3, \"RD\": 2}",
                             "\"RD\": {\"PE\": 0, \"FE\": 1, \"PF\": 0, \"BR\": 0, \"OE\": 0}",
                             "\"frames\": {\"SD\": 3, \"RD\": 2}", "\"count\": 3",
                             "\"min_ms\": 3.000", "\"median_ms\": 12.000", "\"max_ms\": 40.000"}) {
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    }
}

// The words of about COUNT records of the virtual analyzer's traffic.
std::vector<RecordWord> TrafficWords(const sim::TrafficSettings& settings, size_t count) {
    sim::TrafficGenerator traffic(settings);
    std::vector<RecordWord> words;
    while (words.size() < count) {
        const sim::TrafficItem& item = traffic.Peek();
        words.insert(words.end(), item.words.begin(), item.words.end());
        traffic.Pop();
    }
    return words;
}

TEST(CaptureStatistics, CountWhatARecordByRecordReferenceCounts) {
    // Realistic traffic with stamps that move the clock or not, delimiters and a ring that has
    // wrapped: the walk over runs of characters comes to what a plain walk over every record
    // comes to.
    struct Case {
        const char* name;
        sim::TrafficSettings settings;
        // Changes the words or the capture: stamps that jump about, delimiters ...
        std::function<void(std::vector<RecordWord>&)> words;
        std::function<void(CCaptureData&)> capture;
        RecordCount capacity = 40'000;
    };
    const auto randomStamps = [](std::vector<RecordWord>& words) {
        std::mt19937 random(7);
        for (size_t k = 0; k + 4 <= words.size(); ++k) {
            if (KindOf(words[k]) == RecordKind::StampHead) {
                const auto stamp = sim::TimeStampWords(
                    SubKindOf(words[k]), static_cast<uint64_t>(random() % 600) * kNsPerSecond);
                std::copy(stamp.begin(), stamp.end(), words.begin() + static_cast<long>(k));
            }
        }
    };
    // Whole-second stamps that the clock mostly stays within.
    sim::TrafficSettings exchanges;
    exchanges.idleDisplay = 1;
    exchanges.timeDisplay = 1;
    exchanges.recordWidth = 1;
    exchanges.seed = 3;
    // Stamps of hundredths (layout B, no year).
    sim::TrafficSettings hundredths = exchanges;
    hundredths.timeDisplay = 2;
    sim::TrafficSettings kindFour = exchanges;
    kindFour.timeDisplay = 4;
    kindFour.idleDisplay = 2;
    const Case cases[] = {
        {"exchanges", exchanges, {}, {}},
        {"stamps back and forth", exchanges, randomStamps, {}},
        {"stamps without a year",
         hundredths,
         [](std::vector<RecordWord>& words) {
             const auto stamp = Stamp(1, 0x25, 12 << 6 | 1 << 4, 0, 0);
             words.insert(words.end() - 100, stamp.begin(), stamp.end());
         },
         {}},
        {"stamps of kind 4, idle gaps in hundredths", kindFour, {}, {}},
        {"a stamp far ahead",
         hundredths,
         [](std::vector<RecordWord>& words) {
             // The eighth stamp after the middle, an hour on: the capture's span ends after it.
             int stamps = 0;
             for (size_t k = words.size() / 2; k + 4 <= words.size(); ++k) {
                 if (KindOf(words[k]) == RecordKind::StampHead && ++stamps == 8) {
                     const auto stamp =
                         sim::TimeStampWords(SubKindOf(words[k]), 3600 * kNsPerSecond);
                     std::copy(stamp.begin(), stamp.end(), words.begin() + static_cast<long>(k));
                     break;
                 }
             }
         },
         {}},
        {"delimiters",
         exchanges,
         {},
         [](CCaptureData& capture) {
             capture.header().delimiter(DelimiterSlot::SdStart) = {1, '0', 0};
             capture.header().delimiter(DelimiterSlot::RdEnd) = {1, 'F', 0};
         }},
        {"ring wrapped", exchanges, {}, {}, 25'000},
        {"stamps only early on",
         exchanges,
         [](std::vector<RecordWord>& words) {
             for (size_t k = 5'000; k < words.size(); ++k) {
                 if (KindOf(words[k]) == RecordKind::StampHead ||
                     KindOf(words[k]) == RecordKind::StampContinuation) {
                     words[k] = ControlChange(0xAAA, 0xA99);
                 }
             }
         },
         {}},
    };
    const TimeBase base{LocalNsOf({2026, 12, 10, 9, 0, 0, 0}), 3600};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<RecordWord> words = TrafficWords(c.settings, 30'000);
        if (c.words) {
            c.words(words);
        }
        auto capture = MakeCapture(words, c.capacity);
        capture->header().speed = c.settings.speed;
        capture->header().idleDisplay = c.settings.idleDisplay;
        capture->header().timeDisplay = c.settings.timeDisplay;
        capture->header().recordWidth = c.settings.recordWidth;
        if (c.capture) {
            c.capture(*capture);
        }
        const CaptureStatistics stats = ComputeStatistics(*capture, base);
        ASSERT_GT(stats.frames[kRdIndex], 100);
        EXPECT_EQ(stats, testing::ReferenceStatistics(*capture, base));
    }
}

TEST(CaptureStatistics, EmptyCaptureHasNoTimes) {
    const auto capture = MakeCapture({});
    const CaptureStatistics stats = ComputeStatistics(*capture, {});
    EXPECT_TRUE(stats.empty);
    const std::string json = StatisticsJson(stats);
    EXPECT_NE(json.find("\"min_ms\": null"), std::string::npos);
    EXPECT_NE(json.find("\"start\": null"), std::string::npos);
}

} // namespace
} // namespace varnolt
