#pragma once

#include "core/link/reception/ReceptionView.h"
#include "core/view/ViewLayout.h"
#include "core/view/ViewSearch.h"
#include "ui/view/QtCellCanvas.h"

#include <QAbstractScrollArea>
#include <QImage>

namespace varnolt {
class AnalyzerSession;
class CVarnoltDoc;
class UserPrompt;
} // namespace varnolt

namespace varnolt::ui {

// The data view: the document's capture as lines of character cells, with the vertical scroll
// bar and the mouse wheel. The layout decides everything; this widget only shows it and turns
// Qt's events into layout requests, and marks search hits. It draws what the measurement
// session reports (it is the session's ReceptionView); the frame runs every command. While a
// measurement runs, the page lives in an image that each received block is drawn into.
class CVarnoltView final : public QAbstractScrollArea, private ReceptionView {
    Q_OBJECT

public:
    CVarnoltView(CVarnoltDoc& document, UserPrompt& prompt, QWidget* parent = nullptr);
    ~CVarnoltView() override;

    // A capture was created or opened: lay it out afresh and repaint.
    void InitialUpdate();
    // The display options or the capture's conditions changed: lay the capture out again.
    void Relayout();
    // The analyzer was let go: the capture can be scrolled again.
    void OnDisconnected();
    // The search commands on the criteria set last: the hit brought into view and marked in
    // the next paint. Nothing without a capture or during a measurement.
    void setSearchCriteria(const SearchCriteria& criteria);
    void Find(SearchCommand command);

    // The per-user drawing options (hex view, line pattern).
    void setDrawOptions(const DrawOptions& options);
    // The control-line display flag; only a capture of record width 1 can show control lines.
    [[nodiscard]] bool controlLineView() const { return layout_.controlLines(); }
    void setControlLineView(bool shown);
    // The measurement session whose live position the live page follows.
    void setSession(const AnalyzerSession* session) { session_ = session; }
    // What the session reports to: the records to draw, the lamps, the panes, the layout.
    [[nodiscard]] ReceptionView& receptionView() { return *this; }

    [[nodiscard]] ViewLayout& layout() { return layout_; }
    [[nodiscard]] const ViewSearch& search() const { return search_; }

signals:
    // The capture was laid out again (Relayout).
    void laidOut();
    // The status bar's conditions and lamps (and the panes) should be shown afresh.
    void statusChanged(bool allLamps);
    // Only the line lamps: all eight with ALL_LAMPS, else SD and RD.
    void lampsChanged(bool allLamps);
    // Only the device status pane, after a status answer during a measurement.
    void devicePaneChanged();
    // Reception has something to tell the user that must not hold up the poll.
    void noticeRaised(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // ReceptionView
    void DrawReceived(RingIndex first, bool restart) override;
    void DrawOverflow(RingIndex first) override;
    void DrawLiveIdle(RingIndex nextToDraw, uint32_t idleValue) override;
    void RefreshLineLamps(bool allLamps) override;
    void RefreshStatusAndPanes() override;
    void RefreshDevicePane() override;
    void OnMeasurementStarted(bool running) override;
    void OnMeasurementStopped() override;
    void OnDownloadEnded() override;
    void ShowNotice(std::string_view text) override;

    [[nodiscard]] bool measuring() const;
    void UpdateScrollBar();
    void OnScrollAction(int action);
    void Scroll(ScrollRequest request, int32_t trackPosition = 0);
    // Lays the document's capture out afresh; the search starts again from the oldest record.
    void ResetLayout();
    // The live page image at the viewport's size: blank with its grid when FRESH; laid out
    // again with the newest records when its size changed.
    void PrepareLivePage(bool fresh);
    [[nodiscard]] DrawingSize clientSize() const;

    CVarnoltDoc& document_;
    UserPrompt& prompt_;
    ViewLayout layout_;
    const AnalyzerSession* session_ = nullptr;
    QImage livePage_;
    // One canvas for every drawing of the view, so its fonts are made once.
    QtCellCanvas canvas_;
    bool updatingScrollBar_ = false;
    // Wheel angle not yet turned into lines: high-resolution wheels and touchpads send
    // fractions of a notch.
    int wheelAngle_ = 0;
    ViewSearch search_;
    // The search holds the years of the capture's stamps without year digits (found at the
    // first date search after a capture was laid out).
    bool stampYearsKnown_ = false;
    bool markHit_ = false; // the next paint shows the search hit
};

} // namespace varnolt::ui
