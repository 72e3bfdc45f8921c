#include "core/view/ViewLayout.h"
#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;
using test::RecordingCanvas;

// Plausible traffic: runs of characters both ways with line-start flags, delimiters, errors,
// control-line changes, idle gaps and time stamps.
std::vector<RecordWord> RandomTraffic(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    Words words;
    while (words.words().size() < count) {
        const unsigned pick = random() % 100;
        const auto code = static_cast<uint8_t>(random() % 16);
        if (pick < 40) {
            words << Sd(code, random() % 30 == 0);
        } else if (pick < 80) {
            words << Rd(code, random() % 30 == 0);
        } else if (pick < 84) {
            words << (random() % 2 ? SdError(code % 5) : RdError(code % 5));
        } else if (pick < 90) {
            words << ControlChange(random() & 0xFFF, random() & 0xFFF);
        } else if (pick < 96) {
            words << Idle(random() % 100000);
        } else if (pick < 99) {
            words << Stamp(1, 0x26, 0x1C5, 0x2A3, 0x480);
        } else {
            words << MakeRecordWord(RecordKind::None, 0);
        }
    }
    return words.words();
}

// The line starts of a walk over the whole capture, by offset from the oldest record.
std::vector<RecordCount> FullWalk(const CCaptureData& capture, CellColumn columns) {
    FrameLineWalker walker(columns, capture.header().delimiters);
    std::vector<RecordCount> starts;
    for (RecordCount offset = 0; offset < capture.Count(); ++offset) {
        if (walker.Step(capture.word(RecordAtOffset(capture, offset)))) {
            starts.push_back(offset);
        }
    }
    return starts;
}

class FrameLineMapping : public testing::TestWithParam<bool> {};

// A wrapped ring (the oldest record in the middle) and an unwrapped one.
TEST_P(FrameLineMapping, IndexedWalksAgreeWithAFullWalk) {
    const bool wrapped = GetParam();
    constexpr RecordCount kCapacity = 400'000;
    const auto words = RandomTraffic(wrapped ? kCapacity + 123'457 : kCapacity - 1000, 7);
    const auto capture = MakeCapture(words, kCapacity);
    capture->header().delimiter(DelimiterSlot::SdEnd) = {1, 0x0D, 0};
    capture->header().delimiter(DelimiterSlot::RdStart) = {1, 0x02, 0};
    ASSERT_EQ(capture->wrapped(), wrapped);

    ViewLayout layout;
    layout.ResetLayout(*capture, {DisplayMode::Frame, 1, 1}, {900, 600});
    const CellColumn columns = layout.screen().columns;
    const std::vector<RecordCount> starts = FullWalk(*capture, columns);
    ASSERT_EQ(layout.frameLineCount(), static_cast<LineNumber>(starts.size()));
    ASSERT_GE(layout.frameLineIndex().size(), 5);

    std::mt19937 random(11);
    const RingIndex oldest = capture->firstIndex();
    for (int i = 0; i < 150; ++i) {
        const auto line = static_cast<int32_t>(random() % starts.size());
        const RingIndex first = RecordAtOffset(*capture, starts[static_cast<size_t>(line)]);
        ASSERT_EQ(layout.LineToRecord(*capture, oldest, line, columns), first) << line;

        const RecordCount offset = static_cast<RecordCount>(random() % capture->Count());
        const auto holder = std::upper_bound(starts.begin(), starts.end(), offset) - 1;
        const auto found = layout.RecordToLine(*capture, RecordAtOffset(*capture, offset));
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->record, RecordAtOffset(*capture, *holder)) << offset;
        EXPECT_EQ(found->line, holder - starts.begin() + 1) << offset;

        // From a line in the middle, n lines on.
        const int32_t n = static_cast<int32_t>(random() % 60);
        const size_t target = static_cast<size_t>(line) + static_cast<size_t>(n);
        const RingIndex expected =
            target < starts.size() ? RecordAtOffset(*capture, starts[target]) : kNoRecord;
        EXPECT_EQ(layout.LineToRecord(*capture, first, n, columns), expected) << line << '+' << n;
    }
    EXPECT_EQ(layout.LineToRecord(*capture, oldest, static_cast<int32_t>(starts.size()), columns),
              kNoRecord);
    EXPECT_EQ(layout.LineToRecord(*capture, oldest, -1, columns), kNoRecord);
    // Out of range, every query still answers.
    EXPECT_EQ(layout.LineToRecord(*capture, oldest, INT32_MAX, columns), kNoRecord);
    EXPECT_EQ(layout.LineToRecord(*capture, kCapacity, 1, columns), kNoRecord);
    EXPECT_FALSE(layout.RecordToLine(*capture, -5).has_value());
    EXPECT_FALSE(layout.RecordToLine(*capture, kCapacity).has_value());
}

INSTANTIATE_TEST_SUITE_P(Ring, FrameLineMapping, testing::Values(false, true));

ViewLayout ContinuousLayout(const CCaptureData& capture, CellColumn columns, PageLine lines) {
    ViewLayout layout;
    layout.ResetLayout(capture, {DisplayMode::Continuous, 0, 0}, {88 + 23 * columns, 43 * lines});
    return layout;
}

TEST(ContinuousMapping, LinesAreArithmeticOnOffsets) {
    const auto capture = MakeCapture(std::vector<RecordWord>(25, Sd('a')));
    ViewLayout layout = ContinuousLayout(*capture, 10, 1);
    EXPECT_EQ(layout.TotalLines(*capture), 2);
    const ScrollBarState scroll = layout.UpdateScrollInfo(*capture);
    EXPECT_EQ(scroll.maximum, 3);
    EXPECT_EQ(layout.LineToRecord(*capture, 0, 2, 10), 20);
    EXPECT_EQ(layout.LineToRecord(*capture, 0, 3, 10), kNoRecord);

    const auto single = MakeCapture({Sd('a')});
    ViewLayout one = ContinuousLayout(*single, 10, 1);
    EXPECT_EQ(one.TotalLines(*single), 0);
    EXPECT_EQ(one.UpdateScrollInfo(*single).maximum, 1);
}

