#include "core/interop/CaptureStatistics.h"

#include "core/interop/CaptureTimeline.h"
#include "core/interop/FrameTracker.h"
#include "core/view/RecordWalk.h"

#include <algorithm>

namespace varnolt {

namespace {

size_t IndexOf(LineDirection direction) {
    return direction == LineDirection::Sd ? kSdIndex : kRdIndex;
}

// The value at nearest rank RANK (1-based) of VALUES.
DurationNs AtRank(std::vector<DurationNs>& values, size_t rank) {
    const auto at = values.begin() + static_cast<std::ptrdiff_t>(rank - 1);
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

class StatisticsWalk {
public:
    StatisticsWalk(const CCaptureData& capture, const TimeBase& base)
        : capture_(capture), timeline_(capture, base) {}

    CaptureStatistics run();

private:
    void frameClosed(const SerialFrame& frame);

    const CCaptureData& capture_;
    CaptureTimeline timeline_;
    FrameTracker frames_;
    CaptureStatistics result_;
    std::vector<DurationNs> idle_;
    std::vector<DurationNs> sdToRd_;
    std::vector<DurationNs> rdToSd_;
    std::optional<SerialFrame> previous_;
};

void StatisticsWalk::frameClosed(const SerialFrame& frame) {
    ++result_.frames[IndexOf(frame.direction)];
    if (previous_ && previous_->direction != frame.direction) {
        const DurationNs gap = std::max<DurationNs>(frame.start - previous_->end, 0);
        (previous_->direction == LineDirection::Sd ? sdToRd_ : rdToSd_).push_back(gap);
    }
    previous_ = frame;
}

CaptureStatistics StatisticsWalk::run() {
    if (!capture_.empty()) {
        WalkRecords(capture_, capture_.firstIndex(), [this](RingIndex, RecordWord word) {
            ++result_.recordsByKind[word >> 28];
            return true;
        });
    }
    TimedItem item;
    while (timeline_.next(item)) {
        if (result_.empty) {
            result_.empty = false;
            result_.start = item.start;
        }
        result_.end = std::max(result_.end, item.end);
        if (const std::optional<SerialFrame> closed = frames_.add(item)) {
            frameClosed(*closed);
        }
        switch (item.kind) {
        case TimedItemKind::Character:
            ++result_.characters[IndexOf(item.direction)];
            break;
        case TimedItemKind::Error:
            if (item.code < kErrorCodes) {
                ++result_.errors[IndexOf(item.direction)][item.code];
            }
            break;
        case TimedItemKind::Idle:
            idle_.push_back(item.idle);
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
    if (const std::optional<SerialFrame> last = frames_.finish()) {
        frameClosed(*last);
    }
    result_.idleGaps = Summarize(idle_);
    result_.sdToRd = Summarize(sdToRd_);
    result_.rdToSd = Summarize(rdToSd_);
    return result_;
}

} // namespace

DurationNs DecadeLowerBound(size_t bin) {
    DurationNs bound = 0;
    for (size_t k = 1; k <= bin; ++k) {
        bound = bound == 0 ? 10 * kNsPerUs : bound * 10;
    }
    return bound;
}

size_t DecadeOf(DurationNs duration) {
    size_t bin = 0;
    while (bin + 1 < kDecadeBins && duration >= DecadeLowerBound(bin + 1)) {
        ++bin;
    }
    return bin;
}

DurationSummary Summarize(std::vector<DurationNs>& values) {
    DurationSummary summary;
    if (values.empty()) {
        return summary;
    }
    const size_t n = values.size();
    summary.count = static_cast<int64_t>(n);
    const auto [min, max] = std::minmax_element(values.begin(), values.end());
    summary.min = *min;
    summary.max = *max;
    for (const DurationNs value : values) {
        ++summary.histogram[DecadeOf(value)];
    }
    summary.median = AtRank(values, (n + 1) / 2);
    summary.p95 = AtRank(values, (95 * n + 99) / 100);
    return summary;
}

CaptureStatistics ComputeStatistics(const CCaptureData& capture, const TimeBase& base) {
    return StatisticsWalk(capture, base).run();
}

} // namespace varnolt
