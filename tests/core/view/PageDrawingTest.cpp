#include "core/view/ViewLayout.h"
#include "support/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CaptureBuilder.h"

namespace varnolt {
namespace {

using namespace varnolt::test;

constexpr DrawingSize ScreenFor(CellColumn columns, PageLine lines, Coordinate linePitch) {
    return {88 + 23 * columns, linePitch * lines};
}

TEST(PageDrawing, ContinuousLineNumbersCountLinesAndRecords) {
    const auto capture = MakeCapture(std::vector<RecordWord>(100, Sd('a')));
    ViewLayout layout;
    layout.ResetLayout(*capture, {}, ScreenFor(40, 3, 43));
    RecordingCanvas canvas;
    layout.Paint(canvas, *capture);
    ASSERT_NE(canvas.LabelAt({4, 4}), nullptr);
    EXPECT_EQ(canvas.LabelAt({4, 4})->text, "0000001");
    EXPECT_EQ(canvas.LabelAt({4, 24})->text, "0000001");
    EXPECT_EQ(canvas.LabelAt({4, 47})->text, "0000002");
    EXPECT_EQ(canvas.LabelAt({4, 67})->text, "0000041");
    EXPECT_EQ(canvas.LabelAt({4, 67})->height, 12);
    EXPECT_EQ(layout.lastDrawnRecord(), 99);
}

TEST(PageDrawing, CellsAfterTheNewestRecordAreErased) {
    const auto capture = MakeCapture({Sd('A'), Rd('b'), SdError(4), Sd('C')});
    ViewLayout layout;
    layout.ResetLayout(*capture, {}, ScreenFor(3, 3, 43));
    RecordingCanvas canvas;
    layout.Paint(canvas, *capture);
    const auto at = [&](CellColumn column, Coordinate y) {
        return canvas.GlyphAt({88 + 23 * column, y});
    };
    EXPECT_EQ(at(0, 0)->code, 0x88E1); // "A" on SD
    EXPECT_EQ(at(0, 0)->background, kSdColours.background);
    EXPECT_EQ(at(0, 20)->code, kEmptyCellGlyph);
    EXPECT_EQ(at(1, 20)->background, kRdColours.background);
    // An overrun shows its mark in both rows.
    EXPECT_EQ(at(2, 0)->code, 0x8EA4);
    EXPECT_EQ(at(2, 20)->code, 0x8EA4);
    // Line 2 holds "C", then empty cells and, below, blanked line numbers.
    EXPECT_EQ(at(1, 43)->code, kEmptyCellGlyph);
    EXPECT_EQ(at(1, 43)->background, kWhite);
    EXPECT_EQ(canvas.LabelAt({4, 86 + 4})->text, "       ");
}

TEST(PageDrawing, HitRecordsOfTheHitKindAreSelected) {
    const auto capture = MakeCapture({Sd('A'), Rd('b'), Sd('C'), Sd('D')});
    ViewLayout layout;
    layout.ResetLayout(*capture, {}, ScreenFor(10, 2, 43));
    RecordingCanvas canvas;
    const HitRange hit{0, 2, HitKind::SdCharacters};
    layout.Paint(canvas, *capture, &hit);
    EXPECT_EQ(canvas.GlyphAt({88, 0})->background, kSelectedColours.background);
    EXPECT_EQ(canvas.GlyphAt({88 + 23, 20})->background, kRdColours.background);
    EXPECT_EQ(canvas.GlyphAt({88 + 46, 0})->background, kSelectedColours.background);
    EXPECT_EQ(canvas.GlyphAt({88 + 69, 0})->background, kSdColours.background);
}

TEST(PageDrawing, FrameLineOpenedByIdleShowsItsValueInTheIdleCells) {
    // Line 1: SD "A" "B"; line 2: idle 12.345 s, then RD "x" from the first data cell.
    const auto capture =
        MakeCapture((Words() << Sd('A') << Sd('B') << Idle(12345, 1) << Rd('x')).words());
    ViewLayout layout;
    const DisplayState display{DisplayMode::Frame, 1, 0};
    layout.ResetLayout(*capture, display, {88 + 23 * 13, 22 * 4});
    ASSERT_EQ(layout.frameLineCount(), 2);
    RecordingCanvas canvas;
    layout.Paint(canvas, *capture);
    const Coordinate dataX = layout.screen().dataX;
    ASSERT_EQ(dataX, 88 + 3 * 23);
    // Line 1: label, blanked idle cells, "A" "B", then erased cells.
    EXPECT_EQ(canvas.LabelAt({48, 0})->text, " SD ");
    EXPECT_EQ(canvas.GlyphAt({88, 0})->code, kEmptyCellGlyph);
    EXPECT_EQ(canvas.GlyphAt({dataX + 23, 0})->code, 0x88E2);
    EXPECT_EQ(canvas.GlyphAt({dataX + 46, 0})->code, kEmptyCellGlyph);
    // Line 2: the idle value stays in its cells and "x" is in column 0.
    EXPECT_EQ(canvas.LabelAt({48, 22})->text, " RD ");
    EXPECT_EQ(canvas.GlyphAt({88, 22})->code, TwoDigitGlyphCode(12));
    EXPECT_EQ(canvas.GlyphAt({88, 22})->background, kIdleColours.background);
    EXPECT_EQ(canvas.GlyphAt({88 + 46, 22})->code, TwoDigitGlyphCode(45));
    EXPECT_EQ(canvas.GlyphAt({dataX, 22})->background, kRdColours.background);
    EXPECT_EQ(canvas.LabelAt({4, 22 + 4})->text, "0000002");
}

// The glyph drawn last at AT; 0 when there is none.
GlyphCode CodeAt(const RecordingCanvas& canvas, CanvasPoint at) {
    const auto* glyph = canvas.GlyphAt(at);
    return glyph != nullptr ? glyph->code : GlyphCode{0};
}

// The text of the label drawn last at AT; empty when there is none.
std::string LabelText(const RecordingCanvas& canvas, CanvasPoint at) {
    const auto* label = canvas.LabelAt(at);
    return label != nullptr ? label->text : std::string();
}

// A page of 3 columns and 2 lines, drawn from the record BEFORE records after the oldest, when
// the newest record falls on each of its six cells: every record of the page is shown, the cells
// after the newest are erased, and a page whose last cell holds the newest record is not blanked.
TEST(PageDrawing, ThePageShowsItsRecordsWhereverTheNewestRecordEnds) {
    for (const DisplayMode mode : {DisplayMode::Continuous, DisplayMode::Frame}) {
        const Coordinate pitch = mode == DisplayMode::Frame ? 22 : 43;
        for (const RecordCount before : {0, 6}) {
            for (RecordCount onPage = 1; onPage <= 6; ++onPage) {
                // The records before fill two lines; on the page an SD frame fills line 0 and
                // an RD frame line 1, so in frame display the lines break where the cells do.
                Words words;
                for (RecordCount i = 0; i < before; ++i) {
                    words << Rd('q');
                }
                for (RecordCount k = 0; k < onPage; ++k) {
                    const auto code = static_cast<uint8_t>('a' + k);
                    words << (k < 3 ? Sd(code, k == 0) : Rd(code));
                }
                const auto capture = MakeCapture(words.words());
                ViewLayout layout;
                layout.ResetLayout(*capture, {mode, 0, 0}, ScreenFor(3, 2, pitch));
                layout.setTopRecord(before);
                RecordingCanvas canvas;
                layout.Paint(canvas, *capture);

                const std::string where = "mode " + std::to_string(int(mode)) + ", " +
                                          std::to_string(before) + " before, " +
                                          std::to_string(onPage) + " on the page";
                EXPECT_EQ(layout.lastDrawnRecord(), capture->lastIndex()) << where;
                for (RecordCount k = 0; k < 6; ++k) {
                    const auto* glyph = canvas.GlyphAt({88 + 23 * (k % 3), pitch * (k / 3)});
                    const RecordKind kind =
                        k < 3 ? RecordKind::SdCharacter : RecordKind::RdCharacter;
                    const auto row =
                        mode == DisplayMode::Continuous && kind == RecordKind::RdCharacter
                            ? canvas.GlyphAt({88 + 23 * (k % 3), pitch + 20})
                            : glyph;
                    ASSERT_NE(row, nullptr) << where << ", cell " << k;
                    EXPECT_EQ(row->code, k < onPage ? CellGlyphCode(GlyphSet::CharacterName,
                                                                    static_cast<uint8_t>('a' + k))
                                                    : kEmptyCellGlyph)
                        << where << ", cell " << k;
                }
                const LineNumber firstLine = before / 3 + 1;
                EXPECT_EQ(LabelText(canvas, {4, 4}), "000000" + std::to_string(firstLine)) << where;
                EXPECT_EQ(LabelText(canvas, {4, pitch + 4}),
                          onPage > 3 ? "000000" + std::to_string(firstLine + 1) : "       ")
                    << where;
            }
        }
    }
}

// Idle and stamp records take no cell in frame display: a page of nearly full lines holds more
// records than cells, and its bottom line is drawn all the same.
TEST(PageDrawing, AFramePageWithIdleAndStampRecordsIsDrawnToItsLastLine) {
    const auto capture =
        MakeCapture((Words() << Idle(1500) << Sd('a') << Sd('b') << Sd('c')
                             << Stamp(1, 0x26, 0x1C5, 0x2A3, 0x480) << Rd('x') << Rd('y') << Rd('z')
                             << Idle(20) << Stamp(1, 0x26, 0x1C5, 0x2A3, 0x480) << Sd('d')
                             << Sd('e') << Sd('f') << Idle(30) << Rd('w'))
                        .words());
    ViewLayout layout;
    // Three idle cells and nine time cells before three data cells; three lines a page.
    layout.ResetLayout(*capture, {DisplayMode::Frame, 1, 1}, {88 + 23 * 15, 22 * 3});
    ASSERT_EQ(layout.screen().columns, 3);
    RecordingCanvas canvas;
    layout.Paint(canvas, *capture);
    const Coordinate dataX = layout.screen().dataX;
    EXPECT_EQ(LabelText(canvas, {4, 44 + 4}), "0000003");
    EXPECT_EQ(LabelText(canvas, {48, 44}), " SD ");
    EXPECT_EQ(CodeAt(canvas, {dataX + 46, 44}), CellGlyphCode(GlyphSet::CharacterName, 'f'));
    // The page ends with 'f': the fourth line's 'w' is not drawn over line 0.
    EXPECT_EQ(layout.lastDrawnRecord(), 22);
    EXPECT_EQ(CodeAt(canvas, {dataX, 0}), CellGlyphCode(GlyphSet::CharacterName, 'a'));
}

// A frame line whose first cell is a control-line change is labelled by its first character.
TEST(PageDrawing, AFrameLineIsLabelledByItsFirstCharacter) {
    const auto capture =
        MakeCapture((Words() << Stamp(4, 0, 0, 0x2A3, 0x480) << ControlChange(0x555, 0x556)
                             << Sd('a') << Sd('b') << Rd('x'))
                        .words());
    capture->header().recordWidth = 1;
    ViewLayout layout;
    layout.ResetLayout(*capture, {DisplayMode::Frame, 0, 4}, {88 + 23 * 14, 22 * 3});
    RecordingCanvas canvas;
    layout.Paint(canvas, *capture);
    ASSERT_EQ(layout.frameLineCount(), 2);
    EXPECT_EQ(LabelText(canvas, {48, 0}), " SD ");
    EXPECT_EQ(LabelText(canvas, {48, 22}), " RD ");
    // The time cells of the first line keep the stamp; the second line has none, so they are
    // erased there.
    EXPECT_EQ(canvas.GlyphAt({88, 0})->background, kStampColours.background);
    EXPECT_EQ(CodeAt(canvas, {88, 22}), kEmptyCellGlyph);
}

// After a resize in frame display the page starts at a line start again, so the lines are
// numbered as the scroll bar, printing and the export count them.
TEST(PageDrawing, AFrameResizeMovesTheTopToTheStartOfItsLine) {
    Words words;
    for (int i = 0; i < 25; ++i) {
        words << Sd(static_cast<uint8_t>('a' + i));
    }
    words << Rd('x') << Rd('y');
    const auto capture = MakeCapture(words.words());
    ViewLayout layout;
    layout.ResetLayout(*capture, {DisplayMode::Frame, 0, 0}, ScreenFor(10, 4, 22));
    ASSERT_TRUE(layout.Scroll(*capture, ScrollRequest::LineDown));
    ASSERT_EQ(layout.topRecord(), 10);

    // Twelve columns: lines 0-11, 12-23, 24 and the RD frame.
    layout.Resize(*capture, ScreenFor(12, 4, 22));
    EXPECT_EQ(layout.topRecord(), 0);
    EXPECT_EQ(layout.UpdateScrollInfo(*capture).position, 0);
    RecordingCanvas canvas;
    layout.Paint(canvas, *capture);
    EXPECT_EQ(LabelText(canvas, {4, 66 + 4}), "0000004");
    EXPECT_EQ(LabelText(canvas, {48, 66}), " RD ");
}

// A row cut off by the window's bottom edge holds no records, and shows no labels either.
TEST(PageDrawing, ThePartlyVisibleBottomRowGetsNoLabels) {
    const auto capture = MakeCapture(std::vector<RecordWord>(100, Sd('a')));
    capture->header().recordWidth = 1;
    for (const DisplayMode mode : {DisplayMode::Continuous, DisplayMode::Frame}) {
        ViewLayout layout;
        layout.ResetLayout(*capture, {mode, 0, 0}, {800, 1});
        layout.setControlLines(true);
        const Coordinate pitch = layout.ComputeGeometry(Surface::Screen, 1, {800, 1}).linePitch;
        layout.SetClientSize({800, 2 * pitch + pitch / 2});
        ASSERT_EQ(layout.screen().linesPerPage, 2);
        RecordingCanvas canvas;
        layout.Paint(canvas, *capture);
        for (const auto& label : canvas.labels) {
            EXPECT_LT(label.at.y, 2 * pitch)
                << "mode " << int(mode) << ": \"" << label.text << "\" at y " << label.at.y;
        }
        EXPECT_NE(canvas.LabelAt({4, pitch + 4}), nullptr);
    }
}

// Paper of 1000 x 1000 (0.1 mm): 12 columns; continuous 5 lines on page 1, 6 on later pages.
constexpr DrawingSize kPaper{1000, 1000};

std::vector<RecordingCanvas::Glyph> PrintedGlyphs(ViewLayout& layout, const CCaptureData& capture,
                                                  int page) {
    RecordingCanvas canvas;
    layout.PrintPage(canvas, capture, page, kPaper, "/tmp/a.tvd");
    return canvas.glyphs;
}

bool SameGlyphs(const std::vector<RecordingCanvas::Glyph>& a,
                const std::vector<RecordingCanvas::Glyph>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (!(a[i].at == b[i].at) || a[i].code != b[i].code ||
            !(a[i].background == b[i].background)) {
            return false;
        }
    }
    return true;
}

TEST(Printing, PageCountAndPageStarts) {
    ViewLayout layout;
    const auto probe = MakeCapture({Sd('a')});
    layout.ResetLayout(*probe, {}, {800, 600});
    const PageGeometry paper = layout.ComputeGeometry(Surface::Paper, 1, kPaper);
    ASSERT_EQ(paper.columns, 12);
    const RecordCount twoPages = paper.firstPageCells + paper.laterPageCells;
    const auto exact = MakeCapture(std::vector<RecordWord>(static_cast<size_t>(twoPages), Sd('a')));
    EXPECT_EQ(layout.PageCount(*exact, kPaper), 2);
    const auto more =
        MakeCapture(std::vector<RecordWord>(static_cast<size_t>(twoPages + 1), Sd('a')));
    EXPECT_EQ(layout.PageCount(*more, kPaper), 3);

    RecordingCanvas canvas;
    layout.PrintPage(canvas, *more, 2, kPaper, "/tmp/a.tvd");
    EXPECT_EQ(canvas.LabelAt({300, -150})->text, "FileName:/tmp/a.tvd");
    EXPECT_EQ(canvas.LabelAt({700, -150})->text, "2 page");
    // Page 2 starts with the record after page 1 (its number in the RD row).
    const std::string first = std::to_string(paper.firstPageCells + 1);
    EXPECT_EQ(canvas.LabelAt({100, -(200 + 44) - 4})->text,
              std::string(7 - first.size(), '0') + first);
}

TEST(Printing, PreviewOfPageThreeThenTwoDrawsWhatPrintingDraws) {
    for (const DisplayMode mode : {DisplayMode::Continuous, DisplayMode::Frame}) {
        Words words;
        for (int i = 0; i < 300; ++i) {
            words << Sd(static_cast<uint8_t>('a' + i % 7), i % 5 == 0) << Rd('r');
            if (i % 9 == 0) {
                words << Idle(500);
            }
        }
        const auto capture = MakeCapture(words.words());
        const DisplayState display{mode, 1, 0};
        ViewLayout printing;
        printing.ResetLayout(*capture, display, {800, 600});
        ASSERT_GE(printing.PageCount(*capture, kPaper), 3);
        const auto printed = PrintedGlyphs(printing, *capture, 2);

        ViewLayout preview;
        preview.ResetLayout(*capture, display, {800, 600});
        const RingIndex top = preview.topRecord();
        (void)PrintedGlyphs(preview, *capture, 3);
        EXPECT_TRUE(SameGlyphs(PrintedGlyphs(preview, *capture, 2), printed)) << int(mode);
        EXPECT_EQ(preview.topRecord(), top);
    }
}

// Characters a page shows, counted by the cells left holding one.
int CharacterCellsShown(const RecordingCanvas& canvas) {
    std::vector<CanvasPoint> seen;
    int shown = 0;
    for (auto it = canvas.glyphs.rbegin(); it != canvas.glyphs.rend(); ++it) {
        if (std::find(seen.begin(), seen.end(), it->at) != seen.end()) {
            continue;
        }
        seen.push_back(it->at);
        shown += it->code != kEmptyCellGlyph ? 1 : 0;
    }
    return shown;
}

// A page that starts at the newest record of a wrapped ring holds that record only: the slots
// after the newest hold the oldest records.
TEST(Printing, APageStartingAtTheNewestRecordOfAWrappedRingHoldsItAlone) {
    // Pages 1 and 2 hold 60 and 72 records; page 3 starts with record 133, the newest.
    const auto printed = MakeCapture(std::vector<RecordWord>(133 + 5, Sd('a')), 133);
    ASSERT_TRUE(printed->wrapped());
    ViewLayout printing;
    printing.ResetLayout(*printed, {}, {800, 600});
    ASSERT_EQ(printing.PageCount(*printed, kPaper), 3);
    RecordingCanvas paper;
    printing.PrintPage(paper, *printed, 3, kPaper, "a.tvd");
    EXPECT_EQ(CharacterCellsShown(paper), 1);

    // On screen (3 columns, 2 lines), line 6 of 19 records holds the newest alone.
    const auto shown = MakeCapture(std::vector<RecordWord>(19 + 5, Sd('a')), 19);
    ViewLayout view;
    view.ResetLayout(*shown, {}, ScreenFor(3, 2, 43));
    ASSERT_TRUE(view.Scroll(*shown, ScrollRequest::Track, 6));
    ASSERT_EQ(view.topRecord(), shown->lastIndex());
    RecordingCanvas screen;
    view.Paint(screen, *shown);
    EXPECT_EQ(CharacterCellsShown(screen), 1);
    EXPECT_EQ(view.lastDrawnRecord(), shown->lastIndex());
}

TEST(Printing, HeaderTextsOfPageOne) {
    const auto capture = MakeCapture({Sd('a')});
    capture->header().lineMode = 3;
    capture->header().speed = 19200;
    capture->header().dataBits = 9;
    capture->header().parity = 2;
    capture->header().stopBits = 2;
    capture->header().transmitOutput = 1;
    ViewLayout layout;
    layout.ResetLayout(*capture, {}, {800, 600});
    RecordingCanvas canvas;
    layout.PrintPage(canvas, *capture, 1, kPaper, "x.tvd");
    EXPECT_EQ(canvas.LabelAt({300, -190})->text, "種類：RS422/485 モード:モニタ");
    EXPECT_EQ(canvas.LabelAt({300, -230})->text,
              "速度：19200  パリティ：EVEN(偶数)  ストップ長：2  RS422/485送信出力：常時有効");
}

} // namespace
} // namespace varnolt
