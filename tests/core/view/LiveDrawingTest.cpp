#include "core/view/ViewLayout.h"
#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include "CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;

// Draws the records received since NEXT as the reception does and gives the next-to-draw index
// it keeps: the ring index after the newest record.
RingIndex DrawNew(ViewLayout& layout, CellCanvas& canvas, const CCaptureData& capture,
                  RingIndex next, bool firstBlock) {
    layout.DrawReceived(canvas, capture, next, firstBlock);
    return capture.WrapIndex(capture.lastIndex(), 1);
}

// A measurement in continuous display on a page of 10 columns and 2 lines; record i is SD
// character 'A' + i.
class LiveDrawing : public testing::Test {
protected:
    void SetUp() override { layout.ResetLayout(capture, {}, {88 + 23 * 10, 43 * 2}); }

    void Receive(int count) {
        for (int i = 0; i < count; ++i) {
            capture.Append(Sd(static_cast<uint8_t>('A' + received++ % 26)), 0);
        }
    }
    [[nodiscard]] GlyphCode CodeAt(CellColumn column, PageLine line, Coordinate row = 0) const {
        const auto* glyph = canvas.GlyphAt({88 + 23 * column, 43 * line + row});
        return glyph == nullptr ? 0 : glyph->code;
    }
    [[nodiscard]] static GlyphCode Character(int record) {
        return CellGlyphCode(GlyphSet::CharacterName, static_cast<uint8_t>('A' + record % 26));
    }

    CCaptureData capture{1000};
    ViewLayout layout;
    RecordingCanvas canvas;
    int received = 0;
};

TEST_F(LiveDrawing, BlocksContinueAtTheLivePositionAndWrapToTheTopLine) {
    Receive(15);
    RingIndex next = DrawNew(layout, canvas, capture, 0, true);
    EXPECT_EQ(next, 15);
    EXPECT_EQ(layout.liveColumn(), 5);
    EXPECT_EQ(layout.liveLine(), 1);
    EXPECT_EQ(CodeAt(4, 1), Character(14));

    Receive(10);
    canvas.Clear();
    next = DrawNew(layout, canvas, capture, next, false);
    EXPECT_EQ(next, 25);
    EXPECT_EQ(CodeAt(9, 1), Character(19));
    // Line 0 was erased as a whole before records 20 … 24 went into it.
    EXPECT_EQ(CodeAt(0, 0), Character(20));
    EXPECT_EQ(CodeAt(7, 0), kEmptyCellGlyph);
    EXPECT_EQ(canvas.LabelAt({4, 4})->text, "0000003");
    EXPECT_EQ(canvas.LabelAt({4, 24})->text, "0000021");
    EXPECT_EQ(layout.topRecord(), 20);
    EXPECT_EQ(layout.liveColumn(), 5);
    EXPECT_EQ(layout.liveLine(), 0);

    // The running idle indicator goes right after the newest record.
    canvas.Clear();
    layout.DrawLiveIdle(canvas, capture, next, 1, 1234);
    EXPECT_EQ(CodeAt(5, 0), CellGlyphCode(GlyphSet::Mark, kMarkIdleLabelFirst));
    EXPECT_EQ(CodeAt(5, 0, 20), TwoDigitGlyphCode(12));
    EXPECT_EQ(CodeAt(7, 0, 20), TwoDigitGlyphCode(40));
    EXPECT_EQ(CodeAt(8, 0), kEmptyCellGlyph);

    // A repaint redraws the newest records so that they end at the live position.
    canvas.Clear();
    layout.DrawLive(canvas, capture, next);
    EXPECT_EQ(CodeAt(0, 1), Character(10));
    EXPECT_EQ(CodeAt(9, 1), Character(19));
    EXPECT_EQ(CodeAt(4, 0), Character(24));
    EXPECT_EQ(CodeAt(5, 0), kEmptyCellGlyph);
}

TEST_F(LiveDrawing, FrameDisplayErasesTheLineAheadAndContinuesBreakState) {
    layout.ResetLayout(capture, {DisplayMode::Frame, 0, 0}, {88 + 23 * 10, 22 * 3});
    capture.Append(Sd('a'), 0);
    capture.Append(Sd('b'), 0);
    RingIndex next = DrawNew(layout, canvas, capture, 0, true);
    EXPECT_EQ(canvas.LabelAt({48, 0})->text, " SD ");
    // The line after the live line is kept empty.
    EXPECT_EQ(canvas.GlyphAt({88, 22})->code, kEmptyCellGlyph);

    // The next block continues the SD line, then an RD character opens line 2.
    capture.Append(Sd('c'), 0);
    capture.Append(Rd('x'), 0);
    canvas.Clear();
    next = DrawNew(layout, canvas, capture, next, false);
    EXPECT_EQ(canvas.GlyphAt({88 + 46, 0})->code, CellGlyphCode(GlyphSet::CharacterName, 'c'));
    EXPECT_EQ(canvas.GlyphAt({88, 22})->code, CellGlyphCode(GlyphSet::CharacterName, 'x'));
    EXPECT_EQ(canvas.LabelAt({48, 22})->text, " RD ");
    EXPECT_EQ(canvas.LabelAt({4, 22 + 4})->text, "0000002");
    EXPECT_EQ(layout.liveColumn(), 1);
    EXPECT_EQ(layout.liveLine(), 1);
}

