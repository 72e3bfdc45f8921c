// Exports arbitrary records as the "ファイル出力" dialog does, from a small ring that wraps and
// from a store loaded with the same records in one piece: the exported bytes must be the same
// however the records were split across the ring's end. The first bytes choose the ring's size, the
// layout, the cells and the start position; the rest are record words.

#include "core/capture/CCaptureData.h"
#include "core/capture/ExportOptions.h"
#include "core/capture/ExportSink.h"
#include "core/capture/ExportWriter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzSupport.h"

using namespace varnolt;
using fuzz::Check;

namespace {

constexpr RecordCount kLargestRing = 128;
constexpr size_t kOptionBytes = 4;

std::string Exported(const CCaptureData& store, const ExportDisplay& display,
                     const ExportRequest& request) {
    StringExportSink sink;
    WriteExport(store, display, request, "fuzz.tvd", sink);
    return sink.text();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kOptionBytes) {
        return 0;
    }
    const uint8_t options = data[0];
    static CCaptureData ring(kLargestRing);
    static CCaptureData whole(kLargestRing);
    CaptureHeader header;
    header.recordWidth = options & 1;
    const std::vector<RecordWord> held =
        fuzz::FillRingAndWhole(header, 8 + data[1] % (kLargestRing - 7),
                               std::span(data + kOptionBytes, size - kOptionBytes), ring, whole);
    if (held.empty()) {
        return 0;
    }

    ExportDisplay display;
    display.mode =
        (options & 2) != 0 ? ExportDisplay::Mode::Frame : ExportDisplay::Mode::Continuous;
    display.idleDisplay = options >> 2 & 3;
    display.timeDisplay = (options >> 4) % 6;
    ExportRequest request;
    request.fileName = "fuzz.csv";
    request.fileType =
        (options & 0x40) != 0 ? ExportFileType::CommaSeparated : ExportFileType::Text;
    request.characterSize =
        (options & 0x80) != 0 ? ExportCharacterSize::HalfWidth : ExportCharacterSize::FullWidth;
    request.controlLineOutput = header.recordWidth == 1 && (data[2] & 1) != 0;
    request.lineLength = ExportSettings::kMinimumLineLength + data[2] / 2 % 64;
    request.startPosition = 1 + data[3] % static_cast<int32_t>(held.size());
    Check(Exported(ring, display, request) == Exported(whole, display, request));
    return 0;
}
