#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/ExportRecords.h"
#include "core/interop/CaptureTime.h"
#include "core/view/FrameLineWalker.h"

#include <algorithm>
#include <array>
#include <bit>
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
    // How far the timeline looks for the year of stamps without year digits before it starts.
    enum class YearSearch : uint8_t {
        // Through the whole capture: a plain pass over every record first.
        WholeCapture,
        // Up to the first stamp without a year; when one with a year comes after it, the walk
        // notices (yearMistaken()) and has to be made again with WholeCapture. For a reader
        // that can start again, since an analyzer writes its stamps in one layout.
        UpToFirstStamp,
    };

    CaptureTimeline(const CCaptureData& capture, const TimeBase& base,
                    YearSearch search = YearSearch::WholeCapture);

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

    // Starts the walk again at the first time stamp at or after record FROM, as a walk would
    // that came to it with the clock at the moment the stamp shows (in the year the timeline
    // gives stamps without one); the frame walker takes the direction of the latest character
    // before it. False when no stamp comes. A second walker over the later part of a capture
    // starts here: where its clock and a whole walk's agree after a stamp (clock()), both go
    // on alike.
    bool restartAtStampFrom(RecordPosition from);

    // Where the clock stands: whole nanoseconds and the fraction kept in 1 / speed ns.
    struct Clock {
        LocalNs ns = 0;
        int64_t fraction = 0;
        bool operator==(const Clock&) const = default;
    };
    [[nodiscard]] Clock clock() const { return {clock_, clockFraction_}; }
    // Ends the walk before record END: the first item that starts there or later is not given
    // (a run that starts before it may go past it). Past the newest record, at it.
    void endBefore(RecordPosition end) {
        end_ = std::min<RecordPosition>(end, records_.total() + 1);
    }

    // Whether the latest whole stamp moved the clock into its span (a clock within it stays).
    [[nodiscard]] bool stampMovedClock() const { return stampMovedClock_; }
    // Whether the walk has given the newest record.
    [[nodiscard]] bool atEnd() const { return position_ > records_.total(); }
    // The record the next item starts at.
    [[nodiscard]] RecordPosition position() const { return position_; }
    // Whether a stamp in the capture names a moment (the clock is absolute).
    [[nodiscard]] bool hasStamps() const { return originFound_; }

    // With YearSearch::UpToFirstStamp: a stamp with a year came after the stamps without one had
    // been placed in the year of the file, so the items given so far may be a year out.
    [[nodiscard]] bool yearMistaken() const { return yearMistaken_; }

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
    // Takes the characters of direction SD (else RD) after the current one that continue its
    // frame-display line, as far as they go; returns how many.
    RecordCount takeRun(bool sd);
    // The same where the records alone decide (no delimiter of the direction): the run's length
    // is read off masks of up to 64 records at a time, so its end costs no test per record.
    RecordCount takeMaskedRun(bool sd);
    // Masks the records from the current one on.
    void maskAhead();
    // The same where delimiters are enabled, record by record.
    RecordCount takeDelimitedRun();
    // Finds the year for stamps without one, as far as SEARCH says, and where the clock starts.
    void findOrigin(const TimeBase& base, YearSearch search);
    // Notes a stamp with a year met after the search stopped short of it.
    void checkYear(const TimeStamp& stamp);
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
    bool yearUnsure_ = false; // the search stopped at a stamp without a year
    bool yearMistaken_ = false;
    DurationNs characterWhole_; // a character time: whole nanoseconds ...
    int64_t characterFraction_; // ... and the rest, in units of 1 / speed ns
    LocalNs clock_ = 0;
    int64_t clockFraction_ = 0;
    RecordPosition position_ = 1;
    RecordPosition end_;              // the walk ends before this record
    RingIndex index_ = 0;             // the ring index of position_
    std::array<bool, 2> delimited_{}; // a delimiter of SD, of RD is enabled
    // The plain characters among the MASKLENGTH_ records from ring index MASKSTART_ on.
    PlainCharacterMasks masks_;
    RingIndex maskStart_ = 0;
    RecordCount maskLength_ = 0;
    bool stampMovedClock_ = false;
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

inline RecordCount CaptureTimeline::takeMaskedRun(bool sd) {
    RecordCount taken = 0;
    for (;;) {
        if (static_cast<uint32_t>(index_ - maskStart_) >= static_cast<uint32_t>(maskLength_)) {
            if (position_ > records_.total()) {
                break;
            }
            maskAhead();
        }
        const auto offset = static_cast<uint32_t>(index_ - maskStart_);
        const auto left = static_cast<RecordCount>(maskLength_ - offset);
        // Bits past the masked records are clear: the run never counts beyond them.
        const auto run =
            static_cast<RecordCount>(std::countr_one((sd ? masks_.sd : masks_.rd) >> offset));
        taken += run;
        position_ += run;
        index_ += run;
        if (run < left) {
            break;
        }
        if (index_ == capture_.capacity()) {
            index_ = 0;
        }
    }
    walker_.ContinueLine(static_cast<CellColumn>(taken));
    return taken;
}

inline RecordCount CaptureTimeline::takeRun(bool sd) {
    const RecordCount taken = delimited_[sd ? 0 : 1] ? takeDelimitedRun() : takeMaskedRun(sd);
    if (taken > 0) {
        addCharacters(taken);
    }
    return taken;
}

template <bool JoinRuns, typename Sink>
bool CaptureTimeline::step(Sink&& sink) {
    using namespace timeline_detail;
    if (position_ >= end_) {
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
            item.count += takeRun(kind == RecordKind::SdCharacter);
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
            if (yearUnsure_) {
                checkYear(stamp);
            }
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
