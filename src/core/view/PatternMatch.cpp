#include "core/view/PatternMatch.h"

namespace varnolt {

bool ElementMatches(const PatternElement& element, RecordWord word,
                    const CharacterPattern& pattern) {
    const RecordKind kind = KindOf(word);
    const bool character = kind == RecordKind::SdCharacter || kind == RecordKind::RdCharacter;
    const bool error = kind == RecordKind::SdError || kind == RecordKind::RdError;
    const uint8_t code = CodeOf(word);
    switch (element.kind) {
    case kPatternCharacter:
        return character && code == element.value;
    case kPatternError:
        return error && code == element.value;
    case kPatternAny:
        return character || error;
    case kPatternBitMask: {
        if (!character || element.value >= pattern.bitMasks.size()) {
            return false;
        }
        const PatternBitMask& mask = pattern.bitMasks[element.value];
        return (code & mask.mustBeOne) == mask.mustBeOne && (code & mask.mustBeZero) == 0;
    }
    case kPatternRange: {
        if (!character || element.value >= pattern.ranges.size()) {
            return false;
        }
        const PatternRange& range = pattern.ranges[element.value];
        return (range.lowEnabled != 1 || code >= range.low) &&
               (range.highEnabled != 1 || code <= range.high);
    }
    default:
        return false;
    }
}

} // namespace varnolt
