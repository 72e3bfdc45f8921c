#include "core/interop/CaptureStatistics.h"

#include "core/interop/CaptureTimeline.h"
#include "core/interop/FrameTracker.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>
#include <span>
#include <stop_token>
#include <thread>

namespace varnolt {

namespace {

size_t IndexOf(LineDirection direction) {
    return direction == LineDirection::Sd ? kSdIndex : kRdIndex;
}

class LaterWalk;

// Where a walk over the later part of a capture stood right after a time stamp near its start.
// A walk from the start that stands the same after the same stamp (its clock, and the frame the
// next response is measured from) goes on exactly as this one did.
struct WalkCheckpoint {
    RecordPosition position = 0; // the record after the stamp
    CaptureTimeline::Clock clock;
    LineDirection previousDirection = LineDirection::None;
    LocalNs previousEnd = 0;
    CaptureStatistics counts;       // counted up to the stamp
    std::array<size_t, 3> values{}; // idle gaps, SD → RD, RD → SD gathered up to the stamp
    LocalNs endBefore = 0;          // the latest end among the items since the checkpoint before
};

// Two walks run at once on two cores: each keeps its counters on cache lines of its own.
class alignas(64) StatisticsWalk {
public:
    StatisticsWalk(const CCaptureData& capture, const CaptureTimeline& timeline)
        : capture_(capture), timeline_(timeline) {
        // Room for a value per 64 records to begin with, growing as needed. Room for as many as
        // a capture could hold (a value per two records) took blocks so large that the memory
        // allocator gave them back to the system after each walk, and the next walk waited for
        // the system to map them in again page by page, two walks at once slower than one.
        const auto records = static_cast<size_t>(capture.Count());
        for (std::vector<DurationNs>& values : values_) {
            values.reserve(records / 64);
        }
    }

    // Walks on up to record END (the item that starts before it to its end) or the newest
    // record; false when the newest record has been walked.
    bool walkBefore(RecordPosition end) {
        timeline_.endBefore(end);
        while (timeline_.step<true>([this](const TimedItem& item) { add(item); })) {
        }
        return !timeline_.atEnd();
    }
    // Walks on while AFTERSTAMP(), asked after each time stamp, says so. Slower than
    // walkBefore(): for short stretches.
    template <typename AfterStamp>
    void walkWhile(AfterStamp&& afterStamp) {
        timeline_.endBefore(kNoEnd);
        bool stamp = false;
        while (timeline_.step<true>([this, &stamp](const TimedItem& item) {
            add(item);
            stamp = item.kind == TimedItemKind::Stamp;
        })) {
            if (stamp && !afterStamp()) {
                return;
            }
        }
    }
    static constexpr RecordPosition kNoEnd = std::numeric_limits<RecordPosition>::max();

    // Where the walk stands; the latest end starts again from here.
    [[nodiscard]] WalkCheckpoint checkpoint();
    // Whether the walk stands where CHECKPOINT was taken, the same in all that lies ahead.
    [[nodiscard]] bool standsAt(const WalkCheckpoint& checkpoint) const;
    // Takes over what LATER found after CHECKPOINTS[FROM], where this walk stands: LATER took
    // CHECKPOINTS and walked on to the newest record. LATER's values are read where they are:
    // it stays till finish().
    void takeOver(const StatisticsWalk& later, std::span<const WalkCheckpoint> checkpoints,
                  size_t from);

    // The statistics; nullopt when the timeline found its year mistaken. HELPER, when given,
    // summarises the idle gaps on its own thread meanwhile.
    std::optional<CaptureStatistics> finish(LaterWalk* helper = nullptr);

    [[nodiscard]] const CaptureTimeline& timeline() const { return timeline_; }
    [[nodiscard]] CaptureTimeline& timeline() { return timeline_; }

private:
    // Counts ITEM; runs once per item of the timeline.
    inline void add(const TimedItem& item);
    inline void frameClosed(const SerialFrame& frame);

