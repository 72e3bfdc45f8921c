#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varnolt {
class CounterPageModel;
class SettingsRemote;
} // namespace varnolt

namespace varnolt::ui {

// The page "カウンタ": set value, current value and reset at start of the four counters, and
// "ﾘｾｯﾄ", which resets the analyzer's counter while connected.
class CTabSaParaCounter final : public QWidget {
    Q_OBJECT

public:
    // REMOTE may be null (no analyzer link at all).
    CTabSaParaCounter(CounterPageModel& model, SettingsRemote* remote, QWidget* parent = nullptr);

    void Refresh();

private:
    struct Row {
        QLineEdit* set = nullptr;
        QLabel* current = nullptr;
        QCheckBox* resetAtStart = nullptr;
        QPushButton* reset = nullptr;
    };

    CounterPageModel& model_;
    SettingsRemote* remote_;
    std::array<Row, 4> rows_;
};

} // namespace varnolt::ui
