#include "ui/view/CVarnoltView.h"

#include "core/capture/CCaptureData.h"
#include "core/interop/StampYearsOfCapture.h"
#include "core/shell/AnalyzerSession.h"
#include "core/shell/CVarnoltDoc.h"
#include "ui/platform/QtText.h"
#include "ui/view/QtCellCanvas.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace varnolt::ui {

namespace {

constexpr int kWheelNotch = 120;

// The current time (UTC) as the search's date-time bounds start.
CalendarTime CurrentUtcTime() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto field = [](int value) { return static_cast<int16_t>(value); };
    return {field(now.date().year()),          field(now.date().month()),
            field(now.date().dayOfWeek() % 7), field(now.date().day()),
            field(now.time().hour()),          field(now.time().minute()),
            field(now.time().second()),        field(now.time().msec())};
}

} // namespace

CVarnoltView::CVarnoltView(CVarnoltDoc& document, UserPrompt& prompt, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document), prompt_(prompt),
      search_(SearchCriteria::At(CurrentUtcTime())) {
    setObjectName("CVarnoltView");
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(true);
    QPalette colours = viewport()->palette();
    colours.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(colours);
    setFocusPolicy(Qt::StrongFocus);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &CVarnoltView::OnScrollAction);
}

CVarnoltView::~CVarnoltView() = default;

DrawingSize CVarnoltView::clientSize() const {
    return {viewport()->width(), viewport()->height()};
}

void CVarnoltView::ResetLayout() {
    document_.PublishDisplaySettings();
    layout_.ResetLayout(document_.capture(), document_.displayState(), clientSize());
    search_.Reset();
    stampYearsKnown_ = false;
    markHit_ = false;
}

void CVarnoltView::InitialUpdate() {
    // However the capture came (a file dialog, the recent-file list, a drop), its keys work at
    // once.
    setFocus();
    ResetLayout();
    UpdateScrollBar();
    viewport()->update();
}

bool CVarnoltView::measuring() const {
    return document_.measuring();
}

void CVarnoltView::PrepareLivePage(bool fresh) {
    const qreal ratio = viewport()->devicePixelRatioF();
    const QSize size = viewport()->size() * ratio;
    if (!fresh && livePage_.size() == size) {
        return;
    }
    livePage_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    livePage_.setDevicePixelRatio(ratio);
    livePage_.fill(Qt::white);
    QPainter painter(&livePage_);
    const QtCellCanvas::Painting painting(canvas_, painter);
    if (fresh || session_ == nullptr) {
        layout_.DrawGrid(canvas_);
        return;
    }
    // The page has a new size: what it shows is laid out again.
    layout_.RelayoutLive(canvas_, document_.capture(), session_->nextToDraw());
}

void CVarnoltView::DrawReceived(RingIndex first, bool restart) {
    PrepareLivePage(false);
    QPainter painter(&livePage_);
    const QtCellCanvas::Painting painting(canvas_, painter);
    layout_.DrawReceived(canvas_, document_.capture(), first, restart);
    viewport()->update();
}

void CVarnoltView::DrawOverflow(RingIndex first) {
    PrepareLivePage(false);
    QPainter painter(&livePage_);
    const QtCellCanvas::Painting painting(canvas_, painter);
    layout_.DrawAfterOverflow(canvas_, document_.capture(), first);
    viewport()->update();
}

void CVarnoltView::DrawLiveIdle(RingIndex nextToDraw, uint32_t idleValue) {
    PrepareLivePage(false);
    QPainter painter(&livePage_);
    const QtCellCanvas::Painting painting(canvas_, painter);
    layout_.DrawLiveIdle(canvas_, document_.capture(), nextToDraw, document_.settings().idleDisplay,
                         idleValue);
    viewport()->update();
}

void CVarnoltView::RefreshLineLamps(bool allLamps) {
    emit lampsChanged(allLamps);
}

void CVarnoltView::RefreshStatusAndPanes() {
    emit statusChanged(true);
}

void CVarnoltView::RefreshDevicePane() {
    emit devicePaneChanged();
}

void CVarnoltView::OnMeasurementStarted(bool running) {
    ResetLayout();
    UpdateScrollBar();
    verticalScrollBar()->setEnabled(!running);
    PrepareLivePage(true);
    viewport()->update();
}

void CVarnoltView::OnMeasurementStopped() {
    livePage_ = QImage();
    layout_.CountFrameLines(document_.capture());
    UpdateScrollBar();
    verticalScrollBar()->setEnabled(true);
    viewport()->update();
}

void CVarnoltView::OnDownloadEnded() {
    ResetLayout();
    layout_.setTopRecord(document_.capture().firstIndex());
    UpdateScrollBar();
    viewport()->update();
}

void CVarnoltView::ShowNotice(std::string_view text) {
    emit noticeRaised(ToQString(text));
}

