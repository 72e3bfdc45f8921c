#include "core/link/reception/LineStates.h"

#include "core/capture/RecordWord.h"

namespace varnolt {

void SetLineStatesFromControlField(LineStates& states, uint16_t field) {
    constexpr LineSlot kOrder[] = {kLineRs, kLineEr, kLineCs, kLineDr, kLineCd, kLineCi};
    for (size_t i = 0; i < std::size(kOrder); ++i) {
        states[kOrder[i]] = (field >> (2 * i)) & 0x3;
    }
}

std::optional<uint16_t> NewestControlLineField(const CCaptureData& capture, RingIndex first,
                                               RingIndex last) {
    if (capture.header().recordWidth != 1 || capture.empty() || first < 0 || last < 0) {
        return std::nullopt;
    }
    // Newest first; the range never holds more than the ring, so the walk ends at FIRST.
    RingIndex index = last;
    for (RecordCount seen = 0; seen < capture.capacity(); ++seen) {
        const RecordWord word = capture.word(index);
        const RecordKind kind = KindOf(word);
        if (kind == RecordKind::SdCharacter || kind == RecordKind::RdCharacter) {
            return ControlLineFieldOf(word);
        }
        if (index == first) {
            break;
        }
        index = capture.WrapIndex(index, -1);
    }
    return std::nullopt;
}

} // namespace varnolt