    const CCaptureData& capture_;
    CaptureTimeline timeline_;
    bool yearMistaken_ = false; // the part of a later walk taken over found it
    FrameTracker frames_;
    CaptureStatistics result_;
    LocalNs latestEnd_ = std::numeric_limits<LocalNs>::min();
    std::array<std::vector<DurationNs>, 3> values_;          // idle gaps, SD → RD, RD → SD
    std::array<std::span<const DurationNs>, 3> laterValues_; // those of the walk taken over
    LineDirection previousDirection_ = LineDirection::None;  // the frame closed last
    LocalNs previousEnd_ = 0;
};

void StatisticsWalk::frameClosed(const SerialFrame& frame) {
    ++result_.frames[IndexOf(frame.direction)];
    if (previousDirection_ != LineDirection::None && previousDirection_ != frame.direction) {
        const DurationNs gap = std::max<DurationNs>(frame.start - previousEnd_, 0);
        values_[previousDirection_ == LineDirection::Sd ? 1 : 2].push_back(gap);
    }
    previousDirection_ = frame.direction;
    previousEnd_ = frame.end;
}

WalkCheckpoint StatisticsWalk::checkpoint() {
    WalkCheckpoint checkpoint{timeline_.position(),
                              timeline_.clock(),
                              previousDirection_,
                              previousEnd_,
                              result_,
                              {values_[0].size(), values_[1].size(), values_[2].size()},
                              latestEnd_};
    latestEnd_ = std::numeric_limits<LocalNs>::min();
    return checkpoint;
}

bool StatisticsWalk::standsAt(const WalkCheckpoint& checkpoint) const {
    // After a stamp no frame is open, and the frame walker stands the same in both walks.
    return timeline_.position() == checkpoint.position && timeline_.clock() == checkpoint.clock &&
           previousDirection_ == checkpoint.previousDirection &&
           previousEnd_ == checkpoint.previousEnd && !frames_.open();
}

void StatisticsWalk::takeOver(const StatisticsWalk& later,
                              std::span<const WalkCheckpoint> checkpoints, size_t from) {
    const WalkCheckpoint& at = checkpoints[from];
    const auto addSince = [](auto& total, const auto& now, const auto& then) {
        for (size_t k = 0; k < total.size(); ++k) {
            total[k] += now[k] - then[k];
        }
    };
    addSince(result_.recordsByKind, later.result_.recordsByKind, at.counts.recordsByKind);
    addSince(result_.characters, later.result_.characters, at.counts.characters);
    for (size_t direction = 0; direction < result_.errors.size(); ++direction) {
        addSince(result_.errors[direction], later.result_.errors[direction],
                 at.counts.errors[direction]);
    }
    addSince(result_.frames, later.result_.frames, at.counts.frames);
    addSince(result_.controlLineChanges, later.result_.controlLineChanges,
             at.counts.controlLineChanges);
    for (size_t k = 0; k < values_.size(); ++k) {
        laterValues_[k] = std::span(later.values_[k]).subspan(at.values[k]);
    }
    latestEnd_ = std::max(latestEnd_, later.latestEnd_);
    for (size_t k = from + 1; k < checkpoints.size(); ++k) {
        latestEnd_ = std::max(latestEnd_, checkpoints[k].endBefore);
    }
    frames_ = later.frames_;
    previousDirection_ = later.previousDirection_;
    previousEnd_ = later.previousEnd_;
    yearMistaken_ = later.timeline_.yearMistaken();
}

void StatisticsWalk::add(const TimedItem& item) {
    const RecordWord head = capture_.word(item.index);
    result_.recordsByKind[head >> 28] += item.count;
    if (result_.empty) {
        result_.empty = false;
        result_.start = item.start;
    }
    latestEnd_ = std::max(latestEnd_, item.end);
    frames_.add(item, [this](const SerialFrame& frame) { frameClosed(frame); });
    switch (item.kind) {
    case TimedItemKind::Character:
        result_.characters[IndexOf(item.direction)] += item.count;
        break;
    case TimedItemKind::Error:
        if (item.code < kErrorCodes) {
            ++result_.errors[IndexOf(item.direction)][item.code];
        }
        break;
    case TimedItemKind::Idle:
        result_.recordsByKind[static_cast<size_t>(RecordKind::IdleContinuation)] +=
            item.continuations;
        values_[0].push_back(item.idle);
        break;
    case TimedItemKind::Stamp:
        result_.recordsByKind[static_cast<size_t>(RecordKind::StampContinuation)] +=
            item.continuations;
        break;
    case TimedItemKind::ControlChange:
        for (int k = 0; k < kControlLineCount; ++k) {
            const auto line = static_cast<ControlLine>(k);
            if (LineStateOf(item.lines, line) != LineStateOf(item.previousLines, line)) {
                ++result_.controlLineChanges[static_cast<size_t>(k)];
            }
        }
        break;
    default:
        break;
    }
}

// How many times a later walk notes where it stands.
constexpr size_t kCheckpoints = 16;

// The later part of a capture, walked on a thread of its own from the first time stamp at or
// after a record on, noting how it stands after some stamps near its start. The walk from the start
// meets the same stamps: it stops at the first one where both walks stand alike and takes the rest
// from here.
class LaterWalk {
public:
    LaterWalk(const CCaptureData& capture, const CaptureTimeline& timeline, RecordPosition from,
              RecordCount lookAhead)
        : walk_(capture, timeline),
          thread_([this, from, lookAhead](std::stop_token stop) { run(stop, from, lookAhead); }) {}

