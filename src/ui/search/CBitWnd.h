#pragma once

#include <QWidget>

#include <array>

class QPushButton;

namespace varnolt {
class DataInputModel;
}

namespace varnolt::ui {

// The bit-mask editor of the "特殊文字" page: for each of the four masks a row of eight buttons,
// bit 7 on the left ("H") to bit 0 on the right ("L"), each showing "1", "0" or "?". A click
// cycles its bit in the model and every caption is shown afresh.
class CBitWnd final : public QWidget {
    Q_OBJECT

public:
    CBitWnd(DataInputModel& model, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Refresh();

    DataInputModel& model_;
    std::array<QPushButton*, 32> buttons_{};
};

} // namespace varnolt::ui
