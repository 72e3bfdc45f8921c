#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/ExportRecords.h"
#include "core/interop/CaptureTime.h"
#include "core/view/FrameLineWalker.h"

#include <array>
#include <cstdint>

namespace varnolt {

// What an item of the timeline is.
enum class TimedItemKind : uint8_t {
    Character,     // an SD or RD character
    Error,         // an SD or RD line error
    Idle,          // an idle group (head and continuations)
    Stamp,         // a time stamp (head and continuations)
    ControlChange, // a control-line change
    Other,         // a word no reader shows (an orphaned continuation, kinds 0, 9, 10, 12 ... 15)
};

// One item of a capture placed in time.
struct TimedItem {
    TimedItemKind kind = TimedItemKind::Other;
    LineDirection direction = LineDirection::None; // characters and errors
    uint8_t code = 0;                              // character code, or error code (LineError)
    bool newLine = false; // frame display starts a line here (no wrap at a window width)
    LocalNs start = 0;    // when the item began on the line
    LocalNs end = 0;      // when it ended: START plus a character time, an idle gap or nothing
    uint16_t lines = 0;   // control-line states during (after, for a change) the item; 0 unknown
    uint16_t previousLines = 0;  // a change: the states before it
    DurationNs idle = 0;         // an idle group: the measured gap
    RingIndex index = kNoRecord; // the item's first record
    uint8_t continuations = 0;   // the continuation words taken with an idle group or stamp
    RecordCount count = 1;       // characters the item stands for (nextRun() joins a run)
};

// The capture's records in order, each placed in time:
// - characters follow each other at the capture's speed and frame format (start bit, data
//   bits, parity, stop bits); a parity, framing or parity-framing error and a break take one
//   character time too, an overrun none (the analyzer's overflow mark stands for lost records,
//   not for a character);
// - an idle group adds its measured gap;
// - a time stamp sets the clock: from the first valid stamp on the clock is absolute, and the
//   records before it are placed backwards from it; a later stamp moves the clock into the span
//   it shows (AT ... AT + resolution) only when the running clock lies outside it;
// - a stamp without year digits takes the year of the first stamp that has one, else that of
//   the file's modification time; a capture without stamps starts at the file's modification
//   time.
// Where it can be wrong: a stamp of one-second resolution leaves its records up to a second
// early; characters sent in both directions at the same time are placed one after the other,
// so a busy full-duplex stretch runs long until the next stamp or idle gap pulls it back; a
// break longer than one character and the analyzer's own reaction times are not recorded.
class CaptureTimeline {
public:
    CaptureTimeline(const CCaptureData& capture, const TimeBase& base);

    // The next item; false after the newest record.
    bool next(TimedItem& item) {
        return step<false>([&item](const TimedItem& next) { item = next; });
    }
    // The next item as next() gives it, except that a character stands for the whole run of
    // characters after it that stay on its frame-display line (same direction, no line-start
    // flag, no delimiter): COUNT says how many, END is when the last one ended. For readers
    // that count rather than look at every character.
    bool nextRun(TimedItem& item) {
        return step<true>([&item](const TimedItem& next) { item = next; });
    }
    // Hands the next item (a run with JOINRUNS, as nextRun()) to SINK; false after the newest
    // record. A reader that keeps few of an item's fields passes them on in a loop the compiler
    // sees whole.
    template <bool JoinRuns, typename Sink>
    bool step(Sink&& sink);

    // The line speed the clock runs at (the capture's, or 9600 bit/s when it names none) and
    // the bits of one character.
    [[nodiscard]] uint32_t speed() const { return speed_; }
    [[nodiscard]] int bitsPerCharacter() const { return bitsPerCharacter_; }
    [[nodiscard]] DurationNs characterTime() const {
        return bitsPerCharacter_ * kNsPerSecond / speed_;
    }

private:
    [[nodiscard]] LocalNs now() const { return clock_; }
    void setClock(LocalNs at) {
        clock_ = at;
        clockFraction_ = 0;
    }
    // Moves the clock on by one character time, exactly: the fraction of a nanosecond is kept
    // in units of 1 / speed ns, so no rounding builds up.
    void addCharacter() {
        clock_ += characterWhole_;
        clockFraction_ += characterFraction_;
        if (clockFraction_ >= speed_) {
            ++clock_;
            clockFraction_ -= speed_;
        }
    }
    // Moves the clock on by COUNT character times, as COUNT calls of addCharacter() would.
    void addCharacters(RecordCount count) {
        clock_ += characterWhole_ * count;
        clockFraction_ += characterFraction_ * count;
        clock_ += clockFraction_ / speed_;
        clockFraction_ %= speed_;
    }
    // Moves to the next record of the ring.
    void advance() {
        ++position_;
        index_ = records_.Next(index_);
    }
    // Takes the characters after the current one that continue its frame-display line, as far
    // as they go, and moves the clock past them; returns how many.
    RecordCount takeRun();
    // Finds the year for stamps without one and where the clock starts.
    void findOrigin(const TimeBase& base);
    // Moves the clock into the span STAMP shows; while scanning, notes the origin instead.
    void applyStamp(const TimeStamp& stamp);
    // Takes up to COUNT words of KIND after the current record as its continuations (the frame
    // walker sees them too) into WORDS; returns how many there were.
    int takeContinuations(RecordKind kind, int count, RecordWord* words);

