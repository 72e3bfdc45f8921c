#pragma once

#include "core/shell/PendingSaves.h"

class QWidget;

namespace varnolt::ui {

// The main window's side of settling the saves at close: a progress dialog while the files are
// written (its button gives up those still waiting) and the folder dialog.
class SaveSettlingWindow final : public SaveSettling {
public:
    explicit SaveSettlingWindow(QWidget* parent) : parent_(parent) {}

    void WaitForSaves(CaptureSaver& saver) override;
    [[nodiscard]] std::optional<std::filesystem::path> ChooseFolder() override;

private:
    QWidget* parent_;
};

} // namespace varnolt::ui
