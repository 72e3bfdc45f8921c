#pragma once

#include "core/view/FrameLineIndex.h"
#include "core/view/FrameLineWalker.h"
#include "core/view/ViewTypes.h"

#include <cstdint>
#include <optional>

namespace varnolt {

// The first record of a line and that line's 1-based number.
struct LineStart {
    RingIndex record = kNoRecord;
    LineNumber line = 0;
    friend bool operator==(const LineStart&, const LineStart&) = default;
};

// How the records of a capture fall into lines, for a given number of columns: in continuous
// display plain arithmetic on offsets from the oldest record, in frame display a walk with the
// frame rules that starts from the nearest pair of the frame-line index. Pure arithmetic: it
// knows nothing of a page, a scroll position or a painter.
//
// Every query is defined for any argument: a record outside the capture, a negative line or
// no columns give kNoRecord, nullopt or 0.
class LineMap {
public:
    [[nodiscard]] DisplayMode mode() const { return mode_; }
    // True when MODE differs from the one before.
    bool setMode(DisplayMode mode);

    // Walks the whole capture with the frame rules and COLUMNS, rebuilds the frame-line index
    // and returns the number of frame lines.
    LineNumber CountFrameLines(const CCaptureData& capture, CellColumn columns);
    [[nodiscard]] LineNumber frameLineCount() const { return frameLines_; }
    [[nodiscard]] const FrameLineIndex& frameLineIndex() const { return index_; }

    // Lines of the whole capture in the current mode with COLUMNS per line; 0 for fewer than
    // two records. In frame display the count of the latest CountFrameLines.
    [[nodiscard]] int32_t TotalLines(const CCaptureData& capture, CellColumn columns) const;
    // First record of the line N lines after the line that starts at FROM; kNoRecord when that
    // line does not exist or N < 0.
    [[nodiscard]] RingIndex LineToRecord(const CCaptureData& capture, RingIndex from, int32_t n,
                                         CellColumn columns) const;
    // First record of the frame line holding RECORD, and that line's number; nullopt when
    // RECORD is not in the capture.
    [[nodiscard]] std::optional<LineStart> RecordToLine(const CCaptureData& capture,
                                                        RingIndex record, CellColumn columns) const;

private:
    [[nodiscard]] RingIndex WalkToLine(const CCaptureData& capture, RingIndex start,
                                       LineNumber startLine, LineNumber target,
                                       CellColumn columns) const;

    DisplayMode mode_ = DisplayMode::Continuous;
    FrameLineIndex index_;
    LineNumber frameLines_ = 0;
};

} // namespace varnolt
