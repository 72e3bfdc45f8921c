#pragma once

#include "core/view/CGrphMain.h"
#include "core/view/CellCanvas.h"
#include "core/view/FrameDrawState.h"
#include "core/view/LineMap.h"
#include "core/view/PageGeometry.h"
#include "core/view/PrintPagination.h"
#include "core/view/ViewTypes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace varnolt {

struct PageDrawResult;

// The scroll bar of the data view: range 0 … maximum with a page of PAGE lines, in the sense of
// a range whose last reachable position is maximum - page + 1.
struct ScrollBarState {
    int32_t maximum = 1;
    int32_t page = 0;
    int32_t position = 0;
    friend bool operator==(const ScrollBarState&, const ScrollBarState&) = default;
};

enum class ScrollRequest : uint8_t { LineUp, LineDown, PageUp, PageDown, Track, Top, Bottom };

// The command whose hit is brought into view; they place a hit differently.
enum class SearchCommand : uint8_t { FindNext, FindPrevious, Dialog };

// Where a page drawing ended: the cell after the last one drawn.
struct DrawEnd {
    CellColumn column = 0;
    PageLine line = 0;
};

// What one page drawing draws.
struct DrawRequest {
    RingIndex start = kNoRecord; // first record
    RecordCount cells = 0;       // at most this many records
    bool restart = true;         // frame display: break state taken afresh at START
    bool live = false;           // a measurement's live page
    // Continuous display: line numbers count the records from the first one received, not from
    // the oldest one held (a measurement whose ring is full).
    bool numberFromFirstAppended = false;
    const HitRange* hit = nullptr;
    // Frame display with RESTART: the number of the frame line START begins, when the caller
    // knows it (printing); otherwise it is looked up.
    std::optional<LineNumber> firstLine;
    CellColumn column = 0; // where START goes
    PageLine line = 0;
};

// The layout of a capture as lines of cells, for the screen and for paper, and the drawing of
// pages through a CellCanvas. It holds what the view keeps between paints: the screen geometry,
// the line map (how records fall into lines, with the frame-line index), the scroll position
// (top record, last drawn record), the live position and the break state of live drawing.
// Drawing is done by PageDrawer, which only paints and reports what it placed; the layout
// applies that report. The capture is passed to each call; the display state and options are
// plain values the view sets when they change (the setters say whether anything changed).
//
// How the view widget uses it:
// - a capture created, opened or a measurement started: setOptions, then ResetLayout with the
//   client size; UpdateScrollInfo; repaint with background erase;
// - resize: Resize (during a measurement SetClientSize and RelayoutLive);
// - option change (hint 1): setOptions / setControlLines, then Relayout (during a measurement
//   only SetClientSize and a repaint); measurement stopped or download done: CountFrameLines,
//   UpdateScrollInfo (after a download setTopRecord(oldest) first);
// - scroll bar and wheel: Scroll, then, when it returns true, the search position and the hit's
//   last record become topRecord(), UpdateScrollInfo, repaint without erase;
// - paint: Paint (or DrawLive while measuring), then UpdateScrollInfo outside the paint;
// - search hit: BringHitIntoView, UpdateScrollInfo, Paint with the hit once;
// - reception: DrawReceived / DrawAfterOverflow / DrawLiveIdle on a canvas over the widget;
// - printing: Paginate once, then PrintPage with it for each page on a paper canvas.
class ViewLayout {
public:
    // ---- Display values ----------------------------------------------------------------------
    [[nodiscard]] const DisplayState& display() const { return display_; }
    bool setDisplay(const DisplayState& display);
    [[nodiscard]] const DrawOptions& options() const { return options_; }
    bool setOptions(const DrawOptions& options);
    [[nodiscard]] bool controlLines() const { return controlLines_; }
    bool setControlLines(bool shown);
    // The cell painter of screen and paper.
    [[nodiscard]] const CGrphMain& painter() const { return painter_; }

