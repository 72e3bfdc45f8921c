#pragma once

#include "core/view/StatusLamps.h"

#include <QPixmap>
#include <QStatusBar>

#include <array>
#include <memory>
#include <vector>

class QLabel;
class QProgressBar;

namespace varnolt {
class CVarnoltDoc;
} // namespace varnolt

namespace varnolt::ui {

class LampPaneWidget;
class StatusProgress;

// The main window's status bar: the message pane, the download's progress, the capture's line
// conditions and the eight line lamps. The core decides what each pane shows
// (StatusConditionsOf, LampPanesOf, LampPicturesOf); the bar only shows it. Every refresh reads
// the document anew.
class CTvStatusBar final : public QStatusBar {
    Q_OBJECT

public:
    explicit CTvStatusBar(QWidget* parent = nullptr);
    ~CTvStatusBar() override;

    // Loads the lamp pictures and builds the panes: "---" in the conditions, the progress bar
    // hidden, every lamp inactive; then shows DOCUMENT's conditions.
    void Setup(const CVarnoltDoc* document);
    // The capture's line mode, speed, data bits, parity and stop bits, and the lamp panes'
    // pictures, texts, widths and colours for its line type. Nothing without a document.
    void ShowConditions(const CVarnoltDoc* document);
    // The lamps from the document's line states; ALL_LAMPS also the control lines.
    void ShowLamps(const CVarnoltDoc* document, bool allLamps);
    // -1 hides the progress bar, 0 … 100 shows it at that value, anything else is ignored.
    void ShowProgress(int percent);
    [[nodiscard]] StatusProgress& progress() { return *progress_; }

    // The pane texts and lamp pictures as shown, for tests.
    [[nodiscard]] QString paneText(int index) const;
    [[nodiscard]] std::optional<LampPicture> lampPicture(size_t lamp) const;
    [[nodiscard]] QString lampToolTip(size_t lamp) const;
    [[nodiscard]] int lampWidth(size_t lamp) const;

signals:
    // A pane was double-clicked: its indicator id (201 … 213).
    void paneDoubleClicked(int indicatorId);

private:
    void setLampPicture(size_t lamp, LampPicture picture);

    std::array<QPixmap, kLampPictureCount> pictures_;
    QWidget* progressPane_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    std::unique_ptr<StatusProgress> progress_;
    std::vector<QLabel*> conditionPanes_;
    std::vector<LampPaneWidget*> lampPanes_;
    int32_t lineMode_ = 0;
};

} // namespace varnolt::ui
