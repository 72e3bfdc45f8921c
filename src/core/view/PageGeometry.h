#pragma once

#include "core/view/ViewTypes.h"

#include <cstdint>

namespace varnolt {

// The positions and sizes of one drawn page, in the units of its surface (client pixels on
// screen, 0.1 mm on paper). A line of the page starts at y0 = topMargin + line × linePitch and
// its column c at x = dataX + c × cellWidth; ySign turns these downward offsets into surface y.
struct PageGeometry {
    int32_t ySign = 1;              // 1 on screen, -1 on paper (y grows upwards)
    int32_t glyphHeight = 0;        // cell font height
    Coordinate ruleWidth = 0;       // right end of rules and grid lines
    Coordinate pageHeight = 0;      // height that holds lines
    Coordinate leftMargin = 0;      // left end of the data area
    Coordinate topMargin = 0;       // y0 of the first line
    Coordinate linePitch = 0;       // from one line to the next
    Coordinate cellWidth = 0;       // from one cell to the next
    Coordinate rowPitch = 0;        // from the SD row to the RD row (frame: to the control lines)
    Coordinate labelX = 0;          // the row labels
    Coordinate dataX = 0;           // column 0
    Coordinate timeX = 0;           // first time-stamp cell (frame display)
    Coordinate idleX = 0;           // first idle cell (frame display)
    CellColumn columns = 0;         // data cells per line
    PageLine linesPerPage = 0;      // lines on the page
    RecordCount firstPageCells = 0; // paper: cells on page 1
    RecordCount laterPageCells = 0; // paper: cells on every later page
    Coordinate controlRowPitch = 0; // from one control-line row to the next
    RecordCount cellsPerPage = 0;   // columns × linesPerPage

    friend bool operator==(const PageGeometry&, const PageGeometry&) = default;
};

// Width and height of the drawing rectangle: the client area on screen, the printable page in
// 0.1 mm on paper.
struct DrawingSize {
    Coordinate width = 0;
    Coordinate height = 0;
};

// What the geometry depends on besides the rectangle.
struct GeometryInputs {
    Surface surface = Surface::Screen;
    DisplayState display;
    bool controlLines = false; // control-line rows shown
    int32_t pageNumber = 1;    // paper: page 1 has the larger top margin
};

// Cells of the stamp columns in frame display (none in continuous display).
[[nodiscard]] int32_t IdleStampCells(const DisplayState& display);
[[nodiscard]] int32_t TimeStampCells(const DisplayState& display);

// The geometry for SIZE. Counts that would be negative for a tiny rectangle are 0.
[[nodiscard]] PageGeometry ComputePageGeometry(const GeometryInputs& inputs, DrawingSize size);

} // namespace varnolt
