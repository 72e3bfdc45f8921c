#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureHeader.h"
#include "core/capture/RecordWord.h"
#include "core/view/ViewTypes.h"

#include <array>
#include <cstddef>
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
    // Applies the rules to COUNT idle or time-stamp continuation words right after a Step() of
    // their head, as Step() would: they only lengthen the run the head opened.
    void StepGroupContinuations(int count) { stampRun_ += count; }

    // Takes the records from RECORDS on (at most COUNT) that simply continue the current line,
    // as Step() would take them without a break: characters (not errors) of the latest
    // direction without the line-start flag, matching no delimiter, while the line has room.
    // Returns how many it took; a walk over long runs of characters skips Step() for them.
    size_t TakeContinuingCharacters(const CaptureRecord* records, size_t count);

    // Cells on the current line so far.
    [[nodiscard]] CellColumn cells() const { return cells_; }
    [[nodiscard]] LineDirection previousDirection() const { return previous_; }
    [[nodiscard]] CellColumn columns() const { return columns_; }

private:
    static bool Matches(const FrameDelimiter& delimiter, uint8_t code) {
        return delimiter.enabled != 0 && delimiter.code == code;
    }
    bool StepCharacter(RecordWord word, LineDirection direction, bool isError, bool marked);

    CellColumn columns_;
    FrameDelimiters delimiters_;
    CellColumn cells_ = 0;
    int32_t stampRun_ = 0; // idle and time-stamp records in a row
    LineDirection previous_ = LineDirection::None;
    bool pendingBreak_ = true; // the first record of a walk starts line 1
};

// Step() runs for every record of a walk: it is inline.
inline bool FrameLineWalker::StepCharacter(RecordWord word, LineDirection direction, bool isError,
                                           bool marked) {
    const bool sd = direction == LineDirection::Sd;
    const FrameDelimiter& start =
        delimiters_[static_cast<size_t>(sd ? DelimiterSlot::SdStart : DelimiterSlot::RdStart)];
    const FrameDelimiter& end =
        delimiters_[static_cast<size_t>(sd ? DelimiterSlot::SdEnd : DelimiterSlot::RdEnd)];
    const uint8_t code = CodeOf(word);
    const LineDirection opposite = sd ? LineDirection::Rd : LineDirection::Sd;
    const bool opensLine =
        IsLineStart(word) || previous_ == opposite || (!isError && Matches(start, code));
    if (opensLine) {
        cells_ = 1;
        // A character right after idle and time-stamp records fills the line they opened.
        if (stampRun_ == 0) {
            marked = true;
        }
    } else {
        ++cells_;
    }
    if (!isError && Matches(end, code)) {
        pendingBreak_ = true;
    }
    previous_ = direction;
    stampRun_ = 0;
    return marked;
}

inline bool FrameLineWalker::Step(RecordWord word) {
    bool marked = false;
    if (pendingBreak_) {
        pendingBreak_ = false;
        cells_ = 0;
        marked = true;
    }
    // Tests rather than a switch: kinds follow each other at random, and a jump through a table
    // is foreseen worse than these branches.
    const RecordKind kind = KindOf(word);
    if (kind >= RecordKind::SdCharacter && kind <= RecordKind::RdError) {
        const bool sd = kind == RecordKind::SdCharacter || kind == RecordKind::SdError;
        marked = StepCharacter(word, sd ? LineDirection::Sd : LineDirection::Rd,
                               kind >= RecordKind::SdError, marked);
    } else if (kind >= RecordKind::IdleHead && kind <= RecordKind::StampContinuation) {
        if (++stampRun_ == 1) {
            marked = true;
            cells_ = 0;
        }
    } else if (kind == RecordKind::ControlLineChange) {
        ++cells_;
        stampRun_ = 0;
    }
    if (cells_ > columns_) {
        cells_ = 1;
        marked = true;
    }
    return marked;
}

// The direction of the latest character or error record before INDEX, looking back at most to
// the oldest record; None when there is none.
[[nodiscard]] LineDirection DirectionBefore(const CCaptureData& capture, RingIndex index);

} // namespace varnolt