// Once the ring is full, the lines of the live page keep numbering the records as they were
// received, although the ring no longer holds the first ones: line numbers go up by one per
// line and record numbers by the columns, in the live drawing, the repaint and the idle
// indicator alike.
TEST_F(LiveDrawing, LineNumbersCountOnOnceTheRingIsFull) {
    CCaptureData ring(25);
    layout.ResetLayout(ring, {}, {88 + 23 * 10, 43 * 2});
    RingIndex next = 0;
    for (int block = 0; block < 9; ++block) {
        for (int i = 0; i < 7; ++i) {
            ring.Append(Sd(static_cast<uint8_t>('A' + received++ % 26)), 0);
        }
        next = DrawNew(layout, canvas, ring, next, block == 0);
    }
    ASSERT_TRUE(ring.wrapped());
    // 63 records: lines 6 (records 51-60) and 7 (61-63, live line 0).
    ASSERT_EQ(layout.liveLine(), 0);
    ASSERT_EQ(layout.liveColumn(), 3);
    const auto expectNumbers = [this](const char* when) {
        EXPECT_EQ(canvas.LabelAt({4, 4})->text, "0000007") << when;
        EXPECT_EQ(canvas.LabelAt({4, 24})->text, "0000061") << when;
        EXPECT_EQ(canvas.LabelAt({4, 43 + 4})->text, "0000006") << when;
        EXPECT_EQ(canvas.LabelAt({4, 43 + 24})->text, "0000051") << when;
    };
    expectNumbers("live");
    EXPECT_EQ(CodeAt(2, 0), Character(62));

    canvas.Clear();
    layout.DrawLive(canvas, ring, next);
    expectNumbers("repainted");
    EXPECT_EQ(CodeAt(9, 1), Character(59));

    canvas.Clear();
    layout.DrawLiveIdle(canvas, ring, next, 1, 1234);
    EXPECT_EQ(canvas.LabelAt({4, 4})->text, "0000007");
    EXPECT_EQ(canvas.LabelAt({4, 24})->text, "0000061");

    // Eight columns: the newest records are laid out as if the whole measurement had been drawn
    // on the new page, so each line still begins with a multiple of the columns.
    layout.SetClientSize({88 + 23 * 8, 43 * 2});
    canvas.Clear();
    layout.RelayoutLive(canvas, ring, next);
    EXPECT_EQ(canvas.LabelAt({4, 24})->text, "0000049");
    EXPECT_EQ(canvas.LabelAt({4, 43 + 24})->text, "0000057");
}

// The drawing after an overflow mark erases what follows the newest record but never a record it
// drew itself, also when it went on from the page's last line at line 0.
TEST_F(LiveDrawing, TheDrawingAfterAnOverflowMarkKeepsTheRecordsItDrew) {
    struct Case {
        int added;         // records drawn after the overflow, from the live position (5, 1)
        CellColumn column; // where the newest then ends on line 0
    };
    for (const Case c : {Case{5, 0}, Case{8, 3}}) {
        layout.ResetLayout(capture, {}, {88 + 23 * 10, 43 * 2});
        capture.Reset({});
        received = 0;
        Receive(15);
        const RingIndex next = DrawNew(layout, canvas, capture, 0, true);
        Receive(c.added);
        canvas.Clear();
        layout.DrawAfterOverflow(canvas, capture, next);
        EXPECT_EQ(layout.liveLine(), 0) << c.added;
        EXPECT_EQ(layout.liveColumn(), c.column) << c.added;
        for (int k = 0; k < c.added; ++k) {
            const int cell = 15 + k;
            EXPECT_EQ(CodeAt(cell % 10, cell / 10 % 2), Character(cell)) << c.added << ", " << k;
        }
        EXPECT_EQ(CodeAt(c.column, 0), kEmptyCellGlyph) << c.added;
        EXPECT_EQ(CodeAt(9, 0), kEmptyCellGlyph) << c.added;
    }
}

