#pragma once

#include "core/capture/CCaptureData.h"
#include "core/capture/ExportOptions.h"
#include "core/capture/ExportSink.h"
#include "core/capture/ExportWriter.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace varnolt::testing {

// Record words of the test captures, spelled out bit by bit, with their control-line states
// (captures of record width 1).
constexpr RecordWord SdWithLines(unsigned code, uint16_t lines = 0) {
    return 0x10000000 | code << 16 | lines;
}
constexpr RecordWord RdWithLines(unsigned code, uint16_t lines = 0) {
    return 0x20000000 | code << 16 | lines;
}
constexpr RecordWord SdErrorWithLines(unsigned code, uint16_t lines = 0) {
    return 0x30000000 | code << 16 | lines;
}
constexpr RecordWord RdErrorWithLines(unsigned code, uint16_t lines = 0) {
    return 0x40000000 | code << 16 | lines;
}
constexpr RecordWord kLineStart = 0x01000000;

// A small store holding WORDS, oldest first.
inline void Fill(CCaptureData& data, std::initializer_list<RecordWord> words) {
    for (const RecordWord word : words) {
        data.Append(word, 0);
    }
}

// The export of DATA as bytes.
inline std::string Exported(const CCaptureData& data, const ExportDisplay& display,
                            const ExportRequest& request,
                            std::string_view documentPath = "/captures/test.tvd") {
    StringExportSink sink;
    WriteExport(data, display, request, documentPath, sink);
    return sink.text();
}

// Joins LINES with CR LF after each.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    return text;
}

inline std::string Repeat(std::string_view piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text.append(piece);
    }
    return text;
}

} // namespace varnolt::testing
