#pragma once

#include "core/interop/CaptureStatistics.h"

#include <string>
#include <vector>

namespace varnolt {

// STATS as a JSON object: "records" by kind, "characters" {"SD", "RD"}, "errors" {"SD": {"PE",
// "FE", "PF", "BR", "OE"}, "RD": …}, "frames" {"SD", "RD"}, "idle_gaps" and the two response
// times ({"count", "min_ms", "median_ms", ["p95_ms",] "max_ms", "histogram"}; null values when
// there are none), "control_line_changes" by line and "time_span".
[[nodiscard]] std::string StatisticsJson(const CaptureStatistics& stats);

// STATS as lines of "name: value" for people, in English.
[[nodiscard]] std::string StatisticsText(const CaptureStatistics& stats);

// One line of the statistics dialog ("統計情報"): a heading (VALUE empty) or a name and its
// value.
struct StatisticsRow {
    std::string name;
    std::string value;
};
[[nodiscard]] std::vector<StatisticsRow> StatisticsRows(const CaptureStatistics& stats);

// A histogram bin's label, for example "1–10 ms".
[[nodiscard]] std::string DecadeLabel(size_t bin);
// The same, short enough for a chart's axis: the bin's lower bound ("1ms"), "<10µs" for the first.
[[nodiscard]] std::string DecadeAxisLabel(size_t bin);

// The titles of the dialog and of its two histograms.
inline constexpr std::string_view kStatisticsTitle = "統計情報";
inline constexpr std::string_view kIdleHistogramTitle = "アイドル時間の分布";
inline constexpr std::string_view kResponseHistogramTitle = "応答時間の分布";
inline constexpr std::string_view kHistogramCountAxis = "回数";
inline constexpr std::string_view kSdToRdSeries = "SD→RD";
inline constexpr std::string_view kRdToSdSeries = "RD→SD";
inline constexpr std::string_view kIdleSeries = "アイドル";

} // namespace varnolt
