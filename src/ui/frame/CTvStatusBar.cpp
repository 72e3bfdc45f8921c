#include "ui/frame/CTvStatusBar.h"

#include "core/capture/CCaptureData.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/view/StatusConditions.h"
#include "ui/frame/StatusBarPanes.h"
#include "ui/frame/StatusProgress.h"
#include "ui/platform/QtText.h"

#include <QBitmap>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>

#include <functional>

namespace varnolt::ui {

namespace {

// Index of the first conditions pane and of the SD lamp in StatusBarPanes().
constexpr size_t kFirstConditionPane = 1;
constexpr size_t kFirstLampPane = 6;
constexpr size_t kConditionPaneCount = 5;

constexpr const char* kPictureFiles[kLampPictureCount] = {
    ":/lamps/lamp_inactive.png",        ":/lamps/lamp_send_on.png",
    ":/lamps/lamp_send_off.png",        ":/lamps/lamp_send_unknown.png",
    ":/lamps/lamp_receive_on.png",      ":/lamps/lamp_receive_off.png",
    ":/lamps/lamp_receive_unknown.png", ":/lamps/lamp_blank.png",
};

// The picture with its magenta pixels transparent.
QPixmap LoadLampPicture(const char* file) {
    QPixmap picture(file);
    if (!picture.isNull()) {
        picture.setMask(picture.createMaskFromColor(QColor(255, 0, 255), Qt::MaskInColor));
    }
    return picture;
}

QColor ToQColor(Rgb colour) {
    return {colour.red, colour.green, colour.blue};
}

void SetBackground(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace

// One lamp pane: the lamp picture and the line's name; a double-click is reported.
class LampPaneWidget final : public QFrame {
public:
    LampPaneWidget(int indicatorId, std::function<void(int)> onDoubleClick, QWidget* parent)
        : QFrame(parent), indicatorId_(indicatorId), onDoubleClick_(std::move(onDoubleClick)) {
        setObjectName(QString("pane%1").arg(indicatorId));
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(1, 0, 1, 0);
        row->setSpacing(1);
        picture_ = new QLabel(this);
        picture_->setFixedSize(15, 15);
        text_ = new QLabel(this);
        row->addWidget(picture_);
        row->addWidget(text_);
        row->addStretch();
    }

    void showLamp(LampPicture picture, const QPixmap& pixmap, const QString& toolTip) {
        shown_ = picture;
        // A measurement refreshes the lamps after every block, a hundred times a second: only a
        // lamp that changes is laid out and drawn again.
        if (pixmap.cacheKey() == shownKey_ && toolTip == this->toolTip()) {
            return;
        }
        shownKey_ = pixmap.cacheKey();
        picture_->setPixmap(pixmap);
        picture_->setFixedWidth(pixmap.width());
        setToolTip(toolTip);
    }
    void setText(const QString& text) { text_->setText(text); }
    [[nodiscard]] LampPicture picture() const { return shown_; }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        onDoubleClick_(indicatorId_);
        event->accept();
    }

private:
    int indicatorId_;
    std::function<void(int)> onDoubleClick_;
    QLabel* picture_ = nullptr;
    QLabel* text_ = nullptr;
    LampPicture shown_ = LampPicture::Inactive;
    qint64 shownKey_ = 0; // the picture shown, none at first
};

CTvStatusBar::CTvStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName("CTvStatusBar");
}

CTvStatusBar::~CTvStatusBar() = default;

void CTvStatusBar::Setup(const CVarnoltDoc* document) {
    for (size_t k = 0; k < kLampPictureCount; ++k) {
        pictures_[k] = LoadLampPicture(kPictureFiles[k]);
    }
    showMessage("レディ");
    const QColor menu = palette().color(QPalette::Window);
    const auto panes = StatusBarPanes();

    progressPane_ = new QWidget(this);
    progressPane_->setObjectName("pane201");
    progressPane_->setFixedWidth(panes[0].width);
    SetBackground(*progressPane_, menu);
    auto* progressRow = new QHBoxLayout(progressPane_);
    progressRow->setContentsMargins(0, 0, 0, 0);
    progressBar_ = new QProgressBar(progressPane_);
    progressBar_->setRange(0, 100);
    progressBar_->setMaximumHeight(16);
    progressBar_->hide();
    progressRow->addWidget(progressBar_);
    addPermanentWidget(progressPane_);
    progress_ = std::make_unique<StatusProgress>(*progressBar_);

    for (size_t k = kFirstConditionPane; k < kFirstLampPane; ++k) {
        auto* label = new QLabel(ToQString(panes[k].text), this);
        label->setObjectName(QString("pane%1").arg(panes[k].id));
        label->setAlignment(Qt::AlignCenter);
        // The given width, or more where a Japanese text needs it: nothing is clipped.
        label->setMinimumWidth(panes[k].width);
        SetBackground(*label, menu);
        addPermanentWidget(label);
        conditionPanes_.push_back(label);
    }
    for (size_t k = kFirstLampPane; k < panes.size(); ++k) {
        auto* lamp = new LampPaneWidget(
            panes[k].id, [this](int id) { emit paneDoubleClicked(id); }, this);
        lamp->setText(ToQString(panes[k].text));
        lamp->setFixedWidth(panes[k].width);
        SetBackground(*lamp, menu);
        addPermanentWidget(lamp);
        lampPanes_.push_back(lamp);
        setLampPicture(lampPanes_.size() - 1, LampPicture::Inactive);
    }
    ShowConditions(document);
}

void CTvStatusBar::setLampPicture(size_t lamp, LampPicture picture) {
    lampPanes_[lamp]->showLamp(
        picture, pictures_[static_cast<size_t>(picture)],
        ToQString(LampToolTip(lamp, picture, IsToggledLamp(lineMode_, lamp))));
}

void CTvStatusBar::ShowConditions(const CVarnoltDoc* document) {
    if (document == nullptr || conditionPanes_.empty()) {
        return;
    }
    const CaptureHeader& header = document->capture().header();
    const StatusConditionTexts texts = StatusConditionsOf(header);
    const std::optional<std::string>* conditions[kConditionPaneCount] = {
        &texts.lineMode, &texts.speed, &texts.dataBits, &texts.parity, &texts.stopBits};
    for (size_t k = 0; k < kConditionPaneCount; ++k) {
        if (*conditions[k]) {
            conditionPanes_[k]->setText(ToQString(**conditions[k]));
        }
    }
    const auto lamps = LampPanesOf(header.lineMode, document->connected());
    if (!lamps) {
        return;
    }
    lineMode_ = header.lineMode;
    const QColor menu = palette().color(QPalette::Window);
    for (size_t lamp = 0; lamp < kLampCount; ++lamp) {
        const LampPane& pane = (*lamps)[lamp];
        LampPaneWidget* widget = lampPanes_[lamp];
        widget->setText(ToQString(pane.text));
        widget->setFixedWidth(pane.width);
        widget->setVisible(pane.width > 0);
        SetBackground(*widget, pane.background == LampBackground::Send ? ToQColor(kSendSideColour)
                               : pane.background == LampBackground::Receive
                                   ? ToQColor(kReceiveSideColour)
                                   : menu);
        setLampPicture(lamp, pane.picture);
    }
}

void CTvStatusBar::ShowLamps(const CVarnoltDoc* document, bool allLamps) {
    if (document == nullptr || lampPanes_.empty()) {
        return;
    }
    const int32_t lineMode = document->capture().header().lineMode;
    const auto pictures =
        LampPicturesOf(lineMode, document->connected(), document->lineStates(), allLamps);
    for (size_t lamp = 0; lamp < kLampCount; ++lamp) {
        if (pictures[lamp]) {
            setLampPicture(lamp, *pictures[lamp]);
        }
    }
}

void CTvStatusBar::ShowProgress(int percent) {
    progress_->ShowProgress(percent);
}

QString CTvStatusBar::paneText(int index) const {
    if (index >= 1 && index <= static_cast<int>(conditionPanes_.size())) {
        return conditionPanes_[static_cast<size_t>(index - 1)]->text();
    }
    return {};
}

std::optional<LampPicture> CTvStatusBar::lampPicture(size_t lamp) const {
    if (lamp >= lampPanes_.size()) {
        return std::nullopt;
    }
    return lampPanes_[lamp]->picture();
}

QString CTvStatusBar::lampToolTip(size_t lamp) const {
    return lamp < lampPanes_.size() ? lampPanes_[lamp]->toolTip() : QString();
}

int CTvStatusBar::lampWidth(size_t lamp) const {
    return lamp < lampPanes_.size() && lampPanes_[lamp]->isVisibleTo(this)
               ? lampPanes_[lamp]->width()
               : 0;
}

} // namespace varnolt::ui
