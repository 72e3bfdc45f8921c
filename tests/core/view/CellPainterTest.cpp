#include "core/view/CGrphMain.h"
#include "core/view/StampCells.h"
#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

using test::RecordingCanvas;

TEST(CGrphMain, DrawsTheCodeOfEachGlyphSetInTheFontOfItsSize) {
    struct Case {
        GlyphSet set;
        uint8_t value;
        int32_t height;
        GlyphCode code;
        int32_t fontHeight;
    };
    const Case cases[] = {
        {GlyphSet::CharacterName, 0x41, 20, 0x88E1, 20},
        {GlyphSet::Hexadecimal, 0x41, 38, 0x8BC1, 38},
        {GlyphSet::CharacterName, 0x85, 12, 0x8C55, 20},
        {GlyphSet::Hexadecimal, 0x85, 30, 0x8C55, 38},
        {GlyphSet::CharacterName, 0xB1, 20, 0x89E1, 20},
        {GlyphSet::Hexadecimal, 0xB1, 20, 0x8C91, 20},
        {GlyphSet::DigitWithSeparator, 0x73, 20, 0x8E43, 20},
        {GlyphSet::DigitWithSeparator, 0x35, 20, 0x8DB5, 20},
        {GlyphSet::TwoDigits, 42, 20, 0x8FAA, 20},
        {GlyphSet::Mark, 4, 20, 0x8EA4, 20},
    };
    const CGrphMain painter;
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        painter.DrawGlyph(canvas, {7, 9}, c.height, kSdColours, c.value, c.set);
        ASSERT_EQ(canvas.glyphs.size(), 1U);
        EXPECT_EQ(canvas.glyphs[0].code, c.code) << int(c.set) << ' ' << int(c.value);
        EXPECT_EQ(canvas.glyphs[0].height, c.fontHeight);
        EXPECT_EQ(canvas.glyphs[0].background, kSdColours.background);
    }
    RecordingCanvas canvas;
    painter.EraseCell(canvas, {1, 2}, 38);
    EXPECT_EQ(canvas.glyphs[0].code, kEmptyCellGlyph);
    EXPECT_EQ(canvas.glyphs[0].text, kWhite);
    EXPECT_EQ(canvas.glyphs[0].background, kWhite);
}

TEST(CGrphMain, ControlLineCellGeometry) {
    const CGrphMain painter;
    constexpr uint16_t kRsOn = 1;
    constexpr uint16_t kRsOff = 2;
    {
        // Line pattern, screen: top level to the middle, a step down 8, the low level on.
        RecordingCanvas canvas;
        painter.DrawControlLines(canvas, {100, 50}, 12, kRsOn, kRsOff, Surface::Screen,
                                 LinePattern::Line);
        ASSERT_EQ(canvas.rects.size(), 12U); // both halves of six rows cleared first
        EXPECT_EQ(canvas.rects[0].corner, (CanvasPoint{100, 52}));
        EXPECT_EQ(canvas.rects[0].opposite, (CanvasPoint{112, 61}));
        ASSERT_GE(canvas.lines.size(), 3U);
        EXPECT_EQ(canvas.lines[0].from, (CanvasPoint{100, 52}));
        EXPECT_EQ(canvas.lines[0].to, (CanvasPoint{112, 52}));
        EXPECT_EQ(canvas.lines[1].from, (CanvasPoint{112, 52}));
        EXPECT_EQ(canvas.lines[1].to, (CanvasPoint{112, 60}));
        EXPECT_EQ(canvas.lines[2].to, (CanvasPoint{124, 60}));
        // The ER row (unknown both sides) lies one row pitch lower, flat at the low level.
        EXPECT_EQ(canvas.lines[3].from, (CanvasPoint{100, 72}));
        EXPECT_EQ(canvas.lines[4].to, (CanvasPoint{124, 72}));
    }
    {
        // Filled pattern, paper: rows 4 below y going down (y decreasing), 22 + 22 wide.
        RecordingCanvas canvas;
        painter.DrawControlLines(canvas, {300, -500}, 20, kRsOn, kRsOff, Surface::Paper,
                                 LinePattern::Filled);
        ASSERT_EQ(canvas.rects.size(), 12U);
        EXPECT_EQ(canvas.rects[0].corner, (CanvasPoint{300, -504}));
        EXPECT_EQ(canvas.rects[0].opposite, (CanvasPoint{322, -514}));
        EXPECT_EQ(canvas.rects[0].fill, kLineOnColour);
        EXPECT_EQ(canvas.rects[1].corner, (CanvasPoint{322, -504}));
        EXPECT_EQ(canvas.rects[1].opposite, (CanvasPoint{344, -514}));
        EXPECT_EQ(canvas.rects[1].fill, kLineOffColour);
        EXPECT_EQ(canvas.rects[2].fill, kLineUnknownColour);
        EXPECT_EQ(canvas.rects[2].corner, (CanvasPoint{300, -524}));
    }
    {
        RecordingCanvas canvas;
        painter.DrawControlLines(canvas, {0, 0}, 12, 1, 1, Surface::Screen,
                                 static_cast<LinePattern>(2));
        EXPECT_TRUE(canvas.rects.empty());
        EXPECT_TRUE(canvas.lines.empty());
    }
}