    // The checkpoints taken so far, once they reach POSITION or no more will come.
    [[nodiscard]] std::span<const WalkCheckpoint> checkpointsUpTo(RecordPosition position) const;
    // Stops the walk at the end of its stretch: it is not needed.
    void abandon() { abandoned_.store(true, std::memory_order_relaxed); }
    // Waits for the end of the walk; nullptr when it failed or was abandoned.
    [[nodiscard]] const StatisticsWalk* finished() {
        walked_.wait(false, std::memory_order_acquire);
        return failed_ || abandoned_.load(std::memory_order_relaxed) ? nullptr : &walk_;
    }
    // Once finished(), the thread summarises VALUES and MORE while the caller does other
    // work; summaryAside() waits for the summary. A thread not given values ends with this.
    void summarizeAside(std::span<const DurationNs> values, std::span<const DurationNs> more);
    // nullopt when it could not (out of memory).
    [[nodiscard]] std::optional<DurationSummary> summaryAside();
    // All the checkpoints, once finished().
    [[nodiscard]] std::span<const WalkCheckpoint> checkpoints() const {
        return {checkpoints_.data(), published_.load(std::memory_order_acquire) & ~kNoMore};
    }

private:
    void run(std::stop_token stop, RecordPosition from, RecordCount lookAhead);
    // Summarises the values summarizeAside() hands over, unless the thread is stopped first.
    void summarizeWhenAsked(std::stop_token stop);
    // Notes how the walk stands after a stamp near its start; whether to go on noting.
    bool afterStamp();
    void publish(size_t state) {
        published_.store(state, std::memory_order_release);
        published_.notify_all();
    }

    // Added to the count of checkpoints published: no more will come.
    static constexpr size_t kNoMore = size_t{1} << 63;

