#pragma once

#include <string>

class QPrinter;

namespace varnolt {
class CCaptureData;
class ViewLayout;
} // namespace varnolt

namespace varnolt::ui {

// Prints a capture with the view's layout: every page, or the range the print dialog chose,
// each with its header. Printing and preview share this one routine.
class CapturePrinter {
public:
    CapturePrinter(ViewLayout& layout, const CCaptureData& capture, std::string pathName)
        : layout_(layout), capture_(capture), pathName_(std::move(pathName)) {}

    // Pages the capture needs on PRINTER's paper.
    [[nodiscard]] int pageCount(const QPrinter& printer) const;
    // Prints onto PRINTER (a real printer, a PDF file or a preview).
    void print(QPrinter& printer) const;

private:
    ViewLayout& layout_;
    const CCaptureData& capture_;
    std::string pathName_;
};

} // namespace varnolt::ui
