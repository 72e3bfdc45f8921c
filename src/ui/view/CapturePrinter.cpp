#include "ui/view/CapturePrinter.h"

#include "core/view/ViewLayout.h"
#include "ui/view/QtCellCanvas.h"

#include <QPainter>
#include <QPrinter>

namespace varnolt::ui {

int CapturePrinter::pageCount(const QPrinter& printer) const {
    return layout_.PageCount(capture_, QtCellCanvas::PaperDrawingSize(printer));
}

void CapturePrinter::print(QPrinter& printer) const {
    const int pages = pageCount(printer);
    if (pages <= 0) {
        return;
    }
    int first = 1;
    int last = pages;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(pages, printer.toPage() > 0 ? printer.toPage() : pages);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return;
    }
    const DrawingSize size = QtCellCanvas::PaperDrawingSize(printer);
    for (int page = first; page <= last; ++page) {
        if (page != first && !printer.newPage()) {
            break;
        }
        QtCellCanvas canvas = QtCellCanvas::ForPaper(painter, printer);
        layout_.PrintPage(canvas, capture_, page, size, pathName_);
    }
    painter.end();
}

} // namespace varnolt::ui
