#include "core/interop/StatisticsReport.h"

#include "core/interop/InteropText.h"

#include <array>
#include <cstdio>

namespace varnolt {

namespace {

struct KindName {
    size_t kind;
    std::string_view key;      // JSON
    std::string_view english;  // text
    std::string_view japanese; // dialog
};

constexpr std::array<KindName, 9> kKinds = {{
    {1, "sd_character", "SD characters", "SD 文字"},
    {2, "rd_character", "RD characters", "RD 文字"},
    {3, "sd_error", "SD errors", "SD エラー"},
    {4, "rd_error", "RD errors", "RD エラー"},
    {5, "idle_head", "idle heads", "アイドル"},
    {6, "idle_continuation", "idle continuations", "アイドル（続き）"},
    {7, "stamp_head", "time-stamp heads", "日時"},
    {8, "stamp_continuation", "time-stamp continuations", "日時（続き）"},
    {11, "control_line_change", "control-line changes", "制御ライン変化"},
}};

int64_t OtherKinds(const CaptureStatistics& stats) {
    int64_t other = 0;
    for (size_t kind = 0; kind < stats.recordsByKind.size(); ++kind) {
        bool named = false;
        for (const KindName& name : kKinds) {
            named = named || name.kind == kind;
        }
        if (!named) {
            other += stats.recordsByKind[kind];
        }
    }
    return other;
}

std::string Milliseconds(DurationNs duration) {
    char text[40];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(duration) / kNsPerMs);
    return text;
}

std::string Number(int64_t value) {
    return std::to_string(value);
}

// ---- JSON ----------------------------------------------------------------------------------

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

std::string JsonDirections(int64_t sd, int64_t rd) {
    return "{\"SD\": " + Number(sd) + ", \"RD\": " + Number(rd) + "}";
}

std::string JsonErrors(const std::array<int64_t, kErrorCodes>& counts) {
    std::string text = "{";
    for (size_t code = 0; code < kErrorCodes; ++code) {
        text += (code == 0 ? "" : ", ") + Quoted(ErrorName(static_cast<uint8_t>(code))) + ": " +
                Number(counts[code]);
    }
    return text + "}";
}

std::string JsonSummary(const DurationSummary& summary, bool withP95, const std::string& indent) {
    const auto value = [&](DurationNs duration) {
        return summary.count == 0 ? std::string("null") : Milliseconds(duration);
    };
    std::string text = "{\n" + indent + "  \"count\": " + Number(summary.count) + ",\n" + indent +
                       "  \"min_ms\": " + value(summary.min) + ",\n" + indent +
                       "  \"median_ms\": " + value(summary.median) + ",\n";
    if (withP95) {
        text += indent + "  \"p95_ms\": " + value(summary.p95) + ",\n";
    }
    text += indent + "  \"max_ms\": " + value(summary.max) + ",\n" + indent + "  \"histogram\": [";
    for (size_t bin = 0; bin < kDecadeBins; ++bin) {
        text += bin == 0 ? "\n" : ",\n";
        text += indent + "    {\"from_ms\": " + Milliseconds(DecadeLowerBound(bin)) +
                ", \"to_ms\": " +
                (bin + 1 < kDecadeBins ? Milliseconds(DecadeLowerBound(bin + 1)) : "null") +
                ", \"count\": " + Number(summary.histogram[bin]) + "}";
    }
    return text + "\n" + indent + "  ]\n" + indent + "}";
}

// ---- Text ----------------------------------------------------------------------------------

std::string TextSummary(std::string_view name, const DurationSummary& summary, bool withP95) {
    std::string text = std::string(name) + ": " + Number(summary.count);
    if (summary.count > 0) {
        text += " (min " + Milliseconds(summary.min) + " ms, median " +
                Milliseconds(summary.median) + " ms";
        if (withP95) {
            text += ", 95th percentile " + Milliseconds(summary.p95) + " ms";
        }
        text += ", max " + Milliseconds(summary.max) + " ms)";
    }
    text += "\n";
    if (summary.count > 0) {
        for (size_t bin = 0; bin < kDecadeBins; ++bin) {
            if (summary.histogram[bin] > 0) {
                text += "  " + DecadeLabel(bin) + ": " + Number(summary.histogram[bin]) + "\n";
            }
        }
    }
    return text;
}

std::string JapaneseSummary(const DurationSummary& summary, bool withP95) {
    if (summary.count == 0) {
        return "0 回";
    }
    std::string text = Number(summary.count) + " 回　最小 " + Milliseconds(summary.min) +
                       " ms　中央値 " + Milliseconds(summary.median) + " ms";
    if (withP95) {
        text += "　95% 値 " + Milliseconds(summary.p95) + " ms";
    }
    return text + "　最大 " + Milliseconds(summary.max) + " ms";
}

} // namespace

std::string DecadeLabel(size_t bin) {
    static constexpr std::array<std::string_view, kDecadeBins> kLabels = {
        "<10 µs",  "10–100 µs", "0.1–1 ms", "1–10 ms", "10–100 ms",
        "0.1–1 s", "1–10 s",    "10–100 s", "≥100 s"};
    return std::string(kLabels[bin]);
}

std::string DecadeAxisLabel(size_t bin) {
    static constexpr std::array<std::string_view, kDecadeBins> kLabels = {
        "<10µs", "10µs", "0.1ms", "1ms", "10ms", "0.1s", "1s", "10s", "≥100s"};
    return std::string(kLabels[bin]);
}

