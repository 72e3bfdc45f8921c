#include "ui/settings/CSaParaSpeed.h"

#include "ui/platform/QtText.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace varnolt::ui {

namespace {

constexpr int kRows = 10;

} // namespace

CSaParaSpeed::CSaParaSpeed(uint32_t speed, UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), model_(speed), prompt_(prompt) {
    setObjectName("CSaParaSpeed");
    setWindowTitle(ToQString(SpeedDialogModel::kTitle));

    auto* box = new QGroupBox("通信速度", this);
    auto* grid = new QGridLayout(box);
    choices_ = new QButtonGroup(this);
    for (size_t i = 0; i < SpeedDialogModel::kListedCount; ++i) {
        auto* radio = new QRadioButton(QString::number(SpeedDialogModel::kListedSpeeds[i]), box);
        choices_->addButton(radio, static_cast<int>(i));
        grid->addWidget(radio, static_cast<int>(i) % kRows, static_cast<int>(i) / kRows);
    }
    auto* arbitrary = new QRadioButton("任意", box);
    choices_->addButton(arbitrary, SpeedDialogModel::kArbitraryChoice);
    grid->addWidget(arbitrary, kRows - 1, 2);
    edit_ = new QLineEdit(box);
    edit_->setObjectName("speedEdit");
    edit_->setMinimumWidth(90);
    grid->addWidget(edit_, kRows - 1, 3);
    actual_ = new QLabel(box);
    actual_->setObjectName("actualSpeed");
    actual_->setMinimumWidth(
        actual_->fontMetrics().horizontalAdvance("実際の通信速度：460800　誤差：-99.999%"));

    connect(choices_, &QButtonGroup::idClicked, this, [this](int id) {
        model_.choose(id);
        Refresh();
    });
    connect(edit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.setEditText(text.toStdString()); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText("キャンセル");
    for (QAbstractButton* button : buttons->buttons()) {
        static_cast<QPushButton*>(button)->setAutoDefault(false);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (model_.apply(prompt_)) {
            accept();
        } else {
            Refresh();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(actual_);
    layout->addWidget(buttons);
    Refresh();
}

void CSaParaSpeed::Refresh() {
    if (QAbstractButton* chosen = choices_->button(model_.choice())) {
        chosen->setChecked(true);
    }
    edit_->setText(QString::fromStdString(model_.editText()));
    edit_->setReadOnly(!model_.editEnabled());
    actual_->setText(ToQString(model_.actualSpeedText()));
}

void CSaParaSpeed::Apply() {
    model_.apply(prompt_);
    Refresh();
}

void CSaParaSpeed::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Apply();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace varnolt::ui
