#pragma once

#include "core/shell/ToolbarLayout.h"

#include <QDialog>

#include <functional>

class QAction;
class QListWidget;
class QPushButton;

namespace varnolt::ui {

// The toolbar's customize dialog (command 135): the commands not on the toolbar on the left,
// the toolbar's buttons in order on the right; buttons add, remove, move, add a separator and
// give back the program's order. The edits are ToolbarLayout's; the frame applies the result
// after OK.
class ToolbarCustomizeDialog final : public QDialog {
    Q_OBJECT

public:
    using ActionOf = std::function<QAction*(CommandId)>;

    ToolbarCustomizeDialog(const ToolbarLayout& layout, ActionOf actionOf,
                           QWidget* parent = nullptr);

    [[nodiscard]] const ToolbarLayout& layout() const { return layout_; }
    [[nodiscard]] QListWidget* availableList() const { return available_; }
    [[nodiscard]] QListWidget* toolbarList() const { return buttons_; }

private:
    void AddSelected();
    void AddSeparator();
    void RemoveSelected();
    void MoveSelected(bool up);
    void ResetButtons();
    // Shows the layout, the toolbar row ROW selected.
    void ShowLayout(int row);
    void EnableButtons();

    ToolbarLayout layout_;
    ActionOf actionOf_;
    QListWidget* available_ = nullptr;
    QListWidget* buttons_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* upButton_ = nullptr;
    QPushButton* downButton_ = nullptr;
};

} // namespace varnolt::ui