    // ---- Geometry ----------------------------------------------------------------------------
    // The geometry of SURFACE for page PAGENUMBER of SIZE with the current display values.
    [[nodiscard]] PageGeometry ComputeGeometry(Surface surface, int32_t pageNumber,
                                               DrawingSize size) const;
    // Recomputes the screen geometry for a client area of SIZE; true when it changed.
    bool SetClientSize(DrawingSize size);
    [[nodiscard]] const PageGeometry& screen() const { return screen_; }
    [[nodiscard]] DrawingSize clientSize() const { return client_; }

    // ---- Lines -------------------------------------------------------------------------------
    // Walks the whole capture with the frame rules and the screen columns, rebuilds the
    // frame-line index and returns the number of frame lines.
    LineNumber CountFrameLines(const CCaptureData& capture);
    [[nodiscard]] LineNumber frameLineCount() const { return lines_.frameLineCount(); }
    [[nodiscard]] const FrameLineIndex& frameLineIndex() const { return lines_.frameLineIndex(); }
    [[nodiscard]] const LineMap& lineMap() const { return lines_; }
    // Lines of the whole capture in the current mode (0 for fewer than two records).
    [[nodiscard]] int32_t TotalLines(const CCaptureData& capture) const;
    // First record of the line N lines after the line that starts at FROM, with COLUMNS per
    // line; kNoRecord when that line does not exist or N < 0.
    [[nodiscard]] RingIndex LineToRecord(const CCaptureData& capture, RingIndex from, int32_t n,
                                         CellColumn columns) const {
        return lines_.LineToRecord(capture, from, n, columns);
    }
    // First record of the frame line (screen columns) holding RECORD, and that line's 1-based
    // number; nullopt when RECORD is not in the capture.
    [[nodiscard]] std::optional<LineStart> RecordToLine(const CCaptureData& capture,
                                                        RingIndex record) const {
        return lines_.RecordToLine(capture, record, screen_.columns);
    }
    // The same for COLUMNS per line (printing uses the paper's columns).
    [[nodiscard]] std::optional<LineStart>
    RecordToLine(const CCaptureData& capture, RingIndex record, CellColumn columns) const {
        return lines_.RecordToLine(capture, record, columns);
    }
    // True when INDEX lies between the top record and the last drawn record along the ring.
    [[nodiscard]] bool IsVisible(RingIndex index) const;

    // ---- View state ----------------------------------------------------------------------------
    [[nodiscard]] RingIndex topRecord() const { return top_; }
    void setTopRecord(RingIndex top) { top_ = top; }
    [[nodiscard]] RingIndex lastDrawnRecord() const { return lastDrawn_; }
    [[nodiscard]] int32_t totalLines() const { return totalLines_; }
    [[nodiscard]] CellColumn liveColumn() const { return liveColumn_; }
    [[nodiscard]] PageLine liveLine() const { return liveLine_; }

    // Lays CAPTURE out afresh (a new or opened capture, the start of a measurement): control
    // lines off for record width 0, DISPLAY taken over, top and last drawn record 0, screen
    // geometry for CLIENT, frame-line index rebuilt, total lines 0, live position 0.
    void ResetLayout(const CCaptureData& capture, const DisplayState& display, DrawingSize client);
    // A new client size outside a measurement: screen geometry and frame-line index; in frame
    // display the top record moves to the start of the line that holds it.
    void Resize(const CCaptureData& capture, DrawingSize client);
    // Re-layout after an option change: as Resize, and total lines.
    void Relayout(const CCaptureData& capture, const DisplayState& display, DrawingSize client);
    // The scroll bar for the current top record; sets the top record to the oldest when the
    // whole capture fits.
    ScrollBarState UpdateScrollInfo(const CCaptureData& capture);
    // Applies a scroll request; TRACKPOSITION is the thumb position for Track. True when the top
    // record changed (the caller then moves the search position to it and repaints).
    bool Scroll(const CCaptureData& capture, ScrollRequest request, int32_t trackPosition = 0);
    // Moves the top record so that HIT, found by COMMAND, is on the page; true when it changed.
    bool BringHitIntoView(const CCaptureData& capture, const HitRange& hit, SearchCommand command);

