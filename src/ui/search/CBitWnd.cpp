#include "ui/search/CBitWnd.h"

#include "core/view/DataInputModel.h"
#include "ui/platform/QtText.h"
#include "ui/search/CellFontText.h"

#include <QPainter>
#include <QPushButton>

namespace varnolt::ui {

namespace {

constexpr int kBitsPerMask = 8;
constexpr int kBitSize = 20;
constexpr int kRowPitch = 25;
constexpr int kFirstRowY = 15;
constexpr int kFirstBitId = 1440;
// Where the window sits on its page: the first bit column.
constexpr int kLeft = 130;

} // namespace

CBitWnd::CBitWnd(DataInputModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName("CBitWnd");
    setGeometry(kLeft, 0, kBitsPerMask * kBitSize, kFirstRowY + 4 * kRowPitch);
    const QFont captions = UiGothicFont(16);
    for (int mask = 0; mask < 4; ++mask) {
        for (int b = 0; b < kBitsPerMask; ++b) {
            auto* button = new QPushButton(this);
            const int id = kFirstBitId + kBitsPerMask * mask + b;
            button->setObjectName(QString::number(id));
            button->setFont(captions);
            button->setFocusPolicy(Qt::NoFocus);
            button->setGeometry(kBitSize * b, kFirstRowY + kRowPitch * mask, kBitSize, kBitSize);
            connect(button, &QPushButton::clicked, this, [this, mask, b] {
                model_.cycleBit(mask, b);
                Refresh();
            });
            buttons_[static_cast<size_t>(kBitsPerMask * mask + b)] = button;
        }
    }
    Refresh();
}

void CBitWnd::Refresh() {
    for (int mask = 0; mask < 4; ++mask) {
        for (int b = 0; b < kBitsPerMask; ++b) {
            buttons_[static_cast<size_t>(kBitsPerMask * mask + b)]->setText(
                ToQString(model_.bitCaption(mask, b)));
        }
    }
}

void CBitWnd::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setFont(UiGothicFont(12));
    painter.setPen(palette().color(QPalette::WindowText));
    // "H" over bit 7, "L" over bit 0.
    painter.drawText(QRect(6, 0, kBitSize, 14), Qt::AlignLeft | Qt::AlignTop, "H");
    painter.drawText(QRect(146, 0, kBitSize, 14), Qt::AlignLeft | Qt::AlignTop, "L");
}

} // namespace varnolt::ui
