#include "ui/settings/CSaParaTriHistory.h"

#include "ui/platform/QtText.h"
#include "ui/settings/ChoiceButtons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnolt::ui {

CSaParaTriHistory::CSaParaTriHistory(SaTriggerEntry& trigger, UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), model_(trigger),
      extendedSave_(new ChoiceButtons(this, "拡張保存", {"無し", "タイマー", "カウンタ"})),
      number_(new QLineEdit(this)) {
    setObjectName("CSaParaTriHistory");
    setWindowTitle(ToQString(TriggerHistoryModel::kTitle));

    auto* enabled = new QCheckBox("有効", this);
    enabled->setObjectName("historyEnabled");
    enabled->setChecked(model_.enabled());
    connect(enabled, &QCheckBox::clicked, this, [this](bool on) {
        model_.setEnabled(on);
        Refresh();
    });
    extendedSave_->OnChosen([this](int choice) { model_.extendedSave.choose(choice); });
    number_->setObjectName("number");
    number_->setMaxLength(3);
    number_->setFixedWidth(number_->fontMetrics().horizontalAdvance("0000") + 14);
    number_->setText(QString::fromStdString(model_.numberText()));
    connect(number_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.setNumberText(text.toStdString()); });
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(new QLabel("番号", this));
    numberRow->addWidget(number_);
    numberRow->addStretch();
    auto* groupLayout = extendedSave_->box()->layout();
    static_cast<QGridLayout*>(groupLayout)->addLayout(numberRow, 3, 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText("キャンセル");
    connect(buttons, &QDialogButtonBox::accepted, this, [this, &trigger, &prompt] {
        model_.accept(trigger, prompt);
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(enabled);
    layout->addWidget(extendedSave_->box());
    layout->addWidget(buttons);
    Refresh();
}

void CSaParaTriHistory::Refresh() {
    extendedSave_->Show(model_.extendedSave.choice());
    extendedSave_->box()->setEnabled(model_.enabled());
}

} // namespace varnolt::ui
