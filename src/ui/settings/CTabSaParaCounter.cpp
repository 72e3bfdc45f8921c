#include "ui/settings/CTabSaParaCounter.h"

#include "core/settings/dialog/CounterPageModel.h"
#include "ui/settings/SetValueGrid.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnolt::ui {

CTabSaParaCounter::CTabSaParaCounter(CounterPageModel& model, SettingsRemote* remote,
                                     QWidget* parent)
    : QWidget(parent), model_(model), remote_(remote) {
    setObjectName("CTabSaParaCounter");
    auto* grid = new QGridLayout(this);
    AddSetValueHeader(*grid, {"設定値", "現在値", "開始時\nリセット"});
    for (size_t i = 0; i < rows_.size(); ++i) {
        Row& row = rows_[i];
        const int line = static_cast<int>(i) + 1;
        row.set = AddSetValueRow(*grid, line, row.current, this);
        row.resetAtStart = new QCheckBox("有効", this);
        row.reset = new QPushButton("ﾘｾｯﾄ", this);
        row.reset->setObjectName(QString("reset%1").arg(line));
        row.reset->setAutoDefault(false);
        grid->addWidget(row.resetAtStart, line, 3);
        grid->addWidget(row.reset, line, 4);

        connect(row.set, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { model_.setSetText(i, text.toStdString()); });
        connect(row.resetAtStart, &QCheckBox::clicked, this,
                [this, i](bool on) { model_.setResetAtStart(i, on); });
        connect(row.reset, &QPushButton::clicked, this, [this, i] {
            if (remote_ != nullptr && model_.resetCounter(i, *remote_)) {
                Refresh();
            }
        });
    }
    grid->setRowStretch(static_cast<int>(rows_.size()) + 1, 1);
    grid->setColumnStretch(5, 1);
    Refresh();
}

void CTabSaParaCounter::Refresh() {
    for (size_t i = 0; i < rows_.size(); ++i) {
        const CounterPageModel::Row& row = model_.row(i);
        rows_[i].set->setText(QString::fromStdString(row.setText));
        rows_[i].current->setText(QString::fromStdString(row.currentText));
        rows_[i].resetAtStart->setChecked(row.resetAtStart);
        rows_[i].reset->setEnabled(model_.resetEnabled() && remote_ != nullptr);
    }
}

} // namespace varnolt::ui