    StatisticsWalk walk_;
    std::array<WalkCheckpoint, kCheckpoints> checkpoints_;
    // It looks no further than LOOKUNTIL_, so that the walk from the start, which waits for
    // its notes, never waits long.
    RecordPosition lookUntil_ = 0;
    size_t taken_ = 0;
    bool afterMove_ = false;
    bool failed_ = false; // read after the walk ended
    std::atomic<bool> walked_{false};
    // The values to summarise aside and their summary.
    std::mutex aside_;
    std::condition_variable_any asideChanged_;
    std::optional<std::array<std::span<const DurationNs>, 2>> asideValues_;
    std::optional<DurationSummary> asideSummary_;
    bool asideDone_ = false;
    std::atomic<bool> abandoned_{false};
    alignas(64) std::atomic<size_t> published_{0}; // checkpoints written, and kNoMore
    std::jthread thread_;                          // last: it starts once the rest is there
};

std::span<const WalkCheckpoint> LaterWalk::checkpointsUpTo(RecordPosition position) const {
    size_t state = published_.load(std::memory_order_acquire);
    while ((state & kNoMore) == 0 && (state == 0 || checkpoints_[state - 1].position < position)) {
        published_.wait(state, std::memory_order_acquire);
        state = published_.load(std::memory_order_acquire);
    }
    return {checkpoints_.data(), state & ~kNoMore};
}

void LaterWalk::run(std::stop_token stop, RecordPosition from, RecordCount lookAhead) {
    // Stretches walked between looks whether the walk is still needed.
    constexpr RecordCount kStretch = 1 << 16;
    try {
        if (walk_.timeline().restartAtStampFrom(from)) {
            lookUntil_ = walk_.timeline().position() + lookAhead;
            walk_.walkWhile([this] { return afterStamp(); });
            while (!abandoned_.load(std::memory_order_relaxed) &&
                   walk_.walkBefore(walk_.timeline().position() + kStretch)) {
            }
        }
    } catch (...) {
        // Out of memory: the walk from the start goes on alone.
        failed_ = true;
    }
    publish(taken_ | kNoMore);
    walked_.store(true, std::memory_order_release);
    walked_.notify_all();
    summarizeWhenAsked(stop);
}

void LaterWalk::summarizeWhenAsked(std::stop_token stop) {
    std::unique_lock lock(aside_);
    if (!asideChanged_.wait(lock, stop, [this] { return asideValues_.has_value(); })) {
        return;
    }
    const std::array<std::span<const DurationNs>, 2> values = *asideValues_;
    lock.unlock();
    std::optional<DurationSummary> summary;
    try {
        summary = Summarize(values[0], values[1]);
    } catch (...) {
        // Out of memory: the caller summarises them itself.
    }
    lock.lock();
    asideSummary_ = summary;
    asideDone_ = true;
    asideChanged_.notify_all();
}

void LaterWalk::summarizeAside(std::span<const DurationNs> values,
                               std::span<const DurationNs> more) {
    const std::lock_guard lock(aside_);
    asideValues_ = {values, more};
    asideChanged_.notify_all();
}

std::optional<DurationSummary> LaterWalk::summaryAside() {
    std::unique_lock lock(aside_);
    asideChanged_.wait(lock, [this] { return asideDone_; });
    return asideSummary_;
}

bool LaterWalk::afterStamp() {
    // The walks can come to agree only where a stamp moves this walk's clock (else it keeps
    // the error it started with), and on the response after it from the next stamp on: it
    // notes how it stands there. Its first stamp set its clock.
    const bool moved = taken_ == 0 || walk_.timeline().stampMovedClock();
    const size_t before = taken_;
    if (moved || afterMove_) {
        checkpoints_[taken_++] = walk_.checkpoint();
    }
    afterMove_ = moved;
    const bool noting = taken_ < kCheckpoints && walk_.timeline().position() < lookUntil_;
    if (!noting || taken_ != before) {
        publish(noting ? taken_ : taken_ | kNoMore);
    }
    return noting && !abandoned_.load(std::memory_order_relaxed);
}

std::optional<CaptureStatistics> StatisticsWalk::finish(LaterWalk* helper) {
    if (timeline_.yearMistaken() || yearMistaken_) {
        return std::nullopt;
    }
    if (const std::optional<SerialFrame> last = frames_.finish()) {
        frameClosed(*last);
    }
    result_.end = std::max<LocalNs>(latestEnd_, 0);
    if (helper != nullptr) {
        helper->summarizeAside(values_[0], laterValues_[0]);
    } else {
        result_.idleGaps = Summarize(values_[0], laterValues_[0]);
    }
    result_.sdToRd = Summarize(values_[1], laterValues_[1]);
    result_.rdToSd = Summarize(values_[2], laterValues_[2]);
    if (helper != nullptr) {
        const std::optional<DurationSummary> idle = helper->summaryAside();
        result_.idleGaps = idle ? *idle : Summarize(values_[0], laterValues_[0]);
    }
    return result_;
}

// The statistics of CAPTURE walked from the start, with a later walk from SPLITAT on (0: none).
std::optional<CaptureStatistics> WalkCapture(const CCaptureData& capture, const TimeBase& base,
                                             CaptureTimeline::YearSearch search,
                                             RecordPosition splitAt) {
    const CaptureTimeline timeline(capture, base, search);
    StatisticsWalk whole(capture, timeline);
    if (splitAt <= 1 || !timeline.hasStamps()) {
        whole.walkBefore(StatisticsWalk::kNoEnd);
        return whole.finish();
    }
    // The later walk looks for where the walks meet over a sixteenth of its part.
    const RecordCount lookAhead = std::max<RecordCount>((capture.Count() - splitAt) / 16, 4096);
    LaterWalk later(capture, timeline, splitAt, lookAhead);
    whole.walkBefore(splitAt);
    std::optional<size_t> met;
    size_t next = 0;
    whole.walkWhile([&] {
        const RecordPosition position = whole.timeline().position();
        if (position <= splitAt) {
            return true;
        }
        const std::span<const WalkCheckpoint> checkpoints = later.checkpointsUpTo(position);
        while (next < checkpoints.size() && checkpoints[next].position < position) {
            ++next;
        }
        if (next == checkpoints.size()) {
            // The clocks never agreed (a clock that stays within its stamps' spans): this walk
            // goes on alone, as the other would only slow it where the two threads share a core.
            later.abandon();
            return false;
        }
        if (whole.standsAt(checkpoints[next])) {
            met = next;
            return false;
        }
        return true;
    });
    const StatisticsWalk* rest = later.finished();
    if (met && rest != nullptr) {
        // Those the later walk took after this one looked at them count too.
        whole.takeOver(*rest, later.checkpoints(), *met);
        return whole.finish(&later);
    }
    whole.walkBefore(StatisticsWalk::kNoEnd);
    return whole.finish();
}

} // namespace

CaptureStatistics ComputeStatistics(const CCaptureData& capture, const TimeBase& base) {
    // Below this many records a second thread costs more than it saves.
    constexpr RecordCount kSplitAbove = 1 << 16;
    const bool split = capture.Count() >= kSplitAbove && std::thread::hardware_concurrency() > 1;
    return ComputeStatistics(capture, base, split ? capture.Count() / 2 : 0);
}

CaptureStatistics ComputeStatistics(const CCaptureData& capture, const TimeBase& base,
                                    RecordPosition splitAt) {
    // The year of stamps without one is taken from the file unless a stamp with a year comes
    // before them; one coming after them, which an analyzer does not write, costs a second walk.
    if (std::optional<CaptureStatistics> stats =
            WalkCapture(capture, base, CaptureTimeline::YearSearch::UpToFirstStamp, splitAt)) {
        return *stats;
    }
    return *WalkCapture(capture, base, CaptureTimeline::YearSearch::WholeCapture, splitAt);
}

} // namespace varnolt
