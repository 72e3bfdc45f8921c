#include "ui/search/CellFontText.h"

#include "core/view/PatternText.h"
#include "ui/view/QtCellCanvas.h"

namespace varnolt::ui {

QFont CellFont(int pixelHeight) {
    QFont font(QStringLiteral("SFgg1"));
    font.setPixelSize(pixelHeight);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QFont UiGothicFont(int pixelHeight) {
    QFont font;
    font.setFamilies({QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Noto Sans CJK JP"), font.family()});
    font.setPixelSize(pixelHeight);
    return font;
}

QString GlyphString(GlyphCode code) {
    return QtCellCanvas::GlyphText(code);
}

QString PatternGlyphString(std::span<const PatternElement> elements) {
    QString text;
    for (const GlyphCode code : PatternGlyphCodes(elements)) {
        text += GlyphString(code);
    }
    return text;
}

} // namespace varnolt::ui
