#include "core/view/PrintPagination.h"

#include "core/capture/CCaptureData.h"

#include <algorithm>
#include <limits>

namespace varnolt {

namespace {

// 1 for what fits on page 1, plus the later pages for the rest.
int32_t PagesFor(int64_t amount, int64_t firstPage, int64_t laterPage) {
    if (amount <= firstPage || laterPage <= 0) {
        return 1;
    }
    const int64_t pages = 1 + (amount - firstPage + laterPage - 1) / laterPage;
    return static_cast<int32_t>(std::min<int64_t>(pages, std::numeric_limits<int32_t>::max()));
}

} // namespace

PrintPagination::PrintPagination(const CCaptureData& capture, DisplayMode mode,
                                 const PageGeometry& geometry)
    : capture_(capture), mode_(mode), firstPageCells_(geometry.firstPageCells),
      laterPageCells_(geometry.laterPageCells),
      walker_(geometry.columns, capture.header().delimiters) {
    if (geometry.columns > 0) {
        firstPageLines_ = geometry.firstPageCells / geometry.columns;
        laterPageLines_ = geometry.laterPageCells / geometry.columns;
    }
    // Without columns, or in continuous display, nothing needs walking.
    complete_ = mode_ == DisplayMode::Continuous || geometry.columns <= 0 || capture.empty();
}

int32_t PrintPagination::PagesForLines(int64_t lines) const {
    return PagesFor(lines, firstPageLines_, laterPageLines_);
}

std::optional<int32_t> PrintPagination::KnownPageCount() const {
    if (!complete_) {
        return std::nullopt;
    }
    if (mode_ == DisplayMode::Continuous) {
        return PagesFor(capture_.Count(), firstPageCells_, laterPageCells_);
    }
    return PagesForLines(lines_);
}

int32_t PrintPagination::PageCount() {
    while (!Extend(std::numeric_limits<RecordCount>::max())) {
    }
    return *KnownPageCount();
}

int64_t PrintPagination::FirstLineOf(int32_t pageNumber) const {
    return pageNumber <= 1 ? 0 : firstPageLines_ + int64_t{pageNumber - 2} * laterPageLines_;
}

bool PrintPagination::Extend(RecordCount budget) {
    if (complete_) {
        return true;
    }
    const RecordCount count = capture_.Count();
    const RecordCount end = static_cast<RecordCount>(
        std::min<int64_t>(count, int64_t{walked_} + std::max<RecordCount>(budget, 0)));
    RingIndex index = RecordAtOffset(capture_, walked_);
    const RecordCount capacity = capture_.capacity();
    for (; walked_ < end; ++walked_) {
        if (walker_.Step(capture_.word(index))) {
            // The line just started is line lines_ (from 0); keep it when it opens a page.
            if (lines_ == FirstLineOf(static_cast<int32_t>(pageStarts_.size()) + 1)) {
                pageStarts_.push_back(index);
            }
            ++lines_;
        }
        index = index + 1 == capacity ? 0 : index + 1;
    }
    complete_ = walked_ >= count;
    return complete_;
}

void PrintPagination::WalkToPage(int32_t pageNumber) {
    // Pages a step of this size apart keep the walk's slices short.
    constexpr RecordCount kSlice = 4096;
    while (!complete_ && static_cast<int64_t>(pageStarts_.size()) < pageNumber) {
        Extend(kSlice);
    }
}

std::optional<PageRecords> PrintPagination::Page(int32_t pageNumber) {
    if (capture_.empty() || pageNumber < 1) {
        return std::nullopt;
    }
    if (mode_ == DisplayMode::Continuous) {
        const int64_t startOffset =
            pageNumber == 1 ? 0 : int64_t{pageNumber - 2} * laterPageCells_ + firstPageCells_;
        if (firstPageCells_ <= 0 || startOffset >= capture_.Count()) {
            return std::nullopt;
        }
        PageRecords page;
        page.start = RecordAtOffset(capture_, static_cast<RecordCount>(startOffset));
        page.cells = pageNumber == 1 ? firstPageCells_ : laterPageCells_;
        page.last = capture_.Advance(page.start, page.cells - 1);
        return page;
    }
    if (firstPageLines_ <= 0 || FirstLineOf(pageNumber) >= std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    // The page ends before the first record of the next page, or with the newest record.
    WalkToPage(pageNumber + 1);
    if (static_cast<int64_t>(pageStarts_.size()) < pageNumber) {
        return std::nullopt;
    }
    PageRecords page;
    page.start = pageStarts_[static_cast<size_t>(pageNumber - 1)];
    page.last = static_cast<int64_t>(pageStarts_.size()) > pageNumber
                    ? capture_.WrapIndex(pageStarts_[static_cast<size_t>(pageNumber)], -1)
                    : capture_.lastIndex();
    page.cells = capture_.Count();
    page.firstLine = static_cast<LineNumber>(FirstLineOf(pageNumber) + 1);
    return page;
}

} // namespace varnolt