TEST(LayoutSetters, SayWhetherAnythingChanged) {
    ViewLayout layout;
    EXPECT_TRUE(layout.SetClientSize({900, 600}));
    EXPECT_FALSE(layout.SetClientSize({900, 600}));
    EXPECT_TRUE(layout.setDisplay({DisplayMode::Frame, 1, 0}));
    EXPECT_FALSE(layout.setDisplay({DisplayMode::Frame, 1, 0}));
    EXPECT_EQ(layout.lineMap().mode(), DisplayMode::Frame);
    EXPECT_TRUE(layout.setOptions({true, LinePattern::Filled}));
    EXPECT_FALSE(layout.setOptions({true, LinePattern::Filled}));
    EXPECT_TRUE(layout.setControlLines(true));
    EXPECT_FALSE(layout.setControlLines(true));
}

TEST(ContinuousMapping, WrappedRingCountsFromTheOldestRecord) {
    std::vector<RecordWord> words(130, Sd('a'));
    const auto capture = MakeCapture(words, 100); // oldest at index 30
    ViewLayout layout = ContinuousLayout(*capture, 10, 2);
    EXPECT_EQ(layout.LineToRecord(*capture, capture->firstIndex(), 8, 10), 10);
    EXPECT_EQ(layout.LineToRecord(*capture, capture->firstIndex(), 10, 10), kNoRecord);
}

struct HitCase {
    const char* name;
    SearchCommand command;
    RecordCount records;
    RecordCount hit; // offset of the hit from the oldest record
    RecordCount top; // expected top offset
};

// 10 columns, 3 lines a page (30 cells); the page starts at line 0 so that hits from line 3 on
// are not visible.
const HitCase kHitCases[] = {
    {"NextGoesToTheHitsLine", SearchCommand::FindNext, 95, 75, 70},
    {"NextOnAShortCaptureShowsItAll", SearchCommand::FindNext, 30, 25, 0},
    {"PreviousStopsAtTheLastFullPage", SearchCommand::FindPrevious, 95, 92, 70},
    {"PreviousKeepsTheHitsLine", SearchCommand::FindPrevious, 95, 45, 40},
    {"DialogWithAPageAfterTheHit", SearchCommand::Dialog, 95, 45, 40},
    {"DialogNearTheEndEndsWithTheNewestLine", SearchCommand::Dialog, 95, 85, 70},
};

class BringHitIntoView : public testing::TestWithParam<HitCase> {};

TEST_P(BringHitIntoView, PlacesThePageSoTheHitShows) {
    const HitCase& c = GetParam();
    const auto capture =
        MakeCapture(std::vector<RecordWord>(static_cast<size_t>(c.records), Sd('a')));
    ViewLayout layout = ContinuousLayout(*capture, 10, 3);
    const HitRange hit{c.hit, c.hit, HitKind::SdCharacters};
    layout.BringHitIntoView(*capture, hit, c.command);
    EXPECT_EQ(layout.topRecord(), c.top);
    const RecordCount pageEnd = layout.topRecord() + layout.screen().cellsPerPage;
    EXPECT_LT(c.hit, pageEnd);
}

INSTANTIATE_TEST_SUITE_P(Cases, BringHitIntoView, testing::ValuesIn(kHitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Scrolling, RequestsMoveTheTopLine) {
    const auto capture = MakeCapture(std::vector<RecordWord>(95, Sd('a')));
    ViewLayout layout = ContinuousLayout(*capture, 10, 3);
    EXPECT_TRUE(layout.Scroll(*capture, ScrollRequest::LineDown));
    EXPECT_EQ(layout.topRecord(), 10);
    EXPECT_TRUE(layout.Scroll(*capture, ScrollRequest::Bottom));
    EXPECT_EQ(layout.topRecord(), 70);
    EXPECT_TRUE(layout.Scroll(*capture, ScrollRequest::PageUp));
    EXPECT_EQ(layout.topRecord(), 40);
    EXPECT_TRUE(layout.Scroll(*capture, ScrollRequest::Top));
    EXPECT_EQ(layout.topRecord(), 0);
    EXPECT_FALSE(layout.Scroll(*capture, ScrollRequest::LineUp));
}

TEST(Scrolling, NothingMovesDownOnceTheNewestRecordIsShown) {
    const auto capture = MakeCapture(std::vector<RecordWord>(95, Sd('a')));
    ViewLayout layout = ContinuousLayout(*capture, 10, 3);
    ASSERT_TRUE(layout.Scroll(*capture, ScrollRequest::Bottom));
    RecordingCanvas canvas;
    layout.Paint(canvas, *capture);
    ASSERT_EQ(layout.lastDrawnRecord(), 94);
    EXPECT_TRUE(layout.IsVisible(94));
    EXPECT_FALSE(layout.IsVisible(69));
    EXPECT_FALSE(layout.Scroll(*capture, ScrollRequest::LineDown));
    EXPECT_FALSE(layout.Scroll(*capture, ScrollRequest::PageDown));
    EXPECT_FALSE(layout.Scroll(*capture, ScrollRequest::Bottom));
    EXPECT_EQ(layout.topRecord(), 70);
    EXPECT_EQ(layout.UpdateScrollInfo(*capture).position, 7);
}

} // namespace
} // namespace varnolt
