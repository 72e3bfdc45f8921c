#include "ui/settings/CTabSaParaTriger.h"

#include "core/settings/dialog/TriggerCaptions.h"
#include "core/settings/dialog/TriggerPageModel.h"
#include "ui/platform/QtText.h"
#include "ui/settings/CSaParaTriHistory.h"
#include "ui/settings/CSaParaTriggerAction.h"
#include "ui/settings/CSaParaTriggerCond.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace varnolt::ui {

CTabSaParaTriger::CTabSaParaTriger(TriggerPageModel& model, UserPrompt& prompt, QWidget* parent)
    : QWidget(parent), model_(model), prompt_(prompt) {
    setObjectName("CTabSaParaTriger");
    auto* grid = new QGridLayout(this);
    int column = 2;
    for (const char* title : {"条件", "動作", "履歴"}) {
        auto* label = new QLabel(title, this);
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, 0, column++);
    }
    const auto button = [this](const QString& name) {
        auto* pushButton = new QPushButton(this);
        pushButton->setObjectName(name);
        pushButton->setAutoDefault(false);
        pushButton->setStyleSheet("text-align: left; padding: 2px 8px;");
        return pushButton;
    };
    for (size_t i = 0; i < rows_.size(); ++i) {
        Row& row = rows_[i];
        const int line = static_cast<int>(i) + 1;
        row.enabled = new QCheckBox("有効", this);
        row.enabled->setObjectName(QString("enabled%1").arg(line));
        row.condition = button(QString("condition%1").arg(line));
        row.action = button(QString("action%1").arg(line));
        row.history = button(QString("history%1").arg(line));
        row.condition->setMinimumWidth(
            row.condition->fontMetrics().horizontalAdvance("アイドル発生： 999999") + 24);
        row.action->setMinimumWidth(
            row.action->fontMetrics().horizontalAdvance("一定受信後停止： 9999 文字") + 24);
        grid->addWidget(new QLabel(QString::number(line), this), line, 0);
        grid->addWidget(row.enabled, line, 1);
        grid->addWidget(row.condition, line, 2);
        grid->addWidget(row.action, line, 3);
        grid->addWidget(row.history, line, 4);
        connect(row.enabled, &QCheckBox::clicked, this,
                [this, i](bool on) { model_.setEnabled(i, on); });
        connect(row.condition, &QPushButton::clicked, this, [this, i] { EditCondition(i); });
        connect(row.action, &QPushButton::clicked, this, [this, i] { EditAction(i); });
        connect(row.history, &QPushButton::clicked, this, [this, i] { EditHistory(i); });
    }
    grid->setRowStretch(static_cast<int>(rows_.size()) + 1, 1);
    grid->setColumnStretch(5, 1);
    Refresh();
}

void CTabSaParaTriger::EditCondition(size_t index) {
    CSaParaTriggerCond dialog(model_.trigger(index), prompt_, this);
    dialog.exec();
    Refresh();
}

void CTabSaParaTriger::EditAction(size_t index) {
    CSaParaTriggerAction dialog(model_.trigger(index), model_.transmitTable(), prompt_, this);
    dialog.exec();
    Refresh();
}

void CTabSaParaTriger::EditHistory(size_t index) {
    CSaParaTriHistory dialog(model_.trigger(index), prompt_, this);
    dialog.exec();
    Refresh();
}

void CTabSaParaTriger::Refresh() {
    for (size_t i = 0; i < rows_.size(); ++i) {
        const SaTriggerEntry& trigger = model_.trigger(i);
        rows_[i].enabled->setChecked(model_.enabled(i));
        rows_[i].condition->setText(ToQString(TriggerConditionCaption(trigger)));
        rows_[i].action->setText(ToQString(TriggerActionCaption(trigger)));
        rows_[i].history->setText(ToQString(TriggerHistoryCaption(trigger)));
    }
}

} // namespace varnolt::ui
