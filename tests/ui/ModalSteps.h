#pragma once

// Steps that answer the modal dialogs a command opens, run from the event loop once the dialog
// shows.

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace varnolt::testing {

// Runs STEP on the next modal dialog of class T once it shows. The timer that waits is returned;
// deleting it gives the step up.
template <typename T>
QTimer* WhenShown(std::function<void(T&)> step) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        step(*dialog);
    });
    timer->start();
    return timer;
}

// Types NAME into the next file-save dialog and presses its save button. A question whether to
// replace an existing file is answered with ANSWER and its text kept in QUESTION (left as it
// was when none is asked); a dialog that stays open after that is cancelled.
inline void SaveFileAs(const QString& name, QMessageBox::StandardButton answer, QString* question) {
    WhenShown<QFileDialog>([name, answer, question](QFileDialog& dialog) {
        dialog.findChild<QLineEdit*>("fileNameEdit")->setText(name);
        const QPointer<QTimer> watch = WhenShown<QMessageBox>([answer, question](QMessageBox& box) {
            *question = box.text();
            box.button(answer)->click();
        });
        static_cast<QDialog&>(dialog).accept(); // the save button; QFileDialog hides it
        delete watch.data();
        if (dialog.isVisible()) {
            dialog.reject();
        }
    });
}

} // namespace varnolt::testing
