#include "ui/panes/CTvTxListCtrl.h"

#include "core/link/panes/TransmitSelection.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace varnolt::ui {

CTvTxListCtrl::CTvTxListCtrl(QWidget* parent) : QTableWidget(parent) {
    setObjectName("txList399");
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    verticalHeader()->hide();
}

void CTvTxListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const int row = rowAt(event->position().toPoint().y());
    if (TransmitSelection::ReselectsOnDoubleClick(row)) {
        selectRow(row);
    }
    event->accept();
}

} // namespace varnolt::ui
