#include "core/view/FrameLineWalker.h"

namespace varnolt {

namespace {

bool Matches(const FrameDelimiter& delimiter, uint8_t code) {
    return delimiter.enabled != 0 && delimiter.code == code;
}

} // namespace

bool FrameLineWalker::StepCharacter(RecordWord word, LineDirection direction, bool isError,
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

bool FrameLineWalker::Step(RecordWord word) {
    bool marked = false;
    if (pendingBreak_) {
        pendingBreak_ = false;
        cells_ = 0;
        marked = true;
    }
    switch (KindOf(word)) {
    case RecordKind::SdCharacter:
        marked = StepCharacter(word, LineDirection::Sd, false, marked);
        break;
    case RecordKind::RdCharacter:
        marked = StepCharacter(word, LineDirection::Rd, false, marked);
        break;
    case RecordKind::SdError:
        marked = StepCharacter(word, LineDirection::Sd, true, marked);
        break;
    case RecordKind::RdError:
        marked = StepCharacter(word, LineDirection::Rd, true, marked);
        break;
    case RecordKind::IdleHead:
    case RecordKind::IdleContinuation:
    case RecordKind::StampHead:
    case RecordKind::StampContinuation:
        if (++stampRun_ == 1) {
            marked = true;
            cells_ = 0;
        }
        break;
    case RecordKind::ControlLineChange:
        ++cells_;
        stampRun_ = 0;
        break;
    default:
        break;
    }
    if (cells_ > columns_) {
        cells_ = 1;
        marked = true;
    }
    return marked;
}

LineDirection DirectionBefore(const CCaptureData& capture, RingIndex index) {
    RecordCount offset = OffsetFromOldest(capture, index);
    RingIndex at = index;
    while (offset-- > 0) {
        at = at == 0 ? capture.capacity() - 1 : at - 1;
        switch (KindOf(capture.word(at))) {
        case RecordKind::SdCharacter:
        case RecordKind::SdError:
            return LineDirection::Sd;
        case RecordKind::RdCharacter:
        case RecordKind::RdError:
            return LineDirection::Rd;
        default:
            break;
        }
    }
    return LineDirection::None;
}

} // namespace varnolt
