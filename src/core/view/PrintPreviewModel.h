#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace varnolt {

// How the preview scales its page.
enum class PreviewZoom : uint8_t { FitWidth, FitPage, Fixed };

// What the print preview shows: the page number, the page count once it is known (a frame
// display capture is paginated in the background), and the zoom. The dialog shows only this
// one page and paints it when it changes.
class PrintPreviewModel {
public:
    static constexpr double kMinimumScale = 0.1;
    static constexpr double kMaximumScale = 4.0;
    static constexpr double kZoomStep = 1.25;

    [[nodiscard]] int32_t page() const { return page_; }
    [[nodiscard]] std::optional<int32_t> pageCount() const { return pageCount_; }
    // The count became known (or changed with the paper): the page is kept within it.
    void setPageCount(std::optional<int32_t> count);

    // Moves to page N kept within 1 … the count (any N ≥ 1 while the count is unknown); true
    // when the page changed.
    bool GoTo(int32_t n);
    bool Next() { return GoTo(page_ + 1); }
    bool Previous() { return GoTo(page_ - 1); }
    bool First() { return GoTo(1); }
    [[nodiscard]] bool canGoBack() const { return page_ > 1; }
    // Forwards is possible while the count is unknown; the dialog then asks for the page and
    // learns the count when it does not exist.
    [[nodiscard]] bool canGoForward() const { return !pageCount_ || page_ < *pageCount_; }

    // "/ 3052 ページ" after the page number, or "/ … ページ" while the count is worked out.
    [[nodiscard]] std::string CountText() const;

    [[nodiscard]] PreviewZoom zoom() const { return zoom_; }
    void setZoom(PreviewZoom zoom) { zoom_ = zoom; }
    // Scale of the page (1.0 = the paper at the screen's size) for a paper of PAPERWIDTH ×
    // PAPERHEIGHT and a viewport of VIEWWIDTH × VIEWHEIGHT, in the same units.
    [[nodiscard]] double Scale(double paperWidth, double paperHeight, double viewWidth,
                               double viewHeight) const;
    // Zooming in or out starts from the scale shown (CURRENT) and switches to a fixed scale.
    void ZoomIn(double current);
    void ZoomOut(double current);
    // "100%" for the scale shown.
    [[nodiscard]] static std::string ScaleText(double scale);

private:
    int32_t page_ = 1;
    std::optional<int32_t> pageCount_;
    PreviewZoom zoom_ = PreviewZoom::FitPage;
    double fixedScale_ = 1.0;
};

// The pages a print covers: FIRST … LAST of a capture of PAGES pages, for a print dialog that
// chose FROM … TO (0 for "all"); empty (first > last) when nothing is to be printed.
struct PrintRange {
    int32_t first = 1;
    int32_t last = 0;
    [[nodiscard]] int32_t size() const { return last >= first ? last - first + 1 : 0; }
};
[[nodiscard]] PrintRange ChoosePrintRange(int32_t pages, int32_t from, int32_t to);
// The progress text of a print: "印刷中: 12 / 3052 ページ".
[[nodiscard]] std::string PrintProgressText(int32_t done, int32_t total);

} // namespace varnolt
