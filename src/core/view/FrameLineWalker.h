#pragma once

#include "core/capture/CaptureHeader.h"
#include "core/capture/RecordWord.h"
#include "core/view/ViewTypes.h"

#include <array>
#include <cstdint>

namespace varnolt {

// The frame delimiters of a capture, in the order of CaptureHeader::delimiters.
using FrameDelimiters = std::array<FrameDelimiter, 4>;

// Direction of the latest character or error record on the walk.
enum class LineDirection : uint8_t { None, Sd, Rd };

// The line-break rules of frame display, one record at a time. A line holds characters and
// errors of one direction; it breaks before a record with the line-start flag, on a change of
// direction, before a start code and after an end code of an enabled delimiter, when it would
// hold more than COLUMNS cells, and before every run of idle and time-stamp records, which take
// no data cell and open the line that the characters after them fill.
class FrameLineWalker {
public:
    FrameLineWalker(CellColumn columns, const FrameDelimiters& delimiters)
        : columns_(columns), delimiters_(delimiters) {}

    // Begins a walk at a record known to start a line; PREVIOUS is the direction of the latest
    // character or error record before it. The next Step() starts a line.
    void StartAtLineStart(LineDirection previous) {
        previous_ = previous;
        pendingBreak_ = true;
        cells_ = 0;
        stampRun_ = 0;
    }

    // Applies the rules to WORD; true when it starts a new line.
    bool Step(RecordWord word);

    // Cells on the current line so far.
    [[nodiscard]] CellColumn cells() const { return cells_; }
    [[nodiscard]] LineDirection previousDirection() const { return previous_; }
    [[nodiscard]] CellColumn columns() const { return columns_; }

private:
    bool StepCharacter(RecordWord word, LineDirection direction, bool isError, bool marked);

    CellColumn columns_;
    FrameDelimiters delimiters_;
    CellColumn cells_ = 0;
    int32_t stampRun_ = 0; // idle and time-stamp records in a row
    LineDirection previous_ = LineDirection::None;
    bool pendingBreak_ = true; // the first record of a walk starts line 1
};

// The direction of the latest character or error record before INDEX, looking back at most to
// the oldest record; None when there is none.
[[nodiscard]] LineDirection DirectionBefore(const CCaptureData& capture, RingIndex index);

} // namespace varnolt
