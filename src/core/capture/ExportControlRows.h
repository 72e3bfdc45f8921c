#pragma once

#include "core/capture/RecordWord.h"

#include <array>
#include <string>
#include <string_view>

namespace varnolt {

// The six control-line rows (RS, ER, CS, DR, CD, CI) of an export block or frame line. Every
// record adds a cell of the same width to all six, so the rows share one length; cells are
// written straight into the rows' storage, the export's busiest path.
class ExportControlRows {
public:
    // Empties the rows and starts each with LABELS[line] (labels of one length).
    void Begin(const std::array<std::string, kControlLineCount>& labels);
    // Empties the rows.
    void Clear() { size_ = 0; }

    // The record's cell in each row, after a comma when COMMA: the state before and after a
    // control-line change, otherwise the record's own state twice; "1" on, "0" off, " "
    // unknown.
    void Add(RecordWord word, bool comma);
    // Only a comma in each row (a record without a cell in a comma-separated file).
    void AddComma();

    [[nodiscard]] std::string_view Row(int line) const { return {rows_[line].data(), size_}; }

private:
    void Reserve(size_t more);

    std::array<std::string, kControlLineCount> rows_;
    size_t size_ = 0;
};

} // namespace varnolt
