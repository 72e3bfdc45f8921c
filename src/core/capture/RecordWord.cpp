#include "core/capture/RecordWord.h"

namespace varnolt {

namespace {

// Bits HIGH..LOW of VALUE.
constexpr uint32_t Bits(uint32_t value, int high, int low) {
    return value >> low & ((1u << (high - low + 1)) - 1);
}

// Packs digits given most significant first into nibbles.
template <typename... Digits>
constexpr uint32_t PackDigits(Digits... digits) {
    uint32_t packed = 0;
    ((packed = packed << 4 | (digits & 0xF)), ...);
    return packed;
}

} // namespace

bool IsItemStart(RecordWord word) {
    switch (KindOf(word)) {
    case RecordKind::SdCharacter:
    case RecordKind::RdCharacter:
    case RecordKind::SdError:
    case RecordKind::RdError:
    case RecordKind::IdleHead:
    case RecordKind::StampHead:
    case RecordKind::ControlLineChange:
        return true;
    default:
        return false;
    }
}

StampLayout LayoutOfStampKind(uint8_t stampKind) {
    return stampKind == 2 || stampKind == 5 ? StampLayout::B : StampLayout::A;
}

StampDigits UnpackTimeStamp(RecordWord head, RecordWord first, RecordWord second,
                            RecordWord third) {
    const uint32_t h = CodeOf(head);
    const uint32_t c1 = FieldOf(first);
    const uint32_t c2 = FieldOf(second);
    const uint32_t c3 = FieldOf(third);
    if (LayoutOfStampKind(SubKindOf(head)) == StampLayout::A) {
        const uint32_t minuteUnits = Bits(c2, 2, 0) << 1 | Bits(c3, 11, 11);
        return {PackDigits(Bits(h, 7, 4), Bits(h, 3, 0), Bits(c1, 11, 10), Bits(c1, 9, 6),
                           Bits(c1, 5, 4), Bits(c1, 3, 0)),
                PackDigits(Bits(c2, 11, 10), Bits(c2, 9, 6), Bits(c2, 5, 3), minuteUnits,
                           Bits(c3, 10, 8), Bits(c3, 7, 4), 0u, 0u)};
    }
    const uint32_t minuteTens = Bits(c1, 1, 0) << 1 | Bits(c2, 11, 11);
    return {PackDigits(Bits(h, 7, 6), Bits(h, 5, 2), Bits(h, 1, 0), Bits(c1, 11, 8)),
            PackDigits(Bits(c1, 7, 6), Bits(c1, 5, 2), minuteTens, Bits(c2, 10, 7), Bits(c2, 6, 4),
                       Bits(c2, 3, 0), Bits(c3, 11, 8), Bits(c3, 7, 4))};
}

} // namespace varnolt
