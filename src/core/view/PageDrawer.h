#pragma once

#include "core/view/ViewLayout.h"

#include <optional>

namespace varnolt {

// What a page drawing placed, for the layout to take over: it decides nothing itself.
struct PageDrawResult {
    DrawEnd end;                     // the cell after the last one drawn
    std::optional<RingIndex> top;    // the first record placed on page line 0, if any
    RingIndex lastDrawn = kNoRecord; // the last record placed; kNoRecord when none
    FrameDrawState frameState;       // the frame-line state at the end, for live drawing to go on
};

// One drawing of records into the cells of a page (screen or paper) with a ViewLayout's display
// values, options and painter: the page drawing, live drawing and printing all run through it,
// so screen and paper show the same cells. It only paints: what it placed comes back as a
// PageDrawResult, and the layout is never written.
class PageDrawer {
public:
    PageDrawer(const ViewLayout& layout, CellCanvas& canvas, const CCaptureData& capture,
               const PageGeometry& geometry, Surface surface);

    // Draws REQUEST's records up to LASTTODRAW (inclusive) at the latest. A request that goes
    // on from an earlier drawing (live, or without restart) starts from CARRIED.
    PageDrawResult Run(const DrawRequest& request, RingIndex lastToDraw,
                       const FrameDrawState& carried = {});

    // Erases the cells of LINE from COLUMN up to the position after the last column, with their
    // control-line rows.
    void EraseLineFrom(CellColumn column, PageLine line);
    // Draws the line-number texts of continuous line LINE whose first record is the
    // (OFFSET + 1)-th.
    void DrawContinuousLineNumbers(PageLine line, int64_t offset);
    // One cell of the running idle indicator.
    void DrawLiveIdleCell(CellColumn column, PageLine line, int part, int32_t idleDisplay,
                          uint32_t value);

private:
    using FrameState = FrameDrawState;

    [[nodiscard]] bool frame() const { return layout_.display().mode == DisplayMode::Frame; }
    [[nodiscard]] bool paper() const { return surface_ == Surface::Paper; }
    [[nodiscard]] Coordinate LineOrigin(PageLine line) const {
        return geometry_.topMargin + line * geometry_.linePitch;
    }
    [[nodiscard]] Coordinate Y(Coordinate downward) const { return geometry_.ySign * downward; }
    [[nodiscard]] Coordinate CellX(CellColumn column) const {
        return geometry_.dataX + column * geometry_.cellWidth;
    }
    [[nodiscard]] PageLine NextLine(PageLine line) const {
        return line + 1 >= geometry_.linesPerPage ? 0 : line + 1;
    }
    [[nodiscard]] CellColumn CellsOf(RecordKind kind) const;
    [[nodiscard]] bool Selected(RingIndex index, RecordKind kind) const;

    void DrawRecord(RingIndex index, RecordWord word, CellColumn column, PageLine line,
                    bool selected);
    void DrawContinuousCell(RingIndex index, RecordWord word, CellColumn column, PageLine line,
                            bool selected);
    void DrawFrameCell(RingIndex index, RecordWord word, CellColumn column, PageLine line,
                       bool selected);
    void DrawCellControlLines(RingIndex index, RecordWord word, CellColumn column, PageLine line);
    void Glyph(CellColumn column, Coordinate rowOffset, PageLine line, CellColours colours,
               GlyphCode code);
    void EraseAt(Coordinate x, Coordinate downward);

    void BeginFrameLine(RingIndex index, PageLine line, FrameState& state);
    void FrameLineHead(RecordKind kind, PageLine line, FrameState& state);
    void FinishFrameLine(const FrameState& state);
    void EraseStampCells(PageLine line, bool idle, bool time);
    void EraseLineAhead(PageLine line);
    void EraseAfterNewest(const DrawRequest& request, DrawEnd end, bool lineOpen,
                          bool passedBottom);
    // Erases the cells FROM ... TO - 1 of LINE with their control-line rows.
    void EraseCells(CellColumn from, CellColumn to, PageLine line);
    void ClearEmptyLine(PageLine line);
    void BlankLabel(PageLine line);

    const ViewLayout& layout_;
    const CGrphMain& painter_;
    CellCanvas& canvas_;
    const CCaptureData& capture_;
    const PageGeometry& geometry_;
    Surface surface_;
    const HitRange* hit_ = nullptr;
    std::optional<RingIndex> top_; // of the running drawing
    int32_t idleCells_;
    int32_t timeCells_;
    Coordinate numberX_;
    int32_t numberHeight_;
    int32_t labelHeight_;
};

} // namespace varnolt
