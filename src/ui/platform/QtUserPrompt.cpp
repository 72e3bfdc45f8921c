#include "ui/platform/QtUserPrompt.h"

#include "ui/platform/QtText.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

namespace varnolt::ui {

namespace {

QMessageBox::Icon ToQtIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::Ok:
        return QMessageBox::Ok;
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case PromptButtons::SaveDiscardCancel:
        return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

PromptAnswer FromQtButton(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Retry:
        return PromptAnswer::Retry;
    case QMessageBox::Save:
        return PromptAnswer::Save;
    case QMessageBox::Discard:
        return PromptAnswer::Discard;
    default:
        return PromptAnswer::Cancel;
    }
}

int Show(QWidget* parent, std::string_view text, std::string_view caption, PromptIcon icon,
         PromptButtons buttons) {
    QMessageBox box(ToQtIcon(icon), ToQString(caption), ToQString(text), ToQtButtons(buttons),
                    parent);
    if (buttons == PromptButtons::SaveDiscardCancel) {
        box.button(QMessageBox::Save)->setText("保存");
        box.button(QMessageBox::Discard)->setText("保存しない");
        box.button(QMessageBox::Cancel)->setText("キャンセル");
        box.setDefaultButton(QMessageBox::Save);
    }
    // A message must be readable even while an exchange shows the wait cursor.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    const int result = box.exec();
    if (waiting) {
        QApplication::restoreOverrideCursor();
    }
    return result;
}

} // namespace

void QtUserPrompt::message(std::string_view text, std::string_view caption, PromptIcon icon) {
    Show(parent_, text, caption, icon, PromptButtons::Ok);
}

PromptAnswer QtUserPrompt::ask(std::string_view text, std::string_view caption,
                               PromptButtons buttons, PromptIcon icon) {
    return FromQtButton(Show(parent_, text, caption, icon, buttons));
}

} // namespace varnolt::ui
