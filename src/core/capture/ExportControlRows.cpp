#include "core/capture/ExportControlRows.h"

#include <algorithm>

namespace varnolt {

namespace {

// The character of a 2-bit line state: 1 on, 2 off, anything else unknown.
constexpr std::array<char, 4> kStateCharacters = {' ', '1', '0', ' '};

} // namespace

void ExportControlRows::Reserve(size_t more) {
    if (size_ + more <= rows_[0].size()) {
        return;
    }
    const size_t capacity = std::max<size_t>(256, 2 * (size_ + more));
    for (std::string& row : rows_) {
        row.resize(capacity);
    }
}

void ExportControlRows::Begin(const std::array<std::string, kControlLineCount>& labels) {
    size_ = 0;
    Reserve(labels[0].size());
    for (int line = 0; line < kControlLineCount; ++line) {
        labels[line].copy(rows_[line].data(), labels[line].size());
    }
    size_ = labels[0].size();
}

void ExportControlRows::Add(RecordWord word, bool comma) {
    Reserve(3);
    const bool change = KindOf(word) == RecordKind::ControlLineChange;
    const unsigned before = change ? PreviousLineStates(word) : ControlLineFieldOf(word);
    const unsigned after = change ? NewLineStates(word) : ControlLineFieldOf(word);
    for (int line = 0; line < kControlLineCount; ++line) {
        char* cell = rows_[line].data() + size_;
        if (comma) {
            *cell++ = ',';
        }
        cell[0] = kStateCharacters[before >> (2 * line) & 3];
        cell[1] = kStateCharacters[after >> (2 * line) & 3];
    }
    size_ += comma ? 3 : 2;
}

void ExportControlRows::AddComma() {
    Reserve(1);
    for (std::string& row : rows_) {
        row[size_] = ',';
    }
    ++size_;
}

} // namespace varnolt
