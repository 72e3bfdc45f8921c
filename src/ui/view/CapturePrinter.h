#pragma once

#include "core/view/PageGeometry.h"
#include "core/view/PrintPagination.h"

#include <functional>
#include <optional>
#include <string>

class QImage;
class QPageLayout;
class QPaintDevice;
class QPrinter;

namespace varnolt {
class CCaptureData;
class ViewLayout;
} // namespace varnolt

namespace varnolt::ui {

// Prints a capture with the view's layout: every page, or the range the print dialog chose,
// each with its header. Printing and the preview share the page painting and one pagination,
// which is made again only when the paper changes.
class CapturePrinter {
public:
    // Told before each page with the pages done and the pages to print; false stops the print.
    using Progress = std::function<bool(int done, int total)>;

    CapturePrinter(ViewLayout& layout, const CCaptureData& capture, std::string pathName)
        : layout_(layout), capture_(capture), pathName_(std::move(pathName)) {}

    // Pages the capture needs on PRINTER's paper (walks the whole capture in frame display).
    [[nodiscard]] int pageCount(const QPrinter& printer);
    // The pagination for PRINTER's paper, for a caller that finds the count step by step.
    PrintPagination& pagination(const QPrinter& printer);
    // Prints onto PRINTER (a real printer or a PDF file); true when every page was printed,
    // false when PROGRESS stopped it or the printer failed. Pages already sent stay sent.
    bool Print(QPrinter& printer, const Progress& progress = {});
    // Page PAGE as it comes out of PRINTER, the whole sheet at PIXELSPERMM pixels per mm.
    [[nodiscard]] QImage RenderPage(const QPrinter& printer, int page, double pixelsPerMm);

private:
    ViewLayout& layout_;
    const CCaptureData& capture_;
    std::string pathName_;
    std::optional<PrintPagination> pagination_;
    DrawingSize paginatedFor_;
};

} // namespace varnolt::ui
