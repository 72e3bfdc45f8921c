#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QPushButton;

namespace varnolt {
class TriggerPageModel;
class UserPrompt;
} // namespace varnolt

namespace varnolt::ui {

// The page "トリガー": eight rows, each with "有効" and the condition, action and history
// buttons, whose captions summarise the trigger and open its editors.
class CTabSaParaTriger final : public QWidget {
    Q_OBJECT

public:
    CTabSaParaTriger(TriggerPageModel& model, UserPrompt& prompt, QWidget* parent = nullptr);

    void Refresh();

private:
    struct Row {
        QCheckBox* enabled = nullptr;
        QPushButton* condition = nullptr;
        QPushButton* action = nullptr;
        QPushButton* history = nullptr;
    };

    void EditCondition(size_t index);
    void EditAction(size_t index);
    void EditHistory(size_t index);

    TriggerPageModel& model_;
    UserPrompt& prompt_;
    std::array<Row, 8> rows_;
};

} // namespace varnolt::ui
