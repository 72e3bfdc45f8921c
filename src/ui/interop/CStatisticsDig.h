#pragma once

#include "core/interop/CaptureStatistics.h"

#include <QDialog>

class QTreeWidget;
class QChartView;

namespace varnolt {
class CVarnoltDoc;
}

namespace varnolt::ui {

// The dialog "統計情報": the capture's numbers (StatisticsRows) beside two histograms by decade,
// of the idle gaps and of the response times in both directions.
class CStatisticsDig final : public QDialog {
    Q_OBJECT

public:
    explicit CStatisticsDig(const CaptureStatistics& stats, QWidget* parent = nullptr);

    [[nodiscard]] QTreeWidget* table() const { return table_; }

private:
    QTreeWidget* table_ = nullptr;
};

// The "統計情報" command: computes the statistics of DOCUMENT's capture (placed in time from the
// capture file's modification time when its stamps leave the clock open) and shows them.
void ShowStatistics(const CVarnoltDoc& document, QWidget* parent);

} // namespace varnolt::ui
