#include "ui/view/QtCellCanvas.h"

#include <QColor>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QRectF>

#include <algorithm>
#include <array>
#include <memory>

namespace varnolt::ui {

namespace {

QColor ToColor(Rgb rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

// Tenths of a millimetre per millimetre.
constexpr int kTenthsPerMm = 10;

// The font of SIZE device pixels in FONT's family, with its baseline centred in a box of that
// height.
void Fit(QFont& font, qreal size, qreal& baseline) {
    font.setPixelSize(std::max(1, qRound(size)));
    const QFontMetricsF metrics(font);
    baseline = (size - (metrics.ascent() + metrics.descent())) / 2 + metrics.ascent();
}

} // namespace

QtCellCanvas::QtCellCanvas(QPainter& painter) : painter_(&painter) {
}

QtCellCanvas::QtCellCanvas() = default;

void QtCellCanvas::Attach(QPainter* painter) {
    painter_ = painter;
    penSet_ = false; // a new painter starts with its own pen
}

QtCellCanvas::QtCellCanvas(QPainter& painter, qreal devicePerTenthMm)
    : painter_(&painter), scale_(devicePerTenthMm), yScale_(-devicePerTenthMm) {
}

QtCellCanvas QtCellCanvas::ForPaper(QPainter& painter, const QPaintDevice& device) {
    const int widthMm = std::max(1, device.widthMM());
    return QtCellCanvas(painter, qreal(device.width()) / (widthMm * kTenthsPerMm));
}

DrawingSize QtCellCanvas::PaperDrawingSize(const QPaintDevice& device) {
    return {device.widthMM() * kTenthsPerMm, device.heightMM() * kTenthsPerMm};
}

const QString& QtCellCanvas::GlyphText(GlyphCode code) {
    // Made once per code; drawing runs on the user-interface thread only.
    static const auto texts = std::make_unique<std::array<QString, 0x10000>>();
    QString& text = (*texts)[code];
    if (text.isNull()) {
        const char32_t character = GlyphCharacter(code);
        text = QString::fromUcs4(&character, 1);
    }
    return text;
}

QtCellCanvas::CellFace& QtCellCanvas::CellFont(int32_t height) {
    auto [it, added] = cellFonts_.try_emplace(height);
    if (added) {
        QFont font(QStringLiteral("SFgg1"));
        font.setStyleStrategy(QFont::NoFontMerging);
        Fit(font, Length(height), it->second.baseline);
        it->second.raw = QRawFont::fromFont(font);
    }
    return it->second;
}

void QtCellCanvas::UsePen(const QColor& colour) {
    if (!penSet_ || colour != penColour_) {
        painter_->setPen(colour);
        penColour_ = colour;
        penSet_ = true;
    }
}

const QtCellCanvas::SizedFont& QtCellCanvas::LabelFont(int32_t height) {
    auto [it, added] = labelFonts_.try_emplace(height);
    if (added) {
        QFont font;
        font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                          QStringLiteral("Noto Sans Mono CJK JP"),
                          QStringLiteral("DejaVu Sans Mono")});
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
        Fit(font, Length(height), it->second.baseline);
        // Half-width characters half as wide as they are high, as the layout's label columns
        // expect ("0000001" fits left of the row labels).
        const qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
        if (advance > 0) {
            font.setStretch(std::clamp(qRound(100 * Length(height) / 2 / advance), 50, 200));
        }
        it->second.font = font;
        it->second.metrics = QFontMetricsF(font);
    }
    return it->second;
}

void QtCellCanvas::DrawGlyph(CanvasPoint at, int32_t height, Rgb text, Rgb background,
                             GlyphCode code) {
    const qreal size = Length(height);
    const QPointF topLeft = Map(at);
    // A cell glyph is one em wide and one em high.
    painter_->fillRect(QRectF(topLeft, QSizeF(size, size)), ToColor(background));
    if (text == background) {
        return;
    }
    CellFace& face = CellFont(height);
    auto [glyph, added] = face.glyphs.try_emplace(code, 0);
    if (added) {
        const QList<quint32> indexes = face.raw.glyphIndexesForString(GlyphText(code));
        glyph->second = indexes.isEmpty() ? 0 : indexes.front();
    }
    QGlyphRun run;
    run.setRawFont(face.raw);
    run.setGlyphIndexes({glyph->second});
    run.setPositions({QPointF(0, 0)});
    UsePen(ToColor(text));
    painter_->drawGlyphRun(QPointF(topLeft.x(), topLeft.y() + face.baseline), run);
}

void QtCellCanvas::DrawLabel(CanvasPoint at, int32_t height, Rgb text, Rgb background,
                             std::string_view utf8) {
    const SizedFont& font = LabelFont(height);
    const QString label = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    const QPointF topLeft = Map(at);
    const qreal width = font.metrics.horizontalAdvance(label);
    painter_->fillRect(QRectF(topLeft, QSizeF(width, Length(height))), ToColor(background));
    painter_->setFont(font.font);
    UsePen(ToColor(text));
    painter_->drawText(QPointF(topLeft.x(), topLeft.y() + font.baseline), label);
}

void QtCellCanvas::DrawLine(CanvasPoint from, CanvasPoint to, Rgb colour, int32_t width) {
    QPen pen(ToColor(colour));
    pen.setWidthF(std::max<qreal>(1, Length(width)));
    pen.setCapStyle(Qt::FlatCap);
    painter_->setPen(pen);
    penSet_ = false;
    painter_->drawLine(Map(from), Map(to));
}

void QtCellCanvas::DrawRect(CanvasPoint corner, CanvasPoint opposite, Rgb fill, Rgb outline) {
    const QPointF a = Map(corner);
    const QPointF b = Map(opposite);
    const QRectF rect(QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                      QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
    const qreal pen = std::max<qreal>(1, scale_);
    painter_->fillRect(rect, ToColor(outline));
    if (fill != outline && rect.width() > 2 * pen && rect.height() > 2 * pen) {
        painter_->fillRect(rect.adjusted(pen, pen, -pen, -pen), ToColor(fill));
    }
}

} // namespace varnolt::ui
