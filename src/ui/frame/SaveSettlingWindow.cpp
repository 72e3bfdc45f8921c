#include "ui/frame/SaveSettlingWindow.h"

#include "core/capture/CaptureSaver.h"
#include "ui/config/CBrowseFolderDialog.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QThread>

#include <algorithm>

namespace varnolt::ui {

void SaveSettlingWindow::WaitForSaves(CaptureSaver& saver) {
    const size_t pending = saver.pending();
    if (!saver.busy()) {
        saver.WaitIdle();
        return;
    }
    // The file being written cannot be interrupted; those still waiting can be given up.
    QProgressDialog progress("保存中のファイルを書き込んでいます...", "あきらめる", 0,
                             static_cast<int>(pending), parent_);
    progress.setWindowTitle("Varnolt");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    while (saver.busy()) {
        if (progress.wasCanceled()) {
            saver.Abandon();
        }
        progress.setValue(static_cast<int>(pending - std::min(pending, saver.pending())));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    saver.WaitIdle();
}

std::optional<std::filesystem::path> SaveSettlingWindow::ChooseFolder() {
    const QString folder = CBrowseFolderDialog::Run(parent_);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    const QByteArray utf8 = folder.toUtf8();
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace varnolt::ui
