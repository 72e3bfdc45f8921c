#include "core/view/FrameLineWalker.h"

#include <algorithm>

namespace varnolt {

size_t FrameLineWalker::TakeContinuingCharacters(const CaptureRecord* records, size_t count) {
    if (pendingBreak_ || previous_ == LineDirection::None || cells_ >= columns_) {
        return 0;
    }
    const bool sd = previous_ == LineDirection::Sd;
    const FrameDelimiter& start =
        delimiters_[static_cast<size_t>(sd ? DelimiterSlot::SdStart : DelimiterSlot::RdStart)];
    const FrameDelimiter& end =
        delimiters_[static_cast<size_t>(sd ? DelimiterSlot::SdEnd : DelimiterSlot::RdEnd)];
    // The kind of the latest direction's characters, and the line-start flag clear.
    constexpr RecordWord kKindAndFlag = 0xF1000000;
    const RecordWord expected =
        static_cast<RecordWord>(sd ? RecordKind::SdCharacter : RecordKind::RdCharacter) << 28;
    const size_t limit = std::min(count, static_cast<size_t>(columns_ - cells_));
    size_t taken = 0;
    if (start.enabled == 0 && end.enabled == 0) {
        while (taken < limit && (records[taken].word & kKindAndFlag) == expected) {
            ++taken;
        }
    } else {
        while (taken < limit && (records[taken].word & kKindAndFlag) == expected &&
               !Matches(start, CodeOf(records[taken].word)) &&
               !Matches(end, CodeOf(records[taken].word))) {
            ++taken;
        }
    }
    cells_ += static_cast<CellColumn>(taken);
    return taken;
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
