#include "core/view/PrintPagination.h"

#include "core/view/PrintPreviewModel.h"
#include "core/view/ViewLayout.h"

#include <gtest/gtest.h>

#include <random>

#include "CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace test;

// The printable area of an A4 sheet, in 0.1 mm.
constexpr DrawingSize kPaper{1900, 2770};

// A capture that has wrapped, with direction changes, line-start flags, a start and an end
// delimiter, idle gaps, time stamps and control-line changes.
std::unique_ptr<CCaptureData> MixedWrappedCapture() {
    std::mt19937 random(5);
    Words words;
    while (words.words().size() < 30'000) {
        const bool sd = random() % 2 == 0;
        for (unsigned i = 0, run = 1 + random() % 30; i < run; ++i) {
            const auto code = static_cast<uint8_t>(random() % 8 == 0 ? 0x02 : 'A' + random() % 8);
            words << (sd ? Sd(code, random() % 50 == 0) : Rd(code, random() % 50 == 0));
        }
        switch (random() % 6) {
        case 0:
            words << Idle(random() % 100'000);
            break;
        case 1:
            words << Stamp(2, 1, 2, 3, 4);
            break;
        case 2:
            words << ControlChange(0x5, 0x9) << RdError(2);
            break;
        default:
            break;
        }
    }
    auto capture = MakeCapture(words.words(), 20'000);
    EXPECT_TRUE(capture->wrapped());
    capture->header().delimiters[static_cast<size_t>(DelimiterSlot::SdStart)] = {1, 0x02};
    capture->header().delimiters[static_cast<size_t>(DelimiterSlot::RdEnd)] = {1, 'C'};
    return capture;
}

// Every page of a frame display print begins at the first record of its first line and ends
// before the next page, as a walk from the oldest record over the paper's lines finds them, and
// the count covers every line and each page knows its first line's number; asking for pages in any
// order gives the same answers.
TEST(PrintPagination, FramePagesAgreeWithAWalkFromTheOldestRecord) {
    const auto capture = MixedWrappedCapture();
    for (const bool controlLines : {false, true}) {
        ViewLayout layout;
        layout.ResetLayout(*capture, {DisplayMode::Frame, 1, 2}, {800, 600});
        layout.setControlLines(controlLines);
        const PageGeometry g = layout.ComputeGeometry(Surface::Paper, 1, kPaper);
        ASSERT_GT(g.columns, 0);
        const int32_t firstLines = g.firstPageCells / g.columns;
        const int32_t laterLines = g.laterPageCells / g.columns;
        LineMap oracle;
        oracle.setMode(DisplayMode::Frame);
        const LineNumber lines = oracle.CountFrameLines(*capture, g.columns);

        PrintPagination pagination = layout.Paginate(*capture, kPaper);
        const int32_t pages = pagination.PageCount();
        EXPECT_EQ(pages, 1 + (lines - firstLines + laterLines - 1) / laterLines);
        for (const int32_t page : {3, 2, pages, 1, pages - 1}) {
            const int32_t firstLine = page == 1 ? 0 : firstLines + (page - 2) * laterLines;
            const RingIndex start =
                oracle.LineToRecord(*capture, capture->firstIndex(), firstLine, g.columns);
            const RingIndex next = oracle.LineToRecord(
                *capture, start, page == 1 ? firstLines : laterLines, g.columns);
            const auto found = pagination.Page(page);
            ASSERT_TRUE(found) << page;
            EXPECT_EQ(found->start, start) << page;
            EXPECT_EQ(found->firstLine, oracle.RecordToLine(*capture, start, g.columns)->line)
                << page;
            EXPECT_EQ(found->last,
                      next == kNoRecord ? capture->lastIndex() : capture->WrapIndex(next, -1))
                << page;
        }
        EXPECT_FALSE(pagination.Page(pages + 1));
        EXPECT_FALSE(pagination.Page(0));
    }
}

// The first page needs only the first records: the count stays unknown until the walk has been
// finished in slices, and then it is the full count.
TEST(PrintPagination, FramePagesAreFoundOnlyAsFarAsAsked) {
    const auto capture = MixedWrappedCapture();
    ViewLayout layout;
    layout.ResetLayout(*capture, {DisplayMode::Frame, 1, 2}, {800, 600});
    const int32_t pages = layout.PageCount(*capture, kPaper);

    PrintPagination pagination = layout.Paginate(*capture, kPaper);
    ASSERT_TRUE(pagination.Page(1));
    EXPECT_FALSE(pagination.complete());
    EXPECT_FALSE(pagination.KnownPageCount());
    int slices = 0;
    while (!pagination.Extend(1000)) {
        ++slices;
    }
    EXPECT_GT(slices, 10);
    EXPECT_EQ(pagination.KnownPageCount(), pages);
}

TEST(PrintPagination, ContinuousPagesAreArithmeticAndEmptyCapturesHaveOnePage) {
    const auto capture = MixedWrappedCapture();
    ViewLayout layout;
    layout.ResetLayout(*capture, {DisplayMode::Continuous, 1, 2}, {800, 600});
    const PageGeometry g = layout.ComputeGeometry(Surface::Paper, 1, kPaper);
    PrintPagination pagination = layout.Paginate(*capture, kPaper);
    EXPECT_TRUE(pagination.complete());
    const int32_t pages = *pagination.KnownPageCount();
    const auto last = pagination.Page(pages);
    ASSERT_TRUE(last);
    const RecordCount lastStart = g.firstPageCells + (pages - 2) * g.laterPageCells;
    EXPECT_EQ(last->start, capture->WrapIndex(capture->firstIndex(), lastStart));
    EXPECT_EQ(last->last, capture->lastIndex());
    EXPECT_FALSE(pagination.Page(pages + 1));

    CCaptureData empty(16);
    for (const DisplayMode mode : {DisplayMode::Continuous, DisplayMode::Frame}) {
        layout.setDisplay({mode, 0, 0});
        PrintPagination none = layout.Paginate(empty, kPaper);
        EXPECT_EQ(none.PageCount(), 1);
        EXPECT_FALSE(none.Page(1));
    }
}

TEST(PrintPreviewModel, NavigationStaysWithinTheKnownCount) {
    PrintPreviewModel model;
    EXPECT_FALSE(model.canGoBack());
    EXPECT_TRUE(model.canGoForward()); // count unknown
    EXPECT_EQ(model.CountText(), "/ … ページ");
    EXPECT_TRUE(model.GoTo(40));
    model.setPageCount(12); // the count arrives: the page is brought within it
    EXPECT_EQ(model.page(), 12);
    EXPECT_FALSE(model.canGoForward());
    EXPECT_FALSE(model.Next());
    EXPECT_EQ(model.CountText(), "/ 12 ページ");
    EXPECT_TRUE(model.Previous());
    model.GoTo(-3);
    EXPECT_EQ(model.page(), 1);
    model.setPageCount(0); // an empty capture still shows its one sheet
    EXPECT_EQ(model.pageCount(), 1);
}

TEST(PrintPreviewModel, ZoomFitsThePaperAndStepsWithinBounds) {
    PrintPreviewModel model;
    EXPECT_DOUBLE_EQ(model.Scale(200, 300, 400, 300), 1.0); // fit page: the height limits
    model.setZoom(PreviewZoom::FitWidth);
    EXPECT_DOUBLE_EQ(model.Scale(200, 300, 400, 300), 2.0);
    model.ZoomIn(3.9);
    EXPECT_DOUBLE_EQ(model.Scale(200, 300, 400, 300), PrintPreviewModel::kMaximumScale);
    model.ZoomOut(0.11);
    EXPECT_DOUBLE_EQ(model.Scale(200, 300, 400, 300), PrintPreviewModel::kMinimumScale);
    EXPECT_EQ(PrintPreviewModel::ScaleText(1.254), "125%");
}

TEST(PrintRange, ChosenPagesAreKeptWithinTheCapture) {
    struct Case {
        int32_t pages, from, to, first, last;
    };
    for (const Case c : {Case{10, 0, 0, 1, 10}, Case{10, 3, 5, 3, 5}, Case{10, 8, 40, 8, 10},
                         Case{10, 12, 14, 12, 10}, Case{0, 0, 0, 1, 0}}) {
        const PrintRange range = ChoosePrintRange(c.pages, c.from, c.to);
        EXPECT_EQ(range.first, c.first) << c.pages << ' ' << c.from;
        EXPECT_EQ(range.last, c.last) << c.pages << ' ' << c.from;
    }
    EXPECT_EQ(ChoosePrintRange(10, 12, 14).size(), 0);
    EXPECT_EQ(PrintProgressText(3, 3052), "印刷中: 3 / 3052 ページ");
}

} // namespace
} // namespace varnolt