std::string StatisticsJson(const CaptureStatistics& s) {
    std::string text = "{\n  \"records\": {";
    for (size_t k = 0; k < kKinds.size(); ++k) {
        text += (k == 0 ? "" : ", ") + Quoted(kKinds[k].key) + ": " +
                Number(s.recordsByKind[kKinds[k].kind]);
    }
    text += ", \"other\": " + Number(OtherKinds(s)) + "},\n";
    text += "  \"characters\": " + JsonDirections(s.characters[kSdIndex], s.characters[kRdIndex]) +
            ",\n";
    text += "  \"errors\": {\"SD\": " + JsonErrors(s.errors[kSdIndex]) +
            ", \"RD\": " + JsonErrors(s.errors[kRdIndex]) + "},\n";
    text += "  \"frames\": " + JsonDirections(s.frames[kSdIndex], s.frames[kRdIndex]) + ",\n";
    text += "  \"idle_gaps\": " + JsonSummary(s.idleGaps, false, "  ") + ",\n";
    text += "  \"response_times\": {\n    \"SD_to_RD\": " + JsonSummary(s.sdToRd, true, "    ") +
            ",\n    \"RD_to_SD\": " + JsonSummary(s.rdToSd, true, "    ") + "\n  },\n";
    text += "  \"control_line_changes\": {";
    for (int k = 0; k < kControlLineCount; ++k) {
        text += (k == 0 ? "" : ", ") + Quoted(ControlLineName(static_cast<ControlLine>(k))) + ": " +
                Number(s.controlLineChanges[static_cast<size_t>(k)]);
    }
    text += "},\n  \"time_span\": ";
    if (s.empty) {
        text += "{\"start\": null, \"end\": null, \"duration_ms\": null}";
    } else {
        text += "{\"start\": " + Quoted(FormatLocalTime(s.start)) +
                ", \"end\": " + Quoted(FormatLocalTime(s.end)) +
                ", \"duration_ms\": " + Milliseconds(s.end - s.start) + "}";
    }
    return text + "\n}\n";
}

std::string StatisticsText(const CaptureStatistics& s) {
    std::string text = "records:\n";
    for (const KindName& kind : kKinds) {
        text += "  " + std::string(kind.english) + ": " + Number(s.recordsByKind[kind.kind]) + "\n";
    }
    text += "  other: " + Number(OtherKinds(s)) + "\n";
    for (const size_t d : {kSdIndex, kRdIndex}) {
        const std::string name = d == kSdIndex ? "SD" : "RD";
        text += name + " characters: " + Number(s.characters[d]) + "\n";
        text += name + " errors:";
        for (size_t code = 0; code < kErrorCodes; ++code) {
            text += ' ';
            text += ErrorName(static_cast<uint8_t>(code));
            text += ' ';
            text += Number(s.errors[d][code]);
        }
        text += "\n" + name + " frames: " + Number(s.frames[d]) + "\n";
    }
    text += TextSummary("idle gaps", s.idleGaps, false);
    text += TextSummary("response times SD to RD", s.sdToRd, true);
    text += TextSummary("response times RD to SD", s.rdToSd, true);
    text += "control-line changes:";
    for (int k = 0; k < kControlLineCount; ++k) {
        text += ' ';
        text += ControlLineName(static_cast<ControlLine>(k));
        text += ' ';
        text += Number(s.controlLineChanges[static_cast<size_t>(k)]);
    }
    text += "\n";
    if (s.empty) {
        text += "time span: none\n";
    } else {
        text += "time span: " + FormatLocalTime(s.start) + " to " + FormatLocalTime(s.end) + " (" +
                Milliseconds(s.end - s.start) + " ms)\n";
    }
    return text;
}

std::vector<StatisticsRow> StatisticsRows(const CaptureStatistics& s) {
    std::vector<StatisticsRow> rows;
    rows.push_back({"レコード数", ""});
    for (const KindName& kind : kKinds) {
        rows.push_back({std::string(kind.japanese), Number(s.recordsByKind[kind.kind])});
    }
    rows.push_back({"その他", Number(OtherKinds(s))});
    rows.push_back({"文字とフレーム", ""});
    for (const size_t d : {kSdIndex, kRdIndex}) {
        const std::string name = d == kSdIndex ? "SD" : "RD";
        rows.push_back({name + " 文字数", Number(s.characters[d])});
        rows.push_back({name + " フレーム数", Number(s.frames[d])});
        std::string errors;
        for (size_t code = 0; code < kErrorCodes; ++code) {
            errors += (code == 0 ? "" : "　") + std::string(ErrorName(static_cast<uint8_t>(code))) +
                      " " + Number(s.errors[d][code]);
        }
        rows.push_back({name + " エラー", errors});
    }
    rows.push_back({"時間", ""});
    rows.push_back({"アイドル時間", JapaneseSummary(s.idleGaps, false)});
    rows.push_back({"応答時間 SD→RD", JapaneseSummary(s.sdToRd, true)});
    rows.push_back({"応答時間 RD→SD", JapaneseSummary(s.rdToSd, true)});
    std::string changes;
    for (int k = 0; k < kControlLineCount; ++k) {
        changes += (k == 0 ? "" : "　") +
                   std::string(ControlLineName(static_cast<ControlLine>(k))) + " " +
                   Number(s.controlLineChanges[static_cast<size_t>(k)]);
    }
    rows.push_back({"制御ライン変化", changes});
    if (s.empty) {
        rows.push_back({"期間", "なし"});
    } else {
        rows.push_back({"開始", FormatLocalTime(s.start)});
        rows.push_back({"終了", FormatLocalTime(s.end)});
        rows.push_back({"期間", Milliseconds(s.end - s.start) + " ms"});
    }
    return rows;
}

} // namespace varnolt
