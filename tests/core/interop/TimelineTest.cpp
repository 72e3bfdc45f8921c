#include "core/interop/CaptureTimeline.h"
#include "sim/TrafficGenerator.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "../view/CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;

// 2026-12-10 05:00:00, the moment the virtual analyzer's stamps count from.
const LocalNs kFiveOClock = LocalNsOf({2026, 12, 10, 5, 0, 0, 0});
// N characters at 9600 bit/s, 8 data bits, no parity, 1 stop bit: ten bits each.
constexpr DurationNs Characters(int64_t n) {
    return n * 10 * kNsPerSecond / 9600;
}

// Times built from whole characters are rounded to the nanosecond.
void ExpectAt(LocalNs actual, LocalNs expected) {
    EXPECT_NEAR(static_cast<double>(actual - expected), 0.0, 1.0);
}

std::vector<TimedItem> Timeline(const CCaptureData& capture, LocalNs fileTime) {
    CaptureTimeline timeline(capture, {fileTime, 0});
    std::vector<TimedItem> items;
    TimedItem item;
    while (timeline.next(item)) {
        items.push_back(item);
    }
    return items;
}

TEST(CaptureTimeline, CharactersFollowAtLineSpeedAndRecordsBeforeTheFirstStampLeadUpToIt) {
    const auto capture = MakeCapture(
        (Words() << Sd('a') << Sd('b') << sim::TimeStampWords(2, 0) << Rd('c')
                 << SdError(static_cast<uint8_t>(LineError::Overrun)) << Idle(5) << Sd('d'))
            .words());
    const std::vector<TimedItem> items = Timeline(*capture, kFiveOClock + 3600 * kNsPerSecond);
    ASSERT_EQ(items.size(), 7u);
    ExpectAt(items[0].start, kFiveOClock - Characters(2));
    ExpectAt(items[1].start, kFiveOClock - Characters(1));
    EXPECT_EQ(items[2].kind, TimedItemKind::Stamp);
    ExpectAt(items[2].start, kFiveOClock);
    ExpectAt(items[3].start, kFiveOClock);
    ExpectAt(items[3].end, kFiveOClock + Characters(1));
    // The overflow mark stands for lost records, not for a character on the line.
    EXPECT_EQ(items[4].end, items[4].start);
    EXPECT_EQ(items[5].kind, TimedItemKind::Idle);
    EXPECT_EQ(items[5].idle, 5 * kNsPerMs);
    ExpectAt(items[6].start, kFiveOClock + Characters(1) + 5 * kNsPerMs);
}

TEST(CaptureTimeline, FrameFormatSetsTheCharacterTime) {
    auto capture = MakeCapture({Sd('a'), Sd('b'), SdError(0), Sd('c')});
    capture->header().speed = 1200;
    capture->header().dataBits = 7;
    capture->header().parity = 2;
    capture->header().stopBits = 2;
    const std::vector<TimedItem> items = Timeline(*capture, 0);
    // Start bit, 7 data bits, parity, 2 stop bits; the parity error took its time too.
    ExpectAt(items[3].start - items[0].start, 3 * 11 * kNsPerSecond / 1200);
}

TEST(CaptureTimeline, StampsSetTheClockOnlyWhenItLiesOutsideTheirSpan) {
    // Stamps of one-second resolution; 100 characters at 9600 bit/s take 104 ms.
    Words words;
    words << sim::TimeStampWords(1, 0);
    for (int i = 0; i < 100; ++i) {
        words << Sd('x');
    }
    words << sim::TimeStampWords(1, 0)                           // clock 05:00:00.104: within, kept
          << Rd('y') << sim::TimeStampWords(1, 5 * kNsPerSecond) // behind: moves forward
          << Rd('z') << Idle(3000)                               // 05:00:08.001
          << sim::TimeStampWords(1, 6 * kNsPerSecond)            // beyond 05:00:07: pulled back
          << Rd('w');
    const auto capture = MakeCapture(words.words());
    const std::vector<TimedItem> items = Timeline(*capture, 0);
    ASSERT_EQ(items.size(), 108u);
    ExpectAt(items[101].start, kFiveOClock + Characters(100));
    ExpectAt(items[103].start, kFiveOClock + 5 * kNsPerSecond);
    ExpectAt(items[107].start, kFiveOClock + 7 * kNsPerSecond);
}

