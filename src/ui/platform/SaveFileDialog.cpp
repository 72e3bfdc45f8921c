#include "ui/platform/SaveFileDialog.h"

#include <QFileDialog>

namespace varnolt::ui {

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& suggestion,
                        const QString& filter, const QString& suffix) {
    QFileDialog dialog(parent, title, suggestion, filter);
    dialog.setObjectName("saveFileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

} // namespace varnolt::ui
