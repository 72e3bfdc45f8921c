#pragma once

#include <QDockWidget>

#include <vector>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace varnolt {
class CSaParameter;
struct StatusBlock;
} // namespace varnolt

namespace varnolt::ui {

// The dockable pane "タイマー・カウンタ ビュー": a two-column property grid of the analyzer's
// timers and counters (set and current values), received-character counts, error counts and
// trigger counts, with the selected item's description below it. It only displays: the main
// frame hands it the document's settings and status block before every refresh.
class CDockDeviceView final : public QDockWidget {
    Q_OBJECT

public:
    explicit CDockDeviceView(QWidget* parent = nullptr);

    // Where the values come from; both must outlive the pane or be set again.
    void setSources(const CSaParameter* settings, const StatusBlock* status);
    // Writes the current numbers into the grid.
    void Refresh();

    [[nodiscard]] QTreeWidget& grid() { return *grid_; }

private:
    void Build();
    void ShowDescription(QTreeWidgetItem* item);

    QTreeWidget* grid_ = nullptr;
    QLabel* description_ = nullptr;
    std::vector<QTreeWidgetItem*> valueItems_; // in the order of DevicePaneValues
    const CSaParameter* settings_ = nullptr;
    const StatusBlock* status_ = nullptr;
};

} // namespace varnolt::ui
