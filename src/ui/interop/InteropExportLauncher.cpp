#include "ui/interop/InteropExportLauncher.h"

#include "core/interop/InteropExport.h"
#include "core/shell/CVarnoltDoc.h"
#include "ui/platform/QtText.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace varnolt::ui {

namespace {

std::filesystem::path ToPath(const QString& file) {
    const QByteArray utf8 = file.toUtf8();
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

QString FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(text.data()),
                             static_cast<qsizetype>(text.size()));
}

} // namespace

void RunInteropExportDialog(const CVarnoltDoc& document, UserPrompt& prompt, QWidget* parent) {
    const QString pcapng = ToQString(kInteropPcapngFilter);
    const QString vcd = ToQString(kInteropVcdFilter);
    QString chosenFilter = pcapng;
    QString file = QFileDialog::getSaveFileName(
        parent, ToQString(kInteropExportTitle),
        FromPath(InteropSuggestedPath(document.pathName(), InteropFormat::Pcapng)),
        pcapng + ";;" + vcd, &chosenFilter);
    if (file.isEmpty()) {
        return;
    }
    if (QFileInfo(file).suffix().isEmpty()) {
        file += chosenFilter == vcd ? ".vcd" : ".pcapng";
    }
    RunInteropExport(document.capture(), TimeBase::ForFile(document.pathName()), ToPath(file),
                     prompt, [](bool busy) {
                         if (busy) {
                             QApplication::setOverrideCursor(Qt::WaitCursor);
                         } else {
                             QApplication::restoreOverrideCursor();
                         }
                     });
}

} // namespace varnolt::ui
