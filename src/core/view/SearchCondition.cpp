#include "core/view/SearchCondition.h"

#include "core/view/SearchWalk.h"

#include <algorithm>

namespace varnolt {

namespace {

// How far before the given position a backward idle and time-stamp search begins: find previous
// passes the hit's last record, so this starts just before the previous group.
constexpr RecordCount kIdleGroupBack = 3;
constexpr RecordCount kStampGroupBack = 4;

// Two decimal digits of VALUE as packed nibbles.
uint32_t TwoDigits(int value) {
    const int v = ((value % 100) + 100) % 100;
    return static_cast<uint32_t>(v / 10 << 4 | v % 10);
}

// A date bound as packed digits Y Y M M D D (the year without its century).
uint32_t PackedDate(const CalendarTime& time) {
    return TwoDigits(time.year) << 16 | TwoDigits(time.month) << 8 | TwoDigits(time.day);
}

// A time bound as packed digits H H M M S S 0 0.
uint32_t PackedTime(const CalendarTime& time) {
    return TwoDigits(time.hour) << 24 | TwoDigits(time.minute) << 16 | TwoDigits(time.second) << 8;
}

// Milliseconds per unit of an idle head's resolution; 0 for an unknown resolution.
uint64_t IdleUnitMs(RecordWord head) {
    switch (IdleResolution(head)) {
    case 1:
        return 1;
    case 2:
        return 10;
    case 3:
        return 100;
    default:
        return 0;
    }
}

// The record where a walk from POSITION begins. GROUPBACK is how far a backward walk starts
// before POSITION; SPAN is how many records a forward match needs in an unwrapped ring, and
// BACKLIMIT the position below which a backward walk starts at the newest record.
RingIndex StartIndex(const CCaptureData& capture, RingIndex position, SearchDirection direction,
                     RecordCount groupBack, RecordCount span, RecordCount backLimit) {
    const RingIndex last = capture.lastIndex();
    if (position < 0 || position >= capture.capacity()) {
        return capture.firstIndex();
    }
    if (direction == SearchDirection::Forward) {
        const RingIndex next = capture.WrapIndex(position, 1);
        if (!capture.wrapped() && last - next + 1 < span) {
            return 0;
        }
        return next;
    }
    RingIndex start = capture.WrapIndex(position, -groupBack);
    if (!capture.wrapped()) {
        if (position < backLimit) {
            start = last;
        }
        start = std::min(start, last);
    }
    return start;
}

// Calls TEST(index) for every record once around from START; stops at the first true.
template <typename Test>
bool WalkOnce(const CCaptureData& capture, RingIndex start, SearchDirection direction,
              Test&& test) {
    const RingSteps steps(capture);
    const bool forward = direction == SearchDirection::Forward;
    RingIndex i = start;
    do {
        if (test(i)) {
            return true;
        }
        i = steps.Step(i, forward);
    } while (i != start);
    return false;
}

// The records of a group from HEAD: as many of the COUNT following records as lie before the
// seam, and whether all of them are of kind CONTINUATION.
struct Group {
    RingIndex last = kNoRecord;
    bool complete = true;
};

Group GroupFrom(const CCaptureData& capture, RingIndex head, int count, RecordKind continuation) {
    const RingSteps steps(capture);
    Group group{head, true};
    for (int k = 1; k <= count; ++k) {
        const auto next = steps.Following(head, k);
        if (!next) {
            group.complete = false;
            break;
        }
        group.last = *next;
        group.complete = group.complete && KindOf(capture.word(*next)) == continuation;
    }
    return group;
}

} // namespace

void SearchCondition::ClearHit() {
    hit_ = {};
    matches_ = {};
}

bool SearchCondition::Find(const CCaptureData& capture, RingIndex position,
                           SearchDirection direction) {
    if (capture.empty()) {
        return false;
    }
    switch (criteria_.kind) {
    case kSearchCharacters: {
        const int32_t length = criteria_.pattern.length;
        if (length <= 0 || length > static_cast<int32_t>(kMaxPatternLength)) {
            return false;
        }
        return FindCharacters(capture, StartIndex(capture, position, direction, 1, length, length),
                              direction);
    }
    case kSearchError:
        return FindError(capture, StartIndex(capture, position, direction, 1, 1, 0), direction);
    case kSearchIdle:
        return FindIdle(capture, StartIndex(capture, position, direction, kIdleGroupBack, 1, 0),
                        direction);
    case kSearchDateTime:
        return FindTimeStamp(
            capture, StartIndex(capture, position, direction, kStampGroupBack, 1, 0), direction);
    default:
        return false;
    }
}

bool SearchCondition::FindError(const CCaptureData& capture, RingIndex start,
                                SearchDirection direction) {
    const uint8_t errors = criteria_.errorSet;
    return WalkOnce(capture, start, direction, [&](RingIndex i) {
        const RecordWord word = capture.word(i);
        const RecordKind kind = KindOf(word);
        const uint8_t code = CodeOf(word);
        if ((kind != RecordKind::SdError && kind != RecordKind::RdError) || code > 4 ||
            (errors >> (7 - code) & 1U) == 0) {
            return false;
        }
        hit_ = {i, i, HitKind::Error};
        return true;
    });
}

bool SearchCondition::FindIdle(const CCaptureData& capture, RingIndex start,
                               SearchDirection direction) {
    const auto lower = static_cast<uint64_t>(std::max(criteria_.idleLowerMs, 0));
    const auto upper = static_cast<uint64_t>(std::max(criteria_.idleUpperMs, 0));
    return WalkOnce(capture, start, direction, [&](RingIndex i) {
        const RecordWord head = capture.word(i);
        if (KindOf(head) != RecordKind::IdleHead) {
            return false;
        }
        const Group group = GroupFrom(capture, i, 2, RecordKind::IdleContinuation);
        if (group.complete) {
            const RingIndex first = capture.WrapIndex(i, 1);
            const uint64_t ms =
                uint64_t{IdleValue(head, capture.word(first), capture.word(group.last))} *
                IdleUnitMs(head);
            if ((lower > 0 && ms < lower) || (upper > 0 && ms > upper)) {
                return false;
            }
        }
        // An idle group cut short counts as a hit without comparison.
        hit_ = {i, group.last, HitKind::Idle};
        return true;
    });
}

bool SearchCondition::FindTimeStamp(const CCaptureData& capture, RingIndex start,
                                    SearchDirection direction) {
    const uint32_t lowerDate = PackedDate(criteria_.lowerDate);
    const uint32_t lowerTime = PackedTime(criteria_.lowerTime);
    const uint32_t upperDate = PackedDate(criteria_.upperDate);
    const uint32_t upperTime = PackedTime(criteria_.upperTime);
    return WalkOnce(capture, start, direction, [&](RingIndex i) {
        const RecordWord head = capture.word(i);
        if (KindOf(head) != RecordKind::StampHead) {
            return false;
        }
        const Group group = GroupFrom(capture, i, 3, RecordKind::StampContinuation);
        if (group.complete) {
            const RingIndex c1 = capture.WrapIndex(i, 1);
            const RingIndex c2 = capture.WrapIndex(i, 2);
            StampDigits stamp =
                UnpackTimeStamp(head, capture.word(c1), capture.word(c2), capture.word(group.last));
            if (LayoutOfStampKind(SubKindOf(head)) == StampLayout::B) {
                stamp.date |= TwoDigits(stampYears_.YearAt(OffsetFromOldest(capture, i))) << 16;
            }
            const bool afterLower =
                stamp.date > lowerDate || (stamp.date == lowerDate && stamp.time >= lowerTime);
            const bool beforeUpper =
                stamp.date < upperDate || (stamp.date == upperDate && stamp.time <= upperTime);
            if (!afterLower || !beforeUpper) {
                return false;
            }
        }
        // A time stamp cut short counts as a hit without comparison.
        hit_ = {i, group.last, HitKind::TimeStamp};
        return true;
    });
}

} // namespace varnolt
