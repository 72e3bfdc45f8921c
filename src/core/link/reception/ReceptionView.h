#pragma once

#include "core/capture/CCaptureData.h"

#include <cstdint>
#include <string_view>

namespace varnolt {

// What online reception asks of the data view and the main frame. The view implements it; the
// reception code calls it on the user-interface thread, from the 10 ms poll and from the start,
// stop and download commands.
//
// Ring ranges are inclusive and may step through the ring's end (FIRST > LAST after a wrap);
// walk them with CCaptureData::WrapIndex.
class ReceptionView {
public:
    ReceptionView() = default;
    ReceptionView(const ReceptionView&) = delete;
    ReceptionView& operator=(const ReceptionView&) = delete;
    virtual ~ReceptionView() = default;

    // ---- Live drawing, while a measurement runs --------------------------------------------
    // A data block has just been appended: draw from FIRST to the newest record at the live
    // position (at most a page). RESTART is true for the first block of a measurement (the
    // frame-line state starts afresh) and false for every later one. Drawing only draws: the
    // reception has taken the line states from the records already.
    virtual void DrawReceived(RingIndex first, bool restart) = 0;
    // An overflow mark has just been appended as the newest record: draw from FIRST to it
    // without the live flag (the cells after it are erased) and make the end the live position.
    virtual void DrawOverflow(RingIndex first) = 0;
    // The analyzer reports a running idle time IDLE_VALUE (in units of the idle display
    // resolution) after the newest record; NEXT_TO_DRAW is where the next record will go.
    // Called only with idle display on and in continuous display.
    virtual void DrawLiveIdle(RingIndex nextToDraw, uint32_t idleValue) = 0;

    // ---- Status bar and panes ----------------------------------------------------------------
    // The line lamps from the line-state block: all eight with ALL_LAMPS, else SD and RD.
    virtual void RefreshLineLamps(bool allLamps) = 0;
    // The status bar's conditions and all its lamps, and both panes (device status and
    // transmit), after a status answer while stopped, a start, a stop or a lost link.
    virtual void RefreshStatusAndPanes() = 0;
    // The device status pane alone, after a status answer during a measurement.
    virtual void RefreshDevicePane() = 0;

    // ---- Notices -----------------------------------------------------------------------------
    // Something the user must hear of while reception goes on (a save that failed or was
    // refused, a save folder that has gone, the analyzer measuring with other conditions than
    // the PC's settings). Shown without waiting for anyone: the poll must never stop for it.
    virtual void ShowNotice(std::string_view text) = 0;

    // ---- Layout ------------------------------------------------------------------------------
    // A measurement start ended (RUNNING: the analyzer measures): the capture was renewed; lay
    // it out afresh (live position to column 0 of line 0) and redraw; while RUNNING the
    // vertical scroll bar is disabled.
    virtual void OnMeasurementStarted(bool running) = 0;
    // The measurement stopped: lay the whole capture out for scrolling (scroll bar enabled).
    virtual void OnMeasurementStopped() = 0;
    // A stored-data download ended (or failed after renewing the capture): publish the display
    // settings, hide the progress, lay the capture out from its start, redraw, reset the
    // search position.
    virtual void OnDownloadEnded() = 0;
};

} // namespace varnolt
