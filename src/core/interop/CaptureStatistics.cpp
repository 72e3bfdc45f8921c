#include "core/interop/CaptureStatistics.h"

#include "core/interop/CaptureTimeline.h"
#include "core/interop/FrameTracker.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace varnolt {

namespace {

size_t IndexOf(LineDirection direction) {
    return direction == LineDirection::Sd ? kSdIndex : kRdIndex;
}

// One walk over a capture's timeline, counting as it goes. Characters come in runs (a run of
// one direction that frame display keeps on one line is one item), so the walk takes an item
// per frame rather than per character.
class StatisticsWalk {
public:
    StatisticsWalk(const CCaptureData& capture, const TimeBase& base)
        : capture_(capture), timeline_(capture, base) {}

    CaptureStatistics run();

private:
    // Counts ITEM; runs once per item of the timeline.
    void add(const TimedItem& item);
    void frameClosed(const SerialFrame& frame);

    const CCaptureData& capture_;
    CaptureTimeline timeline_;
    FrameTracker frames_;
    CaptureStatistics result_;
    LocalNs latestEnd_ = std::numeric_limits<LocalNs>::min();
    std::vector<DurationNs> idleGaps_;
    std::vector<DurationNs> sdToRd_;
    std::vector<DurationNs> rdToSd_;
    LineDirection previousDirection_ = LineDirection::None; // of the frame closed last
    LocalNs previousEnd_ = 0;
};

CaptureStatistics StatisticsWalk::run() {
    while (timeline_.step<true>([this](const TimedItem& item) { add(item); })) {
    }
    if (const std::optional<SerialFrame> last = frames_.finish()) {
        frameClosed(*last);
    }
    result_.end = std::max<LocalNs>(latestEnd_, 0);
    result_.idleGaps = Summarize(std::move(idleGaps_));
    result_.sdToRd = Summarize(std::move(sdToRd_));
    result_.rdToSd = Summarize(std::move(rdToSd_));
    return result_;
}

void StatisticsWalk::frameClosed(const SerialFrame& frame) {
    ++result_.frames[IndexOf(frame.direction)];
    // A response: the frame after one of the other direction, from that one's end.
    if (previousDirection_ != LineDirection::None && previousDirection_ != frame.direction) {
        const DurationNs gap = std::max<DurationNs>(frame.start - previousEnd_, 0);
        (previousDirection_ == LineDirection::Sd ? sdToRd_ : rdToSd_).push_back(gap);
    }
    previousDirection_ = frame.direction;
    previousEnd_ = frame.end;
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
        idleGaps_.push_back(item.idle);
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

} // namespace

CaptureStatistics ComputeStatistics(const CCaptureData& capture, const TimeBase& base) {
    return StatisticsWalk(capture, base).run();
}

} // namespace varnolt
