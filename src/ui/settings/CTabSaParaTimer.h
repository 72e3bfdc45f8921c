#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace varnolt {
class TimerPageModel;
} // namespace varnolt

namespace varnolt::ui {

// The page "タイマー": set value, current value, unit and automatic start of the four timers.
class CTabSaParaTimer final : public QWidget {
    Q_OBJECT

public:
    explicit CTabSaParaTimer(TimerPageModel& model, QWidget* parent = nullptr);

    void Refresh();

private:
    struct Row {
        QLineEdit* set = nullptr;
        QLabel* current = nullptr;
        QComboBox* unit = nullptr;
        QCheckBox* autoStart = nullptr;
    };

    TimerPageModel& model_;
    std::array<Row, 4> rows_;
};

} // namespace varnolt::ui