void CVarnoltView::OnDisconnected() {
    verticalScrollBar()->setEnabled(true);
}

void CVarnoltView::Relayout() {
    emit laidOut();
    if (measuring()) {
        // During a measurement only the geometry changes, and the live page is drawn again with
        // it and with the current glyphs, even when its size stayed the same.
        layout_.SetClientSize(clientSize());
        livePage_ = QImage();
        PrepareLivePage(false);
        viewport()->update();
        return;
    }
    document_.PublishDisplaySettings();
    layout_.Relayout(document_.capture(), document_.displayState(), clientSize());
    UpdateScrollBar();
    viewport()->update();
}

void CVarnoltView::setDrawOptions(const DrawOptions& options) {
    layout_.setOptions(options);
}

void CVarnoltView::setControlLineView(bool shown) {
    layout_.setControlLines(shown && document_.capture().header().recordWidth == 1);
}

void CVarnoltView::UpdateScrollBar() {
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

void CVarnoltView::OnScrollAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        Scroll(ScrollRequest::LineUp);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        Scroll(ScrollRequest::LineDown);
        break;
    case QAbstractSlider::SliderPageStepSub:
        Scroll(ScrollRequest::PageUp);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        Scroll(ScrollRequest::PageDown);
        break;
    case QAbstractSlider::SliderToMinimum:
        Scroll(ScrollRequest::Top);
        break;
    case QAbstractSlider::SliderToMaximum:
        Scroll(ScrollRequest::Bottom);
        break;
    case QAbstractSlider::SliderMove:
        Scroll(ScrollRequest::Track, verticalScrollBar()->sliderPosition());
        break;
    default:
        break;
    }
}

void CVarnoltView::Scroll(ScrollRequest request, int32_t trackPosition) {
    if (measuring()) {
        return;
    }
    if (layout_.Scroll(document_.capture(), request, trackPosition)) {
        viewport()->update();
    }
    // The next find continues from the top of the page.
    search_.ScrolledTo(layout_.topRecord());
    // The layout decides the position; the slider follows it, not the other way round.
    QMetaObject::invokeMethod(this, &CVarnoltView::UpdateScrollBar, Qt::QueuedConnection);
}

void CVarnoltView::scrollContentsBy(int /*dx*/, int /*dy*/) {
    // Scrolling is carried out through the layout in OnScrollAction; nothing to move here.
}

void CVarnoltView::wheelEvent(QWheelEvent* event) {
    if (measuring()) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // A notch is 120; smaller steps add up until they make one. Away from the user scrolls up.
    wheelAngle_ += event->angleDelta().y();
    const int steps = wheelAngle_ / kWheelNotch;
    wheelAngle_ -= steps * kWheelNotch;
    for (int i = 0; i < std::abs(steps); ++i) {
        Scroll(steps > 0 ? ScrollRequest::LineUp : ScrollRequest::LineDown);
    }
    event->accept();
}

void CVarnoltView::keyPressEvent(QKeyEvent* event) {
    // Home and End, with or without Ctrl, go to the oldest and the newest records.
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Home || event->key() == Qt::Key_End) &&
        (modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier)) {
        Scroll(event->key() == Qt::Key_Home ? ScrollRequest::Top : ScrollRequest::Bottom);
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CVarnoltView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    layout_.SetClientSize(clientSize());
    if (measuring()) {
        livePage_ = QImage();
        PrepareLivePage(false);
        return;
    }
    layout_.Resize(document_.capture(), clientSize());
    UpdateScrollBar();
}

void CVarnoltView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    if (measuring() && !livePage_.isNull()) {
        painter.drawImage(0, 0, livePage_);
        return;
    }
    painter.fillRect(viewport()->rect(), Qt::white);
    const QtCellCanvas::Painting painting(canvas_, painter);
    // The hit is marked in the paint after the search only.
    layout_.Paint(canvas_, document_.capture(), markHit_ ? &search_.hit() : nullptr);
    markHit_ = false;
}

void CVarnoltView::setSearchCriteria(const SearchCriteria& criteria) {
    search_.setCriteria(criteria);
}

void CVarnoltView::Find(SearchCommand command) {
    if (!document_.holdsCapture() || measuring()) {
        return;
    }
    if (search_.criteria().kind == kSearchDateTime && !stampYearsKnown_) {
        // Stamps without year digits compare in the year the statistics and exports give them.
        search_.setStampYears(
            StampYearsOf(document_.capture(), TimeBase::ForFile(document_.pathName())));
        stampYearsKnown_ = true;
    }
    const auto hit = search_.Run(document_.capture(), command, prompt_);
    if (!hit) {
        return;
    }
    layout_.BringHitIntoView(document_.capture(), *hit, command);
    UpdateScrollBar();
    markHit_ = true;
    viewport()->update();
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