// Every glyph of CANVAS lies on one of the first LINES lines of PITCH.
void ExpectWithinLines(const RecordingCanvas& canvas, int lines, int pitch) {
    for (const auto& glyph : canvas.glyphs) {
        EXPECT_LT(glyph.at.y, lines * pitch) << "glyph below the page at y " << glyph.at.y;
    }
}

// Control lines switched on while measuring shrink the page from six lines to two: the newest
// records are drawn again inside the new page and the next block follows them.
TEST_F(LiveDrawing, ARelayoutRedrawsTheNewestRecordsInsideTheNewPage) {
    layout.ResetLayout(capture, {}, {88 + 23 * 10, 43 * 6});
    RingIndex next = 0;
    for (int block = 0; block < 5; ++block) {
        Receive(11);
        next = DrawNew(layout, canvas, capture, next, block == 0);
    }
    ASSERT_EQ(layout.liveLine(), 5);
    ASSERT_EQ(layout.liveColumn(), 5);

    capture.header().recordWidth = 1;
    layout.setControlLines(true);
    layout.SetClientSize({88 + 23 * 10, 43 * 6});
    ASSERT_EQ(layout.screen().linesPerPage, 2);
    canvas.Clear();
    layout.RelayoutLive(canvas, capture, next);
    ExpectWithinLines(canvas, 2, 116);
    // 55 records on a page of 20 cells: the newest ends at cell 15 (line 1, column 5), after
    // the 15 newest records from the page's top line on.
    EXPECT_EQ(layout.liveLine(), 1);
    EXPECT_EQ(layout.liveColumn(), 5);
    EXPECT_EQ(canvas.GlyphAt({88, 0})->code, Character(40));
    EXPECT_EQ(canvas.GlyphAt({88 + 23 * 4, 116})->code, Character(54));

    Receive(3);
    canvas.Clear();
    layout.DrawReceived(canvas, capture, next, false);
    EXPECT_EQ(canvas.GlyphAt({88 + 23 * 5, 116})->code, Character(55));
    EXPECT_EQ(canvas.GlyphAt({88 + 23 * 7, 116})->code, Character(57));
    ExpectWithinLines(canvas, 2, 116);
}

// In frame display the redrawn page holds the newest record, and the break state goes on.
TEST_F(LiveDrawing, AFrameRelayoutKeepsTheNewestRecordOnThePage) {
    layout.ResetLayout(capture, {DisplayMode::Frame, 0, 0}, {88 + 23 * 10, 22 * 6});
    RingIndex next = 0;
    for (int block = 0; block < 6; ++block) {
        for (int i = 0; i < 7; ++i) {
            const auto code = static_cast<uint8_t>('a' + i);
            capture.Append(block % 2 == 0 ? Sd(code) : Rd(code), 0);
        }
        next = DrawNew(layout, canvas, capture, next, block == 0);
    }
    capture.header().recordWidth = 1;
    layout.setControlLines(true);
    layout.SetClientSize({88 + 23 * 10, 96 * 2});
    ASSERT_EQ(layout.screen().linesPerPage, 2);
    canvas.Clear();
    layout.RelayoutLive(canvas, capture, next);
    ExpectWithinLines(canvas, 2, 96);
    // Six lines of seven characters: the page shows the last two, RD a … g under SD a … g.
    EXPECT_EQ(canvas.GlyphAt({88 + 23 * 6, 96})->code, CellGlyphCode(GlyphSet::CharacterName, 'g'));
    EXPECT_EQ(canvas.LabelAt({48, 96})->text, " RD ");
    EXPECT_EQ(layout.liveLine(), 1);
    EXPECT_EQ(layout.liveColumn(), 7);

    // The next SD character opens a line at the top of the page ring.
    capture.Append(Sd('z'), 0);
    canvas.Clear();
    layout.DrawReceived(canvas, capture, next, false);
    EXPECT_EQ(canvas.GlyphAt({88, 0})->code, CellGlyphCode(GlyphSet::CharacterName, 'z'));
}

} // namespace
} // namespace varnolt

namespace varnolt {
namespace {

TEST(LiveDrawingRing, AFullRingWithNothingNewDrawsNothing) {
    CCaptureData capture(20);
    ViewLayout layout;
    layout.ResetLayout(capture, {}, {88 + 23 * 10, 43 * 2});
    for (int i = 0; i < 25; ++i) {
        capture.Append(test::Sd('a'), 0);
    }
    test::RecordingCanvas canvas;
    const RingIndex next = DrawNew(layout, canvas, capture, 0, true);
    EXPECT_EQ(next, capture.firstIndex());
    canvas.Clear();
    EXPECT_EQ(DrawNew(layout, canvas, capture, next, false), next);
    EXPECT_TRUE(canvas.glyphs.empty());
}

} // namespace
} // namespace varnolt
