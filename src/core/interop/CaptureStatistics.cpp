#include "core/interop/CaptureStatistics.h"

#include "core/interop/CaptureTimeline.h"
#include "core/interop/FrameTracker.h"

#include <algorithm>

namespace varnolt {

namespace {

// The shortest duration of each decade bin: 0, 10 µs, 100 µs ... 100 s.
constexpr std::array<DurationNs, kDecadeBins> kDecadeBounds = [] {
    std::array<DurationNs, kDecadeBins> bounds{};
    DurationNs bound = 10 * kNsPerUs;
    for (size_t k = 1; k < kDecadeBins; ++k, bound *= 10) {
        bounds[k] = bound;
    }
    return bounds;
}();

size_t IndexOf(LineDirection direction) {
    return direction == LineDirection::Sd ? kSdIndex : kRdIndex;
}

class StatisticsWalk {
public:
    StatisticsWalk(const CCaptureData& capture, const TimeBase& base)
        : capture_(capture), timeline_(capture, base) {
        // Room for as many as a capture of this size can hold (an idle group is three records,
        // a response two frames), taken once: memory the walk does not fill is never touched.
        const auto records = static_cast<size_t>(capture.Count());
        idle_.reserve(records / 3 + 1);
        sdToRd_.reserve(records / 2 + 1);
        rdToSd_.reserve(records / 2 + 1);
    }

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
    // One pass: the timeline gives every record once, a run of characters as one item.
    TimedItem item;
    while (timeline_.nextRun(item)) {
        const RecordWord head = capture_.word(item.index);
        result_.recordsByKind[head >> 28] += item.count;
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
            idle_.push_back(item.idle);
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
    return kDecadeBounds[std::min(bin, kDecadeBins - 1)];
}

size_t DecadeOf(DurationNs duration) {
    size_t bin = 0;
    for (size_t k = 1; k < kDecadeBins; ++k) {
        bin += duration >= kDecadeBounds[k] ? 1 : 0;
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
    // Selection, no sort: once the median is in place, every value after it is at least as
    // large, so the 95th percentile is found among those alone.
    const auto median = values.begin() + static_cast<std::ptrdiff_t>((n + 1) / 2 - 1);
    std::nth_element(values.begin(), median, values.end());
    summary.median = *median;
    const auto p95 = values.begin() + static_cast<std::ptrdiff_t>((95 * n + 99) / 100 - 1);
    std::nth_element(median, p95, values.end());
    summary.p95 = *p95;
    return summary;
}

CaptureStatistics ComputeStatistics(const CCaptureData& capture, const TimeBase& base) {
    return StatisticsWalk(capture, base).run();
}

} // namespace varnolt
