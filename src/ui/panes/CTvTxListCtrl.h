#pragma once

#include <QTableWidget>

namespace varnolt::ui {

// The transmit pane's list: a report list with grid lines, full-row and single selection. A
// double-click on a row selects it again, so that the entry it shows can be sent once more.
class CTvTxListCtrl final : public QTableWidget {
    Q_OBJECT

public:
    explicit CTvTxListCtrl(QWidget* parent = nullptr);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace varnolt::ui
