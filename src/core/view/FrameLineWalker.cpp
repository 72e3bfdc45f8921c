#include "core/view/FrameLineWalker.h"

#include <algorithm>
#include <bit>

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
    const auto take = [this](size_t taken) {
        cells_ += static_cast<CellColumn>(taken);
        return taken;
    };
    size_t taken = 0;
    if (start.enabled == 0 && end.enabled == 0) {
        // Eight at a time: a mask of the records that continue, so a run ends with one
        // unforeseen branch rather than one per record.
        constexpr size_t kBlock = 8;
        const auto continues = [&](size_t k) {
            return static_cast<unsigned>(((records[k].word ^ expected) & kKindAndFlag) == 0);
        };
        while (taken + kBlock <= limit) {
            unsigned mask = 0;
            for (size_t k = 0; k < kBlock; ++k) {
                mask |= continues(taken + k) << k;
            }
            if (mask != (1u << kBlock) - 1) {
                return take(taken + static_cast<size_t>(std::countr_one(mask)));
            }
            taken += kBlock;
        }
        while (taken < limit && continues(taken) != 0) {
            ++taken;
        }
    } else {
        while (taken < limit && (records[taken].word & kKindAndFlag) == expected &&
               !Matches(start, CodeOf(records[taken].word)) &&
               !Matches(end, CodeOf(records[taken].word))) {
            ++taken;
        }
    }
    return take(taken);
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
