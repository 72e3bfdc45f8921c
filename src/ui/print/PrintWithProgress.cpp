#include "ui/print/PrintWithProgress.h"

#include "core/view/PrintPreviewModel.h"
#include "ui/view/CapturePrinter.h"

#include <QProgressDialog>

namespace varnolt::ui {

namespace {

// A print shorter than this shows no progress at all.
constexpr int kShowAfterMs = 500;

} // namespace

bool PrintWithProgress(CapturePrinter& capturePrinter, QPrinter& printer, QWidget* parent) {
    QProgressDialog progress(parent);
    progress.setWindowTitle("印刷");
    progress.setCancelButtonText("キャンセル");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kShowAfterMs);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    const bool finished = capturePrinter.Print(printer, [&progress](int done, int total) {
        progress.setMaximum(total);
        progress.setLabelText(QString::fromStdString(PrintProgressText(done, total)));
        progress.setValue(done); // a window-modal progress dialog handles events here
        return !progress.wasCanceled();
    });
    progress.close();
    return finished;
}

} // namespace varnolt::ui
