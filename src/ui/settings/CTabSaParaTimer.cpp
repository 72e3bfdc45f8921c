#include "ui/settings/CTabSaParaTimer.h"

#include "core/settings/dialog/TimerPageModel.h"
#include "ui/platform/QtText.h"
#include "ui/settings/SetValueGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace varnolt::ui {

CTabSaParaTimer::CTabSaParaTimer(TimerPageModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
    setObjectName("CTabSaParaTimer");
    auto* grid = new QGridLayout(this);
    AddSetValueHeader(*grid, {"設定値", "現在値", "単位", "開始時\n自動起動"});
    for (size_t i = 0; i < rows_.size(); ++i) {
        Row& row = rows_[i];
        const int line = static_cast<int>(i) + 1;
        row.set = AddSetValueRow(*grid, line, row.current, this);
        row.unit = new QComboBox(this);
        for (std::string_view unit : TimerPageModel::kUnitTexts) {
            row.unit->addItem(ToQString(unit));
        }
        row.autoStart = new QCheckBox("有効", this);
        grid->addWidget(row.unit, line, 3);
        grid->addWidget(row.autoStart, line, 4);

        connect(row.set, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { model_.setSetText(i, text.toStdString()); });
        connect(row.unit, &QComboBox::activated, this,
                [this, i](int unit) { model_.chooseUnit(i, unit); });
        connect(row.autoStart, &QCheckBox::clicked, this,
                [this, i](bool on) { model_.setAutoStart(i, on); });
    }
    grid->setRowStretch(static_cast<int>(rows_.size()) + 1, 1);
    grid->setColumnStretch(5, 1);
    Refresh();
}

void CTabSaParaTimer::Refresh() {
    for (size_t i = 0; i < rows_.size(); ++i) {
        const TimerPageModel::Row& row = model_.row(i);
        rows_[i].set->setText(QString::fromStdString(row.setText));
        rows_[i].current->setText(QString::fromStdString(row.currentText));
        rows_[i].unit->setCurrentIndex(row.unit.choice());
        rows_[i].autoStart->setChecked(row.autoStart);
    }
}

} // namespace varnolt::ui
