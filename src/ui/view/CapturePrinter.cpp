#include "ui/view/CapturePrinter.h"

#include "core/view/PrintPreviewModel.h"
#include "core/view/ViewLayout.h"
#include "ui/view/QtCellCanvas.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

namespace varnolt::ui {

PrintPagination& CapturePrinter::pagination(const QPrinter& printer) {
    const DrawingSize size = QtCellCanvas::PaperDrawingSize(printer);
    if (!pagination_ || size.width != paginatedFor_.width || size.height != paginatedFor_.height) {
        pagination_.emplace(layout_.Paginate(capture_, size));
        paginatedFor_ = size;
    }
    return *pagination_;
}

int CapturePrinter::pageCount(const QPrinter& printer) {
    return pagination(printer).PageCount();
}

bool CapturePrinter::Print(QPrinter& printer, const Progress& progress) {
    const bool chosen = printer.printRange() == QPrinter::PageRange;
    const PrintRange range = ChoosePrintRange(pageCount(printer), chosen ? printer.fromPage() : 0,
                                              chosen ? printer.toPage() : 0);
    if (range.size() == 0) {
        return true;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const DrawingSize size = QtCellCanvas::PaperDrawingSize(printer);
    bool finished = true;
    for (int page = range.first; page <= range.last; ++page) {
        if (progress && !progress(page - range.first, range.size())) {
            finished = false;
            break;
        }
        if (page != range.first && !printer.newPage()) {
            finished = false;
            break;
        }
        QtCellCanvas canvas = QtCellCanvas::ForPaper(painter, printer);
        layout_.PrintPage(canvas, capture_, pagination(printer), page, size, pathName_);
    }
    if (finished && progress) {
        progress(range.size(), range.size());
    }
    painter.end();
    return finished;
}

QImage CapturePrinter::RenderPage(const QPrinter& printer, int page, double pixelsPerMm) {
    const QPageLayout layout = printer.pageLayout();
    const QRectF sheet = layout.fullRect(QPageLayout::Millimeter);
    const QRectF printable = layout.paintRect(QPageLayout::Millimeter);
    QImage image(qMax(1, qRound(sheet.width() * pixelsPerMm)),
                 qMax(1, qRound(sheet.height() * pixelsPerMm)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // The printer's origin is the top-left corner of its printable area, which also clips.
    painter.translate(printable.left() * pixelsPerMm, printable.top() * pixelsPerMm);
    painter.setClipRect(
        QRectF(0, 0, printable.width() * pixelsPerMm, printable.height() * pixelsPerMm));
    QtCellCanvas canvas(painter, pixelsPerMm / 10);
    layout_.PrintPage(canvas, capture_, pagination(printer), page,
                      QtCellCanvas::PaperDrawingSize(printer), pathName_);
    return image;
}

} // namespace varnolt::ui
