#include "ui/view/CVarnoltView.h"

#include "core/capture/CCaptureData.h"
#include "core/link/AnalyzerConnection.h"
#include "core/link/CMoniterComm.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/shell/Commands.h"
#include "ui/view/QtCellCanvas.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace varnolt::ui {

CVarnoltView::CVarnoltView(CVarnoltDoc& document, UserPrompt& prompt, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document), prompt_(prompt) {
    setObjectName("CVarnoltView");
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(true);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(colours);
    setFocusPolicy(Qt::StrongFocus);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &CVarnoltView::onScrollAction);
}

DrawingSize CVarnoltView::clientSize() const {
    return {viewport()->width(), viewport()->height()};
}

void CVarnoltView::initialUpdate() {
    document_.PublishDisplaySettings();
    layout_.ResetLayout(document_.capture(), document_.displayState(), clientSize());
    updateScrollBar();
    viewport()->update();
}

void CVarnoltView::relayout() {
    document_.PublishDisplaySettings();
    layout_.Relayout(document_.capture(), document_.displayState(), clientSize());
    updateScrollBar();
    viewport()->update();
}

void CVarnoltView::connectAnalyzer() {
    CMoniterComm* link = document_.link();
    if (link == nullptr) {
        return;
    }
    if (ConnectAnalyzer(*link, prompt_) == ConnectResult::Connected) {
        document_.setHoldsCapture(true);
    }
    // Whatever the outcome, files can no longer be dropped on the window.
    window()->setAcceptDrops(false);
}

void CVarnoltView::disconnectAnalyzer() {
    CMoniterComm* link = document_.link();
    if (link == nullptr) {
        return;
    }
    if (DisconnectAnalyzer(*link, prompt_) == DisconnectResult::Disconnected) {
        verticalScrollBar()->setEnabled(true);
    }
    window()->setAcceptDrops(true);
}

void CVarnoltView::setDrawOptions(const DrawOptions& options) {
    layout_.setOptions(options);
}

void CVarnoltView::setControlLineView(bool shown) {
    layout_.setControlLines(shown && document_.capture().header().recordWidth == 1);
}

void CVarnoltView::onUpdate(int updateCode) {
    switch (updateCode) {
    case kUpdateRelayout:
        relayout();
        break;
    case kUpdateConnect:
        connectAnalyzer();
        break;
    case kUpdateDisconnect:
        disconnectAnalyzer();
        break;
    default:
        break;
    }
    emit updated(updateCode);
}

void CVarnoltView::updateScrollBar() {
    const ScrollBarState state = layout_.UpdateScrollInfo(document_.capture());
    QScrollBar* bar = verticalScrollBar();
    updatingScrollBar_ = true;
    // A page of PAGE lines can start at 0 … maximum - page + 1.
    bar->setRange(0, std::max(0, state.maximum - state.page + 1));
    bar->setPageStep(std::max(1, state.page));
    bar->setSingleStep(1);
    bar->setValue(state.position);
    updatingScrollBar_ = false;
}

void CVarnoltView::onScrollAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        scroll(ScrollRequest::LineUp);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        scroll(ScrollRequest::LineDown);
        break;
    case QAbstractSlider::SliderPageStepSub:
        scroll(ScrollRequest::PageUp);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        scroll(ScrollRequest::PageDown);
        break;
    case QAbstractSlider::SliderToMinimum:
        scroll(ScrollRequest::Top);
        break;
    case QAbstractSlider::SliderToMaximum:
        scroll(ScrollRequest::Bottom);
        break;
    case QAbstractSlider::SliderMove:
        scroll(ScrollRequest::Track, verticalScrollBar()->sliderPosition());
        break;
    default:
        break;
    }
}

void CVarnoltView::scroll(ScrollRequest request, int32_t trackPosition) {
    if (layout_.Scroll(document_.capture(), request, trackPosition)) {
        viewport()->update();
    }
    // The layout decides the position; the slider follows it, not the other way round.
    QMetaObject::invokeMethod(this, &CVarnoltView::updateScrollBar, Qt::QueuedConnection);
}

void CVarnoltView::scrollContentsBy(int /*dx*/, int /*dy*/) {
    // Scrolling is carried out through the layout in onScrollAction; nothing to move here.
}

void CVarnoltView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) {
        event->accept();
        return;
    }
    // Each notch is one line; away from the user scrolls up.
    for (int i = 0; i < std::abs(steps); ++i) {
        scroll(steps > 0 ? ScrollRequest::LineUp : ScrollRequest::LineDown);
    }
    event->accept();
}

void CVarnoltView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    layout_.SetClientSize(clientSize());
    layout_.CountFrameLines(document_.capture());
    updateScrollBar();
}

void CVarnoltView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    QtCellCanvas canvas(painter);
    layout_.Paint(canvas, document_.capture());
}

void CVarnoltView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu("編集", this);
    // Cut, copy and paste exist on the menu, but nothing in the data view handles them.
    for (const char* text :
         {"切り取り(&T)\tCtrl+X", "コピー(&C)\tCtrl+C", "貼り付け(&P)\tCtrl+V"}) {
        menu.addAction(text)->setEnabled(false);
    }
    menu.exec(event->globalPos());
}

} // namespace varnolt::ui
