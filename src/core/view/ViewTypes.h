#pragma once

#include "core/capture/CCaptureData.h"

#include <cstdint>

namespace varnolt {

// Units of the data view. A column counts cells from the left of a line's data area, a page line
// counts lines from the top of the page, a line number counts the lines of a whole capture from 1.
using CellColumn = int32_t;
using PageLine = int32_t;
using LineNumber = int32_t;
// A coordinate on the drawing surface: client pixels with y down on screen, 0.1 mm with y up on
// paper (so paper coordinates below the top edge are negative).
using Coordinate = int32_t;

// How the capture is laid out: every line the same number of cells with an SD row over an RD
// row, or one frame of one direction per line.
enum class DisplayMode : int32_t { Continuous = 0, Frame = 1 };

// Where a page is drawn: the screen (y down, pixels) or paper (y up, 0.1 mm).
enum class Surface : uint8_t { Screen, Paper };

// How control-line rows are drawn: a level line per state, or a coloured band per state.
enum class LinePattern : int16_t { Line = 0, Filled = 1 };

// The process-wide display values the layout reads: display mode of the analyzer settings, idle
// and time display of the capture header.
struct DisplayState {
    DisplayMode mode = DisplayMode::Continuous;
    int32_t idleDisplay = 0; // 0 off, 1 … 3 resolution of the idle values
    int32_t timeDisplay = 0; // 0 off, 1 … 5 time-stamp format
    friend bool operator==(const DisplayState&, const DisplayState&) = default;
};

// The per-user drawing options (the "HexView" and "LinePattern" values of the settings).
struct DrawOptions {
    bool hexView = false;
    LinePattern linePattern = LinePattern::Line;
    friend bool operator==(const DrawOptions&, const DrawOptions&) = default;
};

// What a search hit covers: ring range FIRST … LAST (along the ring) and the kind of record
// found. Kind kNoHit marks nothing.
enum class HitKind : int32_t {
    None = 0,
    SdCharacters = 0x1000,
    RdCharacters = 0x2000,
    Error = 0x3000,
    Idle = 0x5000,
    TimeStamp = 0x7000,
};

struct HitRange {
    RingIndex first = 0;
    RingIndex last = 0;
    HitKind kind = HitKind::None;
    friend bool operator==(const HitRange&, const HitRange&) = default;
};

// Position of a record counted from the oldest record of CAPTURE (0 … Count() - 1).
[[nodiscard]] inline RecordCount OffsetFromOldest(const CCaptureData& capture, RingIndex index) {
    const RecordCount offset = index - capture.firstIndex();
    return offset < 0 ? offset + capture.capacity() : offset;
}

// Position of a record counted from the first record appended since the capture was emptied:
// while a measurement runs, a full ring drops its oldest records, but the records keep the
// numbers they were received with.
[[nodiscard]] inline int64_t OffsetFromFirstAppended(const CCaptureData& capture, RingIndex index) {
    return capture.overwritten() + OffsetFromOldest(capture, index);
}

// The record OFFSET places after the oldest record.
[[nodiscard]] inline RingIndex RecordAtOffset(const CCaptureData& capture, RecordCount offset) {
    return capture.WrapIndex(capture.firstIndex(), offset);
}

} // namespace varnolt
