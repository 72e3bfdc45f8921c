#include "ui/config/CBrowseFolderDialog.h"

#include <QFileDialog>

namespace varnolt::ui {

QString CBrowseFolderDialog::Run(QWidget* parent, const QString& title) {
    return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
}

} // namespace varnolt::ui
