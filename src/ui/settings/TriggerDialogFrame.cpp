#include "ui/settings/TriggerDialogFrame.h"

#include "ui/platform/QtText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace varnolt::ui {

TriggerDialogFrame::TriggerDialogFrame(std::string_view title, std::string_view label,
                                       QWidget* parent)
    : QDialog(parent), kinds_(new QComboBox(this)), pages_(new QStackedWidget(this)) {
    setWindowTitle(ToQString(title));
    kinds_->setObjectName("kind");
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(ToQString(label), this));
    top->addWidget(kinds_);
    top->addStretch();

    // The empty page stands for a stored kind outside the list.
    pages_->addWidget(new QWidget(pages_));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText("キャンセル");
    for (QAbstractButton* button : buttons->buttons()) {
        static_cast<QPushButton*>(button)->setAutoDefault(false);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (accepted_) {
            accepted_();
        }
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pages_, 1);
    layout->addWidget(buttons);
}

QWidget* TriggerDialogFrame::NewPage(const QString& name) {
    auto* page = new QWidget(pages_);
    page->setObjectName(name);
    return page;
}

void TriggerDialogFrame::AddKind(std::string_view name, QWidget* page) {
    kinds_->addItem(ToQString(name));
    pages_->addWidget(page);
}

void TriggerDialogFrame::ShowKind(int kind) {
    kinds_->setCurrentIndex(kind);
    pages_->setCurrentIndex(kind + 1);
}

void TriggerDialogFrame::OnKindChosen(std::function<void(int)> chosen) {
    connect(kinds_, &QComboBox::activated, this, [this, chosen = std::move(chosen)](int kind) {
        chosen(kind);
        ShowKind(kind);
    });
}

void TriggerDialogFrame::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (check_) {
            check_();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace varnolt::ui
