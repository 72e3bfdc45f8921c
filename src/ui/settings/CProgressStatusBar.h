#pragma once

#include "core/settings/dialog/SettingsRemote.h"

#include <QStatusBar>

class QLabel;
class QProgressBar;

namespace varnolt::ui {

// The settings dialog's status bar: a short text in the stretching first pane and a smooth
// progress control (0 … 100) in the second.
class CProgressStatusBar final : public QStatusBar, public SettingsStatus {
    Q_OBJECT

public:
    explicit CProgressStatusBar(QWidget* parent = nullptr);

    void setText(std::string_view text) override;
    void setProgress(int percent) override;

    [[nodiscard]] QString text() const;
    [[nodiscard]] int progress() const;

private:
    QLabel* text_;
    QProgressBar* progress_;
};

} // namespace varnolt::ui