    // ---- Drawing -------------------------------------------------------------------------------
    // Screen grid: white lines over old frames, rules and row labels.
    void DrawGrid(CellCanvas& canvas) const;
    // Draws records into consecutive cells of the screen page (see DrawRequest).
    DrawEnd Draw(CellCanvas& canvas, const CCaptureData& capture, const DrawRequest& request);
    // A paint outside a measurement: total lines, grid, then one page from the top record.
    DrawEnd Paint(CellCanvas& canvas, const CCaptureData& capture, const HitRange* hit = nullptr);
    // Live drawing of the records received from FIRST on (at most one page of them) at the live
    // position; FIRSTBLOCK for the first block of a measurement. The reception keeps the
    // next-to-draw index and passes it as FIRST.
    void DrawReceived(CellCanvas& canvas, const CCaptureData& capture, RingIndex first,
                      bool firstBlock);
    // After an overflow mark: the records from FIRST, then the cells after them erased.
    void DrawAfterOverflow(CellCanvas& canvas, const CCaptureData& capture, RingIndex first);
    // The paint of a running measurement.
    void DrawLive(CellCanvas& canvas, const CCaptureData& capture, RingIndex nextToDraw);
    // The live page on a blank canvas after the screen geometry or the glyphs changed during a
    // measurement (an option toggled, the window resized): the newest records are drawn anew so
    // that they end at a live position inside the new page, and live drawing goes on from there.
    void RelayoutLive(CellCanvas& canvas, const CCaptureData& capture, RingIndex nextToDraw);
    // The running idle indicator at the next-to-draw position (continuous display).
    void DrawLiveIdle(CellCanvas& canvas, const CCaptureData& capture, RingIndex nextToDraw,
                      int32_t idleDisplay, uint32_t idleValue);

    // ---- Printing ------------------------------------------------------------------------------
    // Which records each page holds when CAPTURE is printed on paper of SIZE (0.1 mm) with the
    // current display values.
    [[nodiscard]] PrintPagination Paginate(const CCaptureData& capture, DrawingSize size) const;
    // Pages needed to print CAPTURE on paper of SIZE (0.1 mm).
    [[nodiscard]] int32_t PageCount(const CCaptureData& capture, DrawingSize size) const;
    // Draws page PAGENUMBER with its header; PATHNAME is the document's path (UTF-8).
    // PAGINATION, made by Paginate for the same capture and SIZE, finds the page's records;
    // printing many pages keeps one so that no page walks the capture from its start.
    void PrintPage(CellCanvas& canvas, const CCaptureData& capture, PrintPagination& pagination,
                   int32_t pageNumber, DrawingSize size, const std::string& pathName);
    void PrintPage(CellCanvas& canvas, const CCaptureData& capture, int32_t pageNumber,
                   DrawingSize size, const std::string& pathName);

private:
    void DrawFromLivePosition(CellCanvas& canvas, const CCaptureData& capture, RingIndex first,
                              bool restart, bool live);
    [[nodiscard]] ScrollBarState ScrollState(const CCaptureData& capture) const;
    // Takes over what a drawing of the screen page placed (see PageDrawResult).
    DrawEnd Apply(const PageDrawResult& drawn, const DrawRequest& request);
    [[nodiscard]] RingIndex PageRangeEnd(const CCaptureData& capture, RingIndex start,
                                         const PageGeometry& geometry) const;

    DisplayState display_;
    DrawOptions options_;
    bool controlLines_ = false;
    DrawingSize client_;
    PageGeometry screen_;
    PageGeometry print_;
    CGrphMain painter_;
    LineMap lines_;

    // The scroll position.
    RingIndex top_ = 0;
    RingIndex lastDrawn_ = 0;
    int32_t totalLines_ = 0;
    CellColumn liveColumn_ = 0;
    PageLine liveLine_ = 0;
    FrameDrawState frameState_;
};

} // namespace varnolt
