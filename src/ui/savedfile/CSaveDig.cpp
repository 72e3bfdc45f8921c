#include "ui/savedfile/CSaveDig.h"

#include "core/link/savedfile/SavedFileMessages.h"
#include "ui/platform/QtText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnolt::ui {

CSaveDig::CSaveDig(std::string_view message, std::string_view fileLine, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(ToQString(kSaveDigTitle));
    auto* messageLine = new QLabel(ToQString(message), this);
    auto* nameLine = new QLabel(ToQString(fileLine), this);
    nameLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    sameForLater_ = new QCheckBox(ToQString(kSameForLaterText), this);

    overwrite_ = new QPushButton(ToQString(kOverwriteButtonText), this);
    skip_ = new QPushButton(ToQString(kSkipButtonText), this);
    cancel_ = new QPushButton(ToQString(kCancelButtonText), this);
    overwrite_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(overwrite_);
    buttons->addWidget(skip_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(messageLine);
    layout->addWidget(nameLine);
    layout->addSpacing(6);
    layout->addWidget(sameForLater_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(overwrite_, &QPushButton::clicked, this, [this] { Press(SaveDigButton::Overwrite); });
    connect(skip_, &QPushButton::clicked, this, [this] { Press(SaveDigButton::Skip); });
    connect(cancel_, &QPushButton::clicked, this, [this] { Press(SaveDigButton::Cancel); });
}

void CSaveDig::Press(SaveDigButton button) {
    choice_ = SaveChoiceOf(button, sameForLater_->isChecked());
    if (button == SaveDigButton::Cancel) {
        reject();
    } else {
        accept();
    }
}

SaveChoice QtOverwriteQuestion::Ask(std::string_view message, std::string_view fileLine) {
    CSaveDig dialog(message, fileLine, parent_);
    dialog.exec();
    return dialog.choice();
}

} // namespace varnolt::ui
