#pragma once

#include "core/view/FrameLineWalker.h"
#include "core/view/PageGeometry.h"
#include "core/view/ViewTypes.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace varnolt {

// The records of one printed page: from START to LAST in ring order, at most CELLS of them.
struct PageRecords {
    RingIndex start = kNoRecord;
    RingIndex last = kNoRecord;
    RecordCount cells = 0;
    // Frame display: the number (from 1) of the frame line that START begins.
    LineNumber firstLine = 0;
    friend bool operator==(const PageRecords&, const PageRecords&) = default;
};

// Which records each printed page holds, for one capture, display mode and paper geometry.
//
// Continuous display is plain arithmetic on offsets from the oldest record. Frame display needs
// the frame rules: the pages are found by one walk from the oldest record that keeps the first
// record of every page (four bytes a page) and goes only as far as it has been asked to, so the
// first pages of a huge capture are ready at once and the page count is known once the walk has
// reached the newest record. Extend() lets a caller finish the walk in slices between events.
//
// The capture must not change while a pagination of it is in use.
class PrintPagination {
public:
    // GEOMETRY is the paper geometry of page 1 (its cell counts hold for every page).
    PrintPagination(const CCaptureData& capture, DisplayMode mode, const PageGeometry& geometry);

    // True when the page count is known without walking further.
    [[nodiscard]] bool complete() const { return complete_; }
    // Pages needed for the whole capture (1 for an empty one); walks to the end when needed.
    [[nodiscard]] int32_t PageCount();
    // The page count when complete(), else nullopt.
    [[nodiscard]] std::optional<int32_t> KnownPageCount() const;
    // Walks at most BUDGET more records; true when the walk is complete.
    bool Extend(RecordCount budget);

    // The records of page PAGENUMBER (from 1); nullopt when it holds none.
    [[nodiscard]] std::optional<PageRecords> Page(int32_t pageNumber);

private:
    // Lines (counted from 0 at the oldest record) before the first line of page PAGENUMBER.
    [[nodiscard]] int64_t FirstLineOf(int32_t pageNumber) const;
    // Walks until the first record of page PAGENUMBER is known or the walk is complete.
    void WalkToPage(int32_t pageNumber);
    [[nodiscard]] int32_t PagesForLines(int64_t lines) const;

    const CCaptureData& capture_;
    DisplayMode mode_;
    RecordCount firstPageCells_;
    RecordCount laterPageCells_;
    int64_t firstPageLines_ = 0;
    int64_t laterPageLines_ = 0;

    // The frame walk: the next record to look at (an offset from the oldest), the lines started
    // so far and the first record of each page found.
    FrameLineWalker walker_;
    RecordCount walked_ = 0;
    int64_t lines_ = 0;
    std::vector<RingIndex> pageStarts_;
    bool complete_ = false;
};

} // namespace varnolt
