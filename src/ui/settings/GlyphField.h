#pragma once

#include "core/settings/PatternElement.h"

#include <QLabel>

#include <span>

namespace varnolt::ui {

// A white, bordered field that shows a pattern in the cell font (the glyphs of its elements up
// to the first element no glyph stands for). A click reports itself when the field is clickable.
class GlyphField final : public QLabel {
    Q_OBJECT

public:
    // GLYPHS: the width in glyphs the field offers; PIXELHEIGHT: the cell font's height.
    GlyphField(int glyphs, int pixelHeight, QWidget* parent = nullptr);

    void ShowPattern(std::span<const PatternElement> elements);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace varnolt::ui
