#include "ui/search/GlyphButton.h"

#include "ui/search/CellFontText.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace varnolt::ui {

namespace {

constexpr int kButtonWidth = 40;
constexpr int kButtonHeight = 25;
constexpr int kGlyphHeight = 19;
constexpr int kLabelHeight = 11;
const QPoint kLabelAt{26, 10};

QFont LabelFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(kLabelHeight);
    return font;
}

} // namespace

GlyphButton::GlyphButton(const Picture& picture, QWidget* parent)
    : QAbstractButton(parent), code_(picture.code), picture_(kButtonWidth, kButtonHeight) {
    picture_.fill(Qt::transparent);
    QPainter painter(&picture_);
    const QRect box(picture.glyphAt, QSize(kGlyphHeight, kGlyphHeight));
    painter.fillRect(box, ToQColor(picture.background));
    painter.setFont(CellFont(kGlyphHeight));
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, GlyphString(picture.code));
    if (!picture.label.isEmpty()) {
        painter.setFont(LabelFont());
        painter.drawText(QRect(kLabelAt, QSize(kButtonWidth - kLabelAt.x(), kLabelHeight + 2)),
                         Qt::AlignLeft | Qt::AlignTop, picture.label);
    }
    resize(kButtonWidth, kButtonHeight);
    setFocusPolicy(Qt::NoFocus);
}

QSize GlyphButton::sizeHint() const {
    return {kButtonWidth, kButtonHeight};
}

void GlyphButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    painter.drawPixmap(0, 0, picture_);
}

} // namespace varnolt::ui
