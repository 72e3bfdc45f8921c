#pragma once

#include "core/capture/RecordWord.h"

#include <optional>
#include <span>

namespace varnolt {

// Brings the records of old capture files (file-format versions 100 ... 102) to the current
// layout, word by word in file order. Old files carry a time stamp's 40 payload bits as
// 12 + 12 + 12 + 4 bits over the head and three continuations; the current layout carries
// them as 8 + 12 + 12 + 8, so each continuation takes the last 4 bits of the word before it.
// The old head becomes a stamp of kind 1; continuations beyond the third are dropped.
class OldRecordConverter {
public:
    // The current word for OLD, or nullopt when it is dropped.
    [[nodiscard]] std::optional<RecordWord> convert(RecordWord old);
    // Converts WORDS in place, dropping words; returns how many remain at the front.
    [[nodiscard]] size_t convertInPlace(std::span<RecordWord> words);

    [[nodiscard]] bool idleSeen() const { return idleSeen_; }
    [[nodiscard]] bool stampSeen() const { return stampSeen_; }

private:
    RecordWord previous_ = 0; // the old word before the current one
    int continuations_ = 0;   // time-stamp continuations since the last head
    bool idleSeen_ = false;
    bool stampSeen_ = false;
};

} // namespace varnolt
