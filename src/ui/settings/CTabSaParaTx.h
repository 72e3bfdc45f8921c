#pragma once

#include <QWidget>

class QTableWidget;

namespace varnolt {
class TransmitPageModel;
}

namespace varnolt::ui {

// The page "送信データ": the fifty transmit entries in the cell font, edited through the
// character input dialog ("編集" or a double click) and copied, pasted and erased row by row.
class CTabSaParaTx final : public QWidget {
    Q_OBJECT

public:
    explicit CTabSaParaTx(TransmitPageModel& model, QWidget* parent = nullptr);

    void Refresh();

private:
    [[nodiscard]] int selectedRow() const;
    void ShowRow(int row);
    void Edit(int row);

    TransmitPageModel& model_;
    QTableWidget* list_;
};

} // namespace varnolt::ui
