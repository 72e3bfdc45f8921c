#pragma once

#include "core/view/ViewLayout.h"

#include <QAbstractScrollArea>

namespace varnolt {
class CVarnoltDoc;
class UserPrompt;
} // namespace varnolt

namespace varnolt::ui {

// The data view: the document's capture as lines of character cells, with the vertical scroll
// bar and the mouse wheel. The layout decides everything; this widget only shows it and turns
// Qt's events into layout requests. It receives the update codes of the commands.
class CVarnoltView final : public QAbstractScrollArea {
    Q_OBJECT

public:
    CVarnoltView(CVarnoltDoc& document, UserPrompt& prompt, QWidget* parent = nullptr);

    // A capture was created or opened: lay it out afresh and repaint.
    void initialUpdate();
    // Carries out an update code sent through the document.
    void onUpdate(int updateCode);

    // The per-user drawing options (hex view, line pattern).
    void setDrawOptions(const DrawOptions& options);
    // The control-line display flag; only a capture of record width 1 can show control lines.
    [[nodiscard]] bool controlLineView() const { return layout_.controlLines(); }
    void setControlLineView(bool shown);

    [[nodiscard]] ViewLayout& layout() { return layout_; }

signals:
    // Every update code received, after it was carried out.
    void updated(int updateCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void relayout();
    void connectAnalyzer();
    void disconnectAnalyzer();
    void updateScrollBar();
    void onScrollAction(int action);
    void scroll(ScrollRequest request, int32_t trackPosition = 0);
    [[nodiscard]] DrawingSize clientSize() const;

    CVarnoltDoc& document_;
    UserPrompt& prompt_;
    ViewLayout layout_;
    bool updatingScrollBar_ = false;
};

} // namespace varnolt::ui
