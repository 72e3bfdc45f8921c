#pragma once

#include "core/view/CellCanvas.h"
#include "core/view/GlyphCodes.h"

#include <QAbstractButton>
#include <QPixmap>

namespace varnolt::ui {

// A button of the character input dialog's pages that shows its glyph as a picture: the glyph of
// the cell font at GLYPHAT on its kind's background and, for the character grid, the code's
// hexadecimal text beside it. The picture is drawn once, when the button is made.
class GlyphButton final : public QAbstractButton {
    Q_OBJECT

public:
    struct Picture {
        GlyphCode code = 0;
        Rgb background;
        QPoint glyphAt;
        QString label; // drawn at (26, 10) when not empty
    };

    GlyphButton(const Picture& picture, QWidget* parent);
    [[nodiscard]] GlyphCode code() const { return code_; }
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GlyphCode code_;
    QPixmap picture_;
};

} // namespace varnolt::ui
