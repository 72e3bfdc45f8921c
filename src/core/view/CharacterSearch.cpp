#include "core/view/PatternMatch.h"
#include "core/view/SearchCondition.h"
#include "core/view/SearchWalk.h"

namespace varnolt {

namespace {

enum class Line : uint8_t { None, Sd, Rd };

Line LineOf(RecordWord word) {
    switch (KindOf(word)) {
    case RecordKind::SdCharacter:
    case RecordKind::SdError:
        return Line::Sd;
    case RecordKind::RdCharacter:
    case RecordKind::RdError:
        return Line::Rd;
    default:
        return Line::None;
    }
}

// A partial match on one line: how many elements matched, and the record where it began.
struct PartialMatch {
    int32_t matched = 0;
    RingIndex start = kNoRecord;
};

} // namespace

// SD and RD records are matched independently, each line with its own partial match; other
// records neither match nor interrupt one. After a failed partial match the walk goes back to
// the record after the one where it began (before it, backwards), so that every start is tried;
// the other line has already read those records and skips them until the walk is back at the
// failure. That block is never shortened by a further failure on the way back: a hit is always
// the pattern's elements, in order, on records of one line.
bool SearchCondition::FindCharacters(const CCaptureData& capture, RingIndex start,
                                     SearchDirection direction) {
    const auto elements = criteria_.pattern.usedElements();
    const auto length = static_cast<int32_t>(elements.size());
    const bool forward = direction == SearchDirection::Forward;
    const RingSteps steps(capture);
    PartialMatch sd;
    PartialMatch rd;
    Line blocked = Line::None;
    RingIndex blockEnd = kNoRecord;
    RingIndex i = start;
    while (true) {
        if (blocked != Line::None && i == blockEnd) {
            blocked = Line::None;
        }
        const RecordWord word = capture.word(i);
        const Line line = LineOf(word);
        if (line != Line::None && line != blocked) {
            PartialMatch& match = line == Line::Sd ? sd : rd;
            const int32_t element = forward ? match.matched : length - 1 - match.matched;
            if (ElementMatches(elements[static_cast<size_t>(element)], word, criteria_.pattern)) {
                if (match.matched == 0) {
                    match.start = i;
                }
                if (++match.matched == length) {
                    const RingIndex first = forward ? match.start : i;
                    const RingIndex last = forward ? i : match.start;
                    hit_ = {first, last,
                            line == Line::Sd ? HitKind::SdCharacters : HitKind::RdCharacters};
                    (line == Line::Sd ? matches_.sdFirst : matches_.rdFirst) = first;
                    (line == Line::Sd ? matches_.sdLast : matches_.rdLast) = last;
                    return true;
                }
            } else if (match.matched > 0) {
                match.matched = 0;
                if (blocked == Line::None) {
                    blocked = line == Line::Sd ? Line::Rd : Line::Sd;
                    blockEnd = i;
                }
                i = steps.Step(match.start, forward);
                continue;
            }
        }
        if (steps.AtSeam(i, forward)) {
            sd = {};
            rd = {};
        }
        i = steps.Step(i, forward);
        if (i == start) {
            return false;
        }
    }
}

} // namespace varnolt