TEST(StampCells, IdleValuesSplitOverThreeCells) {
    const auto period = [](uint8_t digit) {
        return CellGlyphCode(GlyphSet::DigitWithSeparator,
                             DigitGlyphValue(SeparatorStyle::PeriodDigit, digit));
    };
    const auto digitPeriod = [](uint8_t digit) {
        return CellGlyphCode(GlyphSet::DigitWithSeparator,
                             DigitGlyphValue(SeparatorStyle::DigitPeriod, digit));
    };
    struct Case {
        uint32_t value;
        uint8_t resolution;
        GlyphCode cells[3];
    };
    const Case cases[] = {
        {12345, 1, {TwoDigitGlyphCode(12), period(3), TwoDigitGlyphCode(45)}},      // 12.345 s
        {123, 3, {TwoDigitGlyphCode(0), TwoDigitGlyphCode(12), period(3)}},         // 12.3 s
        {12345, 2, {TwoDigitGlyphCode(12), digitPeriod(3), TwoDigitGlyphCode(45)}}, // 123.45 s
        // An idle gap of 100 s or more at 0.001 s does not fit the first cell.
        {100'000, 1, {kTooLargeGlyph, period(0), TwoDigitGlyphCode(0)}},
        {5, 0, {0x88A0, 0x88A0, 0x88A0}},
    };
    for (const Case& c : cases) {
        for (int part = 0; part < 3; ++part) {
            EXPECT_EQ(IdleValueGlyph(part, c.resolution, c.value), c.cells[part])
                << c.value << '/' << int(c.resolution) << " part " << part;
        }
    }
}

TEST(StampCells, TimeStampsReadAsDateAndTime) {
    // Kind 2, 01/23 12:34:56.78 (layout B digits).
    const StampDigits digits{0x0123, 0x12345678};
    const auto digit = [](SeparatorStyle style, uint8_t d) {
        return CellGlyphCode(GlyphSet::DigitWithSeparator, DigitGlyphValue(style, d));
    };
    EXPECT_EQ(StampGlyphs(2, digits, 0),
              (StampCellGlyphs{TwoDigitGlyphCode(1), TwoDigitGlyphCode(34)}));
    EXPECT_EQ(StampGlyphs(2, digits, 2), (StampCellGlyphs{digit(SeparatorStyle::DigitSpace, 3),
                                                          digit(SeparatorStyle::DigitPeriod, 6)}));
    // Time display 2 splits the hour of part 3 into " 1" and "2:".
    const StampColumnCells cells = FrameStampCells(2, 2, digits, 3);
    ASSERT_EQ(cells.count, 3);
    EXPECT_EQ(cells.cells[0].cell, 3);
    EXPECT_EQ(cells.cells[0].code, digit(SeparatorStyle::SpaceDigit, 1));
    EXPECT_EQ(cells.cells[1].code, digit(SeparatorStyle::DigitColon, 2));
    EXPECT_EQ(cells.cells[2].cell, 8);
    EXPECT_EQ(cells.cells[2].code, TwoDigitGlyphCode(78));
    // Kind 1 with time display 1: part 3 adds the blank between date and time.
    const StampColumnCells full = FrameStampCells(1, 1, {0x260123, 0x12345600}, 3);
    ASSERT_EQ(full.count, 3);
    EXPECT_EQ(full.cells[0].code, TwoDigitGlyphCode(23));
    EXPECT_EQ(full.cells[1].cell, 4);
    EXPECT_EQ(full.cells[1].code, kBlankGlyph);
    EXPECT_EQ(full.cells[2].code, TwoDigitGlyphCode(56));
}

} // namespace
} // namespace varnolt
