#pragma once

#include "core/view/CellCanvas.h"
#include "core/view/PageGeometry.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPointF>
#include <QRawFont>
#include <QString>

#include <map>
#include <unordered_map>
#include <utility>

class QPainter;
class QPaintDevice;

namespace varnolt::ui {

// The data view's drawing on a QPainter: the view's widget or a QImage in pixels with y down,
// or a printer or print-preview page in 0.1 mm with y up. Glyph codes are decoded with the code
// page 932 decoder (GlyphCharacter) and drawn in the cell font family "SFgg1" (registered by
// InitResources); labels use a fixed-pitch face.
class QtCellCanvas final : public CellCanvas {
public:
    // Pixels, y down.
    explicit QtCellCanvas(QPainter& painter);
    // Pixels, y down, for drawing with one painter after another: the view keeps one canvas,
    // and with it its fonts, across its paints. Draw only inside a Painting scope.
    QtCellCanvas();
    // A paper page: 0.1 mm with y up, the origin at the top-left of the printable area;
    // DEVICEPERTENTHMM device units make 0.1 mm.
    QtCellCanvas(QPainter& painter, qreal devicePerTenthMm);

    // The canvas for a page of DEVICE (a printer): PaperDrawingSize gives its drawing rectangle.
    [[nodiscard]] static QtCellCanvas ForPaper(QPainter& painter, const QPaintDevice& device);
    [[nodiscard]] static DrawingSize PaperDrawingSize(const QPaintDevice& device);

    void DrawGlyph(CanvasPoint at, int32_t height, Rgb text, Rgb background,
                   GlyphCode code) override;
    void DrawLabel(CanvasPoint at, int32_t height, Rgb text, Rgb background,
                   std::string_view utf8) override;
    void DrawLine(CanvasPoint from, CanvasPoint to, Rgb colour, int32_t width) override;
    void DrawRect(CanvasPoint corner, CanvasPoint opposite, Rgb fill, Rgb outline) override;

    // Draws with PAINTER for the scope's lifetime.
    class Painting {
    public:
        Painting(QtCellCanvas& canvas, QPainter& painter) : canvas_(canvas) {
            canvas_.Attach(&painter);
        }
        Painting(const Painting&) = delete;
        Painting& operator=(const Painting&) = delete;
        ~Painting() { canvas_.Attach(nullptr); }

    private:
        QtCellCanvas& canvas_;
    };

    // The character that stands for CODE in the cell font.
    [[nodiscard]] static const QString& GlyphText(GlyphCode code);

private:
    // A font at one device size with the offset from a box's top to its baseline.
    struct SizedFont {
        QFont font;
        QFontMetricsF metrics{QFont()};
        qreal baseline = 0;
    };
    // The cell font at one size as a raw font, whose glyphs are drawn without text layout.
    struct CellFace {
        QRawFont raw;
        qreal baseline = 0;
        std::unordered_map<GlyphCode, quint32> glyphs; // glyph index of each code drawn
    };

    [[nodiscard]] QPointF Map(CanvasPoint point) const {
        return {point.x * scale_, point.y * yScale_};
    }
    [[nodiscard]] qreal Length(int32_t units) const { return units * scale_; }
    CellFace& CellFont(int32_t height);
    void UsePen(const QColor& colour);
    void Attach(QPainter* painter);
    const SizedFont& LabelFont(int32_t height);

    QPainter* painter_ = nullptr;
    qreal scale_ = 1;
    qreal yScale_ = 1;
    std::map<int32_t, CellFace> cellFonts_;
    QColor penColour_;
    bool penSet_ = false;
    std::map<int32_t, SizedFont> labelFonts_;
};

} // namespace varnolt::ui
