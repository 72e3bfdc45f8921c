#include "core/view/ViewLayout.h"
#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include "CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;

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
    RingIndex next = layout.DrawReceived(canvas, capture, 0, true).nextToDraw;
    EXPECT_EQ(next, 15);
    EXPECT_EQ(layout.liveColumn(), 5);
    EXPECT_EQ(layout.liveLine(), 1);
    EXPECT_EQ(CodeAt(4, 1), Character(14));

    Receive(10);
    canvas.Clear();
    next = layout.DrawReceived(canvas, capture, next, false).nextToDraw;
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
    RingIndex next = layout.DrawReceived(canvas, capture, 0, true).nextToDraw;
    EXPECT_EQ(canvas.LabelAt({48, 0})->text, " SD ");
    // The line after the live line is kept empty.
    EXPECT_EQ(canvas.GlyphAt({88, 22})->code, kEmptyCellGlyph);

    // The next block continues the SD line, then an RD character opens line 2.
    capture.Append(Sd('c'), 0);
    capture.Append(Rd('x'), 0);
    canvas.Clear();
    next = layout.DrawReceived(canvas, capture, next, false).nextToDraw;
    EXPECT_EQ(canvas.GlyphAt({88 + 46, 0})->code, CellGlyphCode(GlyphSet::CharacterName, 'c'));
    EXPECT_EQ(canvas.GlyphAt({88, 22})->code, CellGlyphCode(GlyphSet::CharacterName, 'x'));
    EXPECT_EQ(canvas.LabelAt({48, 22})->text, " RD ");
    EXPECT_EQ(canvas.LabelAt({4, 22 + 4})->text, "0000002");
    EXPECT_EQ(layout.liveColumn(), 1);
    EXPECT_EQ(layout.liveLine(), 1);
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
    const RingIndex next = layout.DrawReceived(canvas, capture, 0, true).nextToDraw;
    EXPECT_EQ(next, capture.firstIndex());
    canvas.Clear();
    EXPECT_EQ(layout.DrawReceived(canvas, capture, next, false).nextToDraw, next);
    EXPECT_TRUE(canvas.glyphs.empty());
}

} // namespace
} // namespace varnolt
