#pragma once

#include "core/capture/ExportCells.h"
#include "core/capture/ExportOptions.h"
#include "core/capture/ExportRecords.h"
#include "core/capture/ExportSink.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace varnolt {

// What both export layouts read: the records from START POSITION to the newest, the cell
// texts of the file type and character size, the display settings, the cells per block or
// line, and whether the six control-line rows are written.
struct ExportLayoutContext {
    const ExportRecords& records;
    const ExportCells& cells;
    const ExportDisplay& display;
    int32_t lineLength;
    RecordPosition startPosition;
    bool controlRows;
};

inline constexpr std::array<std::string_view, kControlLineCount> kControlLineNames = {
    "RS", "ER", "CS", "DR", "CD", "CI"};

// Continuous layout: blocks of LINELENGTH records, each four rows (SD codes, SD characters,
// RD codes, RD characters) plus the control-line rows, then an empty line.
void WriteContinuousLayout(const ExportLayoutContext& context, ExportSink& sink);

// Frame layout: one pair of lines (codes, characters) plus the control-line lines per frame
// line, a frame line holding characters of one direction after its idle gap and time stamp.
void WriteFrameLayout(const ExportLayoutContext& context, ExportSink& sink);

} // namespace varnolt
