#pragma once

#include "core/view/FrameLineWalker.h"
#include "core/view/ViewTypes.h"

#include <array>
#include <cstdint>

namespace varnolt {

// Start points for walks over the frame lines of a capture: pairs (first record of a line, that
// line's number), in increasing record order, at least kSpacing records apart, so that a walk
// to any line or record passes at most about kSpacing records. Valid only for the capture
// position, columns and delimiters it was built with.
class FrameLineIndex {
public:
    static constexpr int kPairCount = 80;
    static constexpr RecordCount kSpacing = 50'000;

    struct Pair {
        RingIndex record = kNoRecord;
        LineNumber line = -1;
    };

    // Empties the index for a walk over CAPTURE with COLUMNS and DELIMITERS.
    void Clear(const CCaptureData& capture, CellColumn columns, const FrameDelimiters& delimiters);
    // Called by the full walk for every line start: line LINE starts at RECORD, OFFSET records
    // after the oldest. Stored when it lies at least kSpacing records after the last pair (or
    // the oldest record) and a slot is free.
    void Offer(RingIndex record, LineNumber line, RecordCount offset) {
        if (offset - lastOffset() >= kSpacing && size_ < kPairCount) {
            Store(record, line, offset);
        }
    }

    // True when the pairs may be used for CAPTURE with COLUMNS and DELIMITERS.
    [[nodiscard]] bool ValidFor(const CCaptureData& capture, CellColumn columns,
                                const FrameDelimiters& delimiters) const;

    // The start of the walk to line TARGET (1-based): the last pair whose line is not above it,
    // else the oldest record as line 1.
    [[nodiscard]] Pair StartForLine(const CCaptureData& capture, LineNumber target) const;
    // The start of the walk to the record OFFSET places after the oldest: the last pair at or
    // before it, else the oldest record as line 1.
    [[nodiscard]] Pair StartForOffset(const CCaptureData& capture, RecordCount offset) const;

    [[nodiscard]] int size() const { return size_; }
    [[nodiscard]] const Pair& pair(int i) const { return pairs_[static_cast<size_t>(i)]; }

private:
    [[nodiscard]] RecordCount lastOffset() const {
        return size_ == 0 ? 0 : offsets_[static_cast<size_t>(size_ - 1)];
    }
    void Store(RingIndex record, LineNumber line, RecordCount offset);

    std::array<Pair, kPairCount> pairs_{};
    std::array<RecordCount, kPairCount> offsets_{};
    int size_ = 0;
    RingIndex builtFirst_ = kNoRecord;
    bool builtWrapped_ = false;
    RecordCount builtCapacity_ = 0;
    CellColumn builtColumns_ = -1;
    FrameDelimiters builtDelimiters_{};
};

} // namespace varnolt
