#include "core/view/FrameLineWalker.h"

#include <algorithm>

namespace varnolt {

namespace {

// A character of each direction with the line-start flag clear, under kKindAndLineStart.
constexpr RecordWord kKindAndLineStart = 0xF1000000;
constexpr RecordWord kPlainSdCharacter = static_cast<RecordWord>(RecordKind::SdCharacter) << 28;
constexpr RecordWord kPlainRdCharacter = static_cast<RecordWord>(RecordKind::RdCharacter) << 28;

} // namespace

size_t FrameLineWalker::TakeContinuingCharacters(const CaptureRecord* records, size_t count) {
    if (pendingBreak_ || previous_ == LineDirection::None || cells_ >= columns_) {
        return 0;
    }
    const bool sd = previous_ == LineDirection::Sd;
    const FrameDelimiter& start =
        delimiters_[static_cast<size_t>(sd ? DelimiterSlot::SdStart : DelimiterSlot::RdStart)];
    const FrameDelimiter& end =
        delimiters_[static_cast<size_t>(sd ? DelimiterSlot::SdEnd : DelimiterSlot::RdEnd)];
    // A delimiter's code as the loop compares it: one no character has while it is disabled.
    const auto codeToMatch = [](const FrameDelimiter& delimiter) {
        return delimiter.enabled != 0 ? int{delimiter.code} : -1;
    };
    const int startCode = codeToMatch(start);
    const int endCode = codeToMatch(end);
    const RecordWord expected = sd ? kPlainSdCharacter : kPlainRdCharacter;
    const size_t limit = std::min(count, static_cast<size_t>(columns_ - cells_));
    size_t taken = 0;
    while (taken < limit) {
        const RecordWord word = records[taken].word;
        const int code = CodeOf(word);
        if ((word & kKindAndLineStart) != expected || code == startCode || code == endCode) {
            break;
        }
        ++taken;
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
