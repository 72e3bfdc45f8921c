#include "core/capture/OldRecordConverter.h"

namespace varnolt {

namespace {

constexpr int kStampContinuations = 3;
constexpr uint8_t kConvertedStampKind = 1;

// The last 4 payload bits of an old time-stamp word (bits 19..16).
uint32_t CarriedBits(RecordWord old) {
    return old >> 16 & 0xF;
}

} // namespace

std::optional<RecordWord> OldRecordConverter::convert(RecordWord old) {
    const RecordWord previous = previous_;
    previous_ = old;
    switch (KindOf(old)) {
    case RecordKind::IdleHead:
    case RecordKind::IdleContinuation:
        idleSeen_ = true;
        return old;
    case RecordKind::StampHead:
        stampSeen_ = true;
        continuations_ = 0;
        return MakeRecordWord(RecordKind::StampHead, kConvertedStampKind << 8 | (old >> 20 & 0xFF));
    case RecordKind::StampContinuation: {
        ++continuations_;
        if (continuations_ > kStampContinuations) {
            return std::nullopt;
        }
        const uint32_t next =
            continuations_ < kStampContinuations ? (old >> 20 & 0xFF) : (old >> 24 & 0xF) << 4;
        return MakeRecordWord(RecordKind::StampContinuation, CarriedBits(previous) << 8 | next);
    }
    default:
        return old;
    }
}

size_t OldRecordConverter::convertInPlace(std::span<RecordWord> words) {
    size_t kept = 0;
    for (const RecordWord old : words) {
        if (const auto converted = convert(old)) {
            words[kept++] = *converted;
        }
    }
    return kept;
}

} // namespace varnolt