TEST(CaptureTimeline, YearAndDateComeFromOtherStampsOrTheFile) {
    const LocalNs fileTime = LocalNsOf({2027, 1, 3, 9, 0, 0, 0});
    struct Case {
        const char* name;
        std::vector<RecordWord> words;
        LocalNs first;
    };
    // A time-only stamp whose date digits are empty.
    const std::vector<RecordWord> timeOnly = Stamp(4, 0, 0, 9 << 6 | 3 << 3, 0);
    const Case cases[] = {
        {"NoStampStartsAtTheFileTime", {Sd('a')}, fileTime},
        // Year-less 12/10 next to a file of January 2027 is December 2026.
        {"LayoutBTakesTheYearNearestTheFile", sim::TimeStampWords(2, 0), kFiveOClock},
        {"LayoutBTakesTheYearOfALaterLayoutAStamp",
         (Words() << sim::TimeStampWords(5, 0) << Stamp(1, 0x25, 12 << 6 | 1 << 4, 0, 0)).words(),
         LocalNsOf({2025, 12, 10, 5, 0, 0, 0})},
        {"TimeOnlyStampTakesTheFilesDate", timeOnly, LocalNsOf({2027, 1, 3, 9, 30, 0, 0})},
        // A stamp head cut off from its continuations: the characters after it would spell
        // the date 01/01, but it names no year.
        {"ACutOffStampGivesNoYear",
         (Words() << sim::TimeStampWords(2, 0) << Stamp(1, 0x25)[0] << Sd('A') << Sd('A')
                  << Sd('A'))
             .words(),
         kFiveOClock},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto capture = MakeCapture(c.words);
        EXPECT_EQ(FormatLocalTime(Timeline(*capture, fileTime).front().start),
                  FormatLocalTime(c.first));
    }
}

TEST(CaptureTimeline, LinesBreakAsFrameDisplayBreaksThemButNeverWrap) {
    Words words;
    for (int i = 0; i < 300; ++i) {
        words << Sd('x');
    }
    words << Sd('y', true) << Rd('r') << Rd(0x0D) << Rd('s') << Idle(2) << Rd('t');
    auto capture = MakeCapture(words.words());
    capture->header().delimiter(DelimiterSlot::RdEnd) = {1, 0x0D, 0};
    std::vector<size_t> starts;
    const std::vector<TimedItem> items = Timeline(*capture, 0);
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].newLine) {
            starts.push_back(i);
        }
    }
    EXPECT_EQ(starts, (std::vector<size_t>{0, 300, 301, 303, 304}));
}

TEST(CaptureTimeline, RunsStandForTheCharactersThatNextGivesOnTheSameLine) {
    // Random traffic in a ring that has wrapped, with and without delimiters, now and then a
    // long run across the ring's end: every run item is the items next() gives, joined where a
    // character stays on the line, as far as it stays.
    std::mt19937 random(5);
    Words words;
    for (int i = 0; i < 3000; ++i) {
        const unsigned pick = random() % 100;
        const auto code = static_cast<uint8_t>(random() % 4 == 0 ? 0x0D : 'a' + random() % 3);
        if (pick < 2) {
            for (unsigned k = 60 + random() % 150; k > 0; --k) {
                words << (pick == 0 ? Sd('b') : Rd('c'));
            }
        } else if (pick < 45) {
            words << Sd(code, random() % 30 == 0);
        } else if (pick < 90) {
            words << Rd(code, random() % 30 == 0);
        } else if (pick < 93) {
            words << SdError(static_cast<uint8_t>(random() % 5));
        } else if (pick < 96) {
            words << Idle(random() % 50);
        } else {
            words << ControlChange(0x5, 0x6);
        }
    }
    for (const bool delimiters : {false, true}) {
        SCOPED_TRACE(delimiters);
        auto capture = MakeCapture(words.words(), 1000);
        capture->header().speed = 1200;
        if (delimiters) {
            capture->header().delimiter(DelimiterSlot::SdStart) = {1, 'a', 0};
            capture->header().delimiter(DelimiterSlot::RdEnd) = {1, 0x0D, 0};
        }
        const std::vector<TimedItem> items = Timeline(*capture, 0);
        CaptureTimeline runs(*capture, {0, 0});
        size_t at = 0;
        size_t joined = 0;
        TimedItem run;
        while (runs.nextRun(run)) {
            ASSERT_LT(at, items.size());
            const TimedItem& first = items[at];
            EXPECT_EQ(run.kind, first.kind);
            EXPECT_EQ(run.index, first.index);
            EXPECT_EQ(run.start, first.start);
            EXPECT_EQ(run.newLine, first.newLine);
            at += static_cast<size_t>(run.count);
            joined += run.count > 1 ? 1 : 0;
            ASSERT_LE(at, items.size());
            for (size_t k = at - static_cast<size_t>(run.count) + 1; k < at; ++k) {
                EXPECT_EQ(items[k].kind, TimedItemKind::Character);
                EXPECT_EQ(items[k].direction, first.direction);
                EXPECT_FALSE(items[k].newLine);
            }
            EXPECT_EQ(run.end, items[at - 1].end);
            // (A run also stops before a delimiter, which may stay on the line.)
            if (!delimiters && run.kind == TimedItemKind::Character && at < items.size() &&
                items[at].kind == TimedItemKind::Character) {
                EXPECT_TRUE(items[at].newLine || items[at].direction != run.direction)
                    << "a run stopped short at item " << at;
            }
        }
        EXPECT_EQ(at, items.size());
        EXPECT_GT(joined, 50u);
    }
}

} // namespace
} // namespace varnolt