    const CCaptureData& capture_;
    ExportRecords records_;
    FrameLineWalker walker_;
    FrameDelimiters delimiters_;
    uint16_t recordWidth_;
    uint32_t speed_;
    int bitsPerCharacter_;
    int stampYear_ = 1970;
    bool yearFromStamp_ = false;
    DurationNs characterWhole_; // a character time: whole nanoseconds ...
    int64_t characterFraction_; // ... and the rest, in units of 1 / speed ns
    LocalNs clock_ = 0;
    int64_t clockFraction_ = 0;
    RecordPosition position_ = 1;
    RingIndex index_ = 0; // the ring index of position_
    bool scanning_ = false;
    LocalNs near_ = 0;
    bool originFound_ = false;
    LocalNs origin_ = 0;
};

namespace timeline_detail {

// Whether an error record stands for a character that went over the line.
inline bool TakesCharacterTime(uint8_t errorCode) {
    return errorCode <= static_cast<uint8_t>(LineError::Break);
}

// The length of one unit of an idle value at RESOLUTION; 0 for a resolution the analyzer
// does not have.
inline DurationNs IdleUnit(uint8_t resolution) {
    switch (resolution) {
    case 1:
        return kNsPerMs;
    case 2:
        return 10 * kNsPerMs;
    case 3:
        return 100 * kNsPerMs;
    default:
        return 0;
    }
}

inline LineDirection DirectionOf(RecordKind kind) {
    return kind == RecordKind::SdCharacter || kind == RecordKind::SdError ? LineDirection::Sd
                                                                          : LineDirection::Rd;
}

} // namespace timeline_detail

inline int CaptureTimeline::takeContinuations(RecordKind kind, int count, RecordWord* words) {
    int taken = 0;
    RingIndex index = index_;
    const RecordCount left = records_.total() - position_ + 1;
    while (taken < count && taken < left) {
        const RecordWord word = records_.AtIndex(index);
        if (KindOf(word) != kind) {
            break;
        }
        words[taken++] = word;
        index = records_.Next(index);
    }
    walker_.StepGroupContinuations(taken);
    position_ += taken;
    index_ = index;
    return taken;
}

template <bool JoinRuns, typename Sink>
bool CaptureTimeline::step(Sink&& sink) {
    using namespace timeline_detail;
    if (position_ > records_.total()) {
        return false;
    }
    const RecordWord word = records_.AtIndex(index_);
    const RecordKind kind = KindOf(word);
    TimedItem item;
    item.index = index_;
    advance();
    item.newLine = walker_.Step(word);
    item.lines = recordWidth_ == 1 ? ControlLineFieldOf(word) & 0xFFF : 0;
    item.start = now();
    // Tests in the order of how often the kinds come, rather than a switch: the kinds follow
    // each other at random, and a jump through a table is foreseen worse than these branches.
    if (kind == RecordKind::SdCharacter || kind == RecordKind::RdCharacter) {
        item.kind = TimedItemKind::Character;
        item.direction = DirectionOf(kind);
        item.code = CodeOf(word);
        addCharacter();
        if constexpr (JoinRuns) {
            item.count += takeRun();
        }
    } else if (kind == RecordKind::IdleHead) {
        item.kind = TimedItemKind::Idle;
        std::array<RecordWord, 2> group{};
        item.continuations =
            static_cast<uint8_t>(takeContinuations(RecordKind::IdleContinuation, 2, group.data()));
        if (item.continuations == 2) {
            item.idle =
                DurationNs{IdleValue(word, group[0], group[1])} * IdleUnit(IdleResolution(word));
            setClock(item.start + item.idle);
        }
    } else if (kind == RecordKind::StampHead) {
        item.kind = TimedItemKind::Stamp;
        std::array<RecordWord, 3> group{};
        item.continuations =
            static_cast<uint8_t>(takeContinuations(RecordKind::StampContinuation, 3, group.data()));
        if (item.continuations == 3) {
            const TimeStamp stamp{SubKindOf(word),
                                  UnpackTimeStamp(word, group[0], group[1], group[2])};
            applyStamp(stamp);
            item.start = now();
        }
    } else if (kind == RecordKind::SdError || kind == RecordKind::RdError) {
        item.kind = TimedItemKind::Error;
        item.direction = DirectionOf(kind);
        item.code = CodeOf(word);
        if (TakesCharacterTime(item.code)) {
            addCharacter();
        }
    } else if (kind == RecordKind::ControlLineChange) {
        item.kind = TimedItemKind::ControlChange;
        item.previousLines = PreviousLineStates(word);
        item.lines = NewLineStates(word);
    } else {
        item.kind = TimedItemKind::Other;
    }
    item.end = now();
    sink(static_cast<const TimedItem&>(item));
    return true;
}

} // namespace varnolt
