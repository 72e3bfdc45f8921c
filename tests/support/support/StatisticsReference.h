#pragma once

#include "core/capture/ExportRecords.h"
#include "core/interop/CaptureStatistics.h"
#include "core/interop/CaptureTimeline.h"
#include "core/interop/FrameTracker.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace varnolt::testing {

// VALUES summarised the plainest way: sorted, each value's decade found by counting the bounds
// it reaches.
inline DurationSummary ReferenceSummary(std::vector<DurationNs> values) {
    DurationSummary summary;
    if (values.empty()) {
        return summary;
    }
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    summary.count = static_cast<int64_t>(n);
    summary.min = values.front();
    summary.median = values[(n + 1) / 2 - 1];
    summary.p95 = values[(95 * n + 99) / 100 - 1];
    summary.max = values.back();
    for (const DurationNs value : values) {
        size_t decade = 0;
        while (decade + 1 < kDecadeBins && value >= DecadeLowerBound(decade + 1)) {
            ++decade;
        }
        ++summary.histogram[decade];
    }
    return summary;
}

// The statistics of CAPTURE worked out record by record, to hold ComputeStatistics to: the
// record kinds, characters, errors and control-line changes counted from the words; frames,
// idle gaps, responses and the span from the timeline's items one at a time (next(), no runs).
inline CaptureStatistics ReferenceStatistics(const CCaptureData& capture, const TimeBase& base) {
    CaptureStatistics stats;
    const ExportRecords records(capture);
    for (RecordPosition position = 1; position <= records.total(); ++position) {
        const RecordWord word = records.At(position);
        const RecordKind kind = KindOf(word);
        ++stats.recordsByKind[word >> 28];
        const size_t direction =
            kind == RecordKind::SdCharacter || kind == RecordKind::SdError ? kSdIndex : kRdIndex;
        if (kind == RecordKind::SdCharacter || kind == RecordKind::RdCharacter) {
            ++stats.characters[direction];
        } else if ((kind == RecordKind::SdError || kind == RecordKind::RdError) &&
                   CodeOf(word) < kErrorCodes) {
            ++stats.errors[direction][CodeOf(word)];
        } else if (kind == RecordKind::ControlLineChange) {
            for (int k = 0; k < kControlLineCount; ++k) {
                const auto line = static_cast<ControlLine>(k);
                if (LineStateOf(PreviousLineStates(word), line) !=
                    LineStateOf(NewLineStates(word), line)) {
                    ++stats.controlLineChanges[static_cast<size_t>(k)];
                }
            }
        }
    }

    std::vector<DurationNs> idleGaps;
    std::vector<DurationNs> sdToRd;
    std::vector<DurationNs> rdToSd;
    std::optional<SerialFrame> previous;
    const auto closed = [&](const SerialFrame& frame) {
        ++stats.frames[frame.direction == LineDirection::Sd ? kSdIndex : kRdIndex];
        if (previous && previous->direction != frame.direction) {
            (previous->direction == LineDirection::Sd ? sdToRd : rdToSd)
                .push_back(std::max<DurationNs>(frame.start - previous->end, 0));
        }
        previous = frame;
    };
    CaptureTimeline timeline(capture, base);
    FrameTracker frames;
    TimedItem item;
    while (timeline.next(item)) {
        if (stats.empty) {
            stats.empty = false;
            stats.start = item.start;
        }
        stats.end = std::max(stats.end, item.end);
        if (const std::optional<SerialFrame> frame = frames.add(item)) {
            closed(*frame);
        }
        if (item.kind == TimedItemKind::Idle) {
            idleGaps.push_back(item.idle);
        }
    }
    if (const std::optional<SerialFrame> frame = frames.finish()) {
        closed(*frame);
    }
    stats.idleGaps = ReferenceSummary(idleGaps);
    stats.sdToRd = ReferenceSummary(sdToRd);
    stats.rdToSd = ReferenceSummary(rdToSd);
    return stats;
}

} // namespace varnolt::testing
