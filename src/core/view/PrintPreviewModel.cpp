#include "core/view/PrintPreviewModel.h"

#include <algorithm>
#include <cmath>

namespace varnolt {

void PrintPreviewModel::setPageCount(std::optional<int32_t> count) {
    pageCount_ = count ? std::optional<int32_t>(std::max(1, *count)) : std::nullopt;
    GoTo(page_);
}

bool PrintPreviewModel::GoTo(int32_t n) {
    int32_t page = std::max(1, n);
    if (pageCount_) {
        page = std::min(page, *pageCount_);
    }
    const bool changed = page != page_;
    page_ = page;
    return changed;
}

std::string PrintPreviewModel::CountText() const {
    const std::string count = pageCount_ ? std::to_string(*pageCount_) : std::string("…");
    return "/ " + count + " ページ";
}

double PrintPreviewModel::Scale(double paperWidth, double paperHeight, double viewWidth,
                                double viewHeight) const {
    if (zoom_ == PreviewZoom::Fixed || paperWidth <= 0 || paperHeight <= 0) {
        return fixedScale_;
    }
    const double width = viewWidth / paperWidth;
    const double scale =
        zoom_ == PreviewZoom::FitWidth ? width : std::min(width, viewHeight / paperHeight);
    return std::clamp(scale, kMinimumScale, kMaximumScale);
}

void PrintPreviewModel::ZoomIn(double current) {
    zoom_ = PreviewZoom::Fixed;
    fixedScale_ = std::min(kMaximumScale, current * kZoomStep);
}

void PrintPreviewModel::ZoomOut(double current) {
    zoom_ = PreviewZoom::Fixed;
    fixedScale_ = std::max(kMinimumScale, current / kZoomStep);
}

std::string PrintPreviewModel::ScaleText(double scale) {
    return std::to_string(static_cast<int>(std::lround(scale * 100))) + "%";
}

PrintRange ChoosePrintRange(int32_t pages, int32_t from, int32_t to) {
    if (pages <= 0) {
        return {};
    }
    if (from <= 0) {
        return {1, pages};
    }
    return {std::max(1, from), std::min(pages, to > 0 ? to : pages)};
}

std::string PrintProgressText(int32_t done, int32_t total) {
    return "印刷中: " + std::to_string(done) + " / " + std::to_string(total) + " ページ";
}

} // namespace varnolt
