#pragma once

#include "core/settings/CSaParameter.h"

#include <array>
#include <span>

namespace varnolt {

// The page "送信データ": the fifty transmit entries with "編集", "コピー", "ペースト" and "消去"
// on the selected row, and a one-entry clipboard of the page's own.
class TransmitPageModel {
public:
    using TransmitTable = std::array<SaTxEntry, kTxEntryCount>;

    void load(const CSaParameter& model);
    void save(CSaParameter& model) const;

    [[nodiscard]] const TransmitTable& table() const { return entries_; }
    [[nodiscard]] const SaTxEntry& entry(size_t row) const { return entries_.at(row); }

    // The character input dialog's result for ROW: up to 128 characters.
    void setCharacters(size_t row, std::span<const PatternElement> elements);
    void copy(size_t row) { clipboard_ = entries_.at(row); }
    void paste(size_t row) { entries_.at(row) = clipboard_; }
    void erase(size_t row) { entries_.at(row) = SaTxEntry{}; }

private:
    TransmitTable entries_{};
    SaTxEntry clipboard_{};
};

} // namespace varnolt
