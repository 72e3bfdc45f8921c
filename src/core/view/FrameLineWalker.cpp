#include "core/view/FrameLineWalker.h"

#include <algorithm>
#include <array>
#include <cstring>

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
    const RecordWord expected = sd ? kPlainSdCharacter : kPlainRdCharacter;
    const size_t limit = std::min(count, static_cast<size_t>(columns_ - cells_));
    size_t taken = 0;
    while (taken < limit && (records[taken].word & kKindAndLineStart) == expected &&
           !Matches(start, CodeOf(records[taken].word)) &&
           !Matches(end, CodeOf(records[taken].word))) {
        ++taken;
    }
    cells_ += static_cast<CellColumn>(taken);
    return taken;
}

namespace {

// PlainCharactersOf() over exactly 64 records.
PlainCharacterMasks PlainCharactersOf64(const CaptureRecord* records) {
    constexpr size_t kRecords = 64;
    // Each record's kind byte, then a flag byte per record, in plain loops the compiler turns
    // into vector shifts and compares of sixteen bytes; then eight flags at a time gathered into
    // bits by one multiplication: the flag of byte K lands on bit 56 + K, and no two products
    // meet. Every byte is written before it is read.
    std::array<uint8_t, kRecords> top; // NOLINT(cppcoreguidelines-pro-type-member-init)
    std::array<uint8_t, kRecords> sd;  // NOLINT(cppcoreguidelines-pro-type-member-init)
    std::array<uint8_t, kRecords> rd;  // NOLINT(cppcoreguidelines-pro-type-member-init)
    for (size_t k = 0; k < kRecords; ++k) {
        top[k] = static_cast<uint8_t>(records[k].word >> 24);
    }
    for (size_t k = 0; k < kRecords; ++k) {
        const uint8_t kindAndLineStart = top[k] & (kKindAndLineStart >> 24);
        sd[k] = kindAndLineStart == (kPlainSdCharacter >> 24) ? 1 : 0;
        rd[k] = kindAndLineStart == (kPlainRdCharacter >> 24) ? 1 : 0;
    }
    constexpr uint64_t kGather = 0x0102040810204080;
    PlainCharacterMasks masks;
    for (size_t byte = 0; byte < kRecords / 8; ++byte) {
        uint64_t sdFlags = 0;
        uint64_t rdFlags = 0;
        std::memcpy(&sdFlags, sd.data() + 8 * byte, 8);
        std::memcpy(&rdFlags, rd.data() + 8 * byte, 8);
        masks.sd |= (sdFlags * kGather >> 56) << (8 * byte);
        masks.rd |= (rdFlags * kGather >> 56) << (8 * byte);
    }
    return masks;
}

} // namespace

PlainCharacterMasks PlainCharactersOf(const CaptureRecord* records, size_t count) {
    if (count >= 64) {
        return PlainCharactersOf64(records);
    }
    // A short stretch (at the end of the ring or of the capture) is padded with records that
    // are no characters.
    std::array<CaptureRecord, 64> padded{};
    std::copy_n(records, count, padded.begin());
    return PlainCharactersOf64(padded.data());
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
