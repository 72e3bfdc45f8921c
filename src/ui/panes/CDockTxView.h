#pragma once

#include "core/link/panes/TransmitSelection.h"

#include <QDockWidget>
#include <QTimer>

namespace varnolt {
class CSaParameter;
} // namespace varnolt

namespace varnolt::ui {

class CTvTxListCtrl;

// The dockable pane "送信 ビュー": the analyzer's fifty transmit entries, "No." and the entry's
// characters in the cell font. Selecting a row asks for that entry to be sent (the main frame
// turns the request into update code 32); its 20 ms timer clears the selection three ticks
// later, so that the same row can be sent again.
class CDockTxView final : public QDockWidget {
    Q_OBJECT

public:
    explicit CDockTxView(QWidget* parent = nullptr);

    // Deletes every row and inserts the fifty entries of SETTINGS.
    void Fill(const CSaParameter& settings);

    [[nodiscard]] CTvTxListCtrl& list() { return *list_; }
    [[nodiscard]] const TransmitSelection& selection() const { return selection_; }

signals:
    // Row ENTRY was selected: send that transmit entry.
    void transmitRequested(int entry);

private:
    void OnTimer();

    CTvTxListCtrl* list_ = nullptr;
    TransmitSelection selection_;
    QTimer timer_;
};

} // namespace varnolt::ui
