#include "ui/settings/GlyphField.h"

#include "ui/search/CellFontText.h"

#include <QMouseEvent>

namespace varnolt::ui {

GlyphField::GlyphField(int glyphs, int pixelHeight, QWidget* parent) : QLabel(parent) {
    setFont(CellFont(pixelHeight));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setMargin(2);
    // Each glyph is one em wide: the field's size follows from the font height.
    setMinimumSize(glyphs * pixelHeight + 2 * (margin() + frameWidth()) + 2,
                   pixelHeight + 2 * (margin() + frameWidth()) + 4);
    setCursor(Qt::PointingHandCursor);
}

void GlyphField::ShowPattern(std::span<const PatternElement> elements) {
    setText(PatternGlyphString(elements));
}

void GlyphField::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace varnolt::ui
