// The cell font "SFgg1" in the program's resources: it registers under its family name and holds
// a full-width picture, inside its cell, at every glyph code the program draws or the character
// input dialog writes, found through the code page 932 decoder as the program finds it.

#include "core/view/GlyphCodes.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QtTest>

// Q_INIT_RESOURCE declares the resource's initialiser, which lives in the global namespace.
static void LoadResources() {
    Q_INIT_RESOURCE(varnolt);
}

namespace {

constexpr int kPixelSize = 20;
const QString kFontPath = QStringLiteral(":/fonts/SFgg1.ttf");

QString Hex(varnolt::GlyphCode code) {
    return QString::number(code, 16).toUpper();
}

// The number of pixels darker than mid-grey after drawing CODE black on white in a cell.
int InkOf(const QFont& font, varnolt::GlyphCode code) {
    QImage image(kPixelSize, kPixelSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const char32_t character = varnolt::GlyphCharacter(code);
        painter.drawText(0, QFontMetrics(font).ascent(), QString::fromUcs4(&character, 1));
    }
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    return ink;
}

} // namespace

class CellFontTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        LoadResources();
        QVERIFY(QFile::exists(kFontPath));
        fontId_ = QFontDatabase::addApplicationFont(kFontPath);
        QVERIFY(fontId_ >= 0);
    }

    void registersUnderItsFamilyName() {
        QCOMPARE(QFontDatabase::applicationFontFamilies(fontId_), QStringList{"SFgg1"});
        QFont font("SFgg1");
        font.setPixelSize(kPixelSize);
        QCOMPARE(QFontInfo(font).family(), QString("SFgg1"));
    }

    void holdsAFullWidthPictureInsideItsCellAtEveryGlyphCode() {
        QFile file(kFontPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QRawFont raw(file.readAll(), kPixelSize, QFont::PreferNoHinting);
        QVERIFY(raw.isValid());
        // The picture's box: one em wide, from the ascent above the baseline to the descent
        // below it (y grows downwards here).
        const QRectF cell(0, -raw.ascent(), kPixelSize, raw.ascent() + raw.descent());
        QCOMPARE(cell.height(), double(kPixelSize));

        const std::vector<varnolt::GlyphCode> codes = varnolt::AllGlyphCodes();
        QVERIFY(codes.size() > 700);
        for (const varnolt::GlyphCode code : codes) {
            const char32_t character = varnolt::GlyphCharacter(code);
            QVERIFY2(character != U'\uFFFD', qPrintable(Hex(code)));
            const QList<quint32> glyphs =
                raw.glyphIndexesForString(QString::fromUcs4(&character, 1));
            QVERIFY2(glyphs.size() == 1 && glyphs.front() != 0, qPrintable(Hex(code)));
            const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
            // FreeType scales in 1/64 pixel steps.
            QVERIFY2(qAbs(advances.front().x() - kPixelSize) <= 1.0 / 32, qPrintable(Hex(code)));

            const QPainterPath outline = raw.pathForGlyph(glyphs.front());
            const bool blank = code == varnolt::kEmptyCellGlyph || code == varnolt::kBlankGlyph;
            QVERIFY2(outline.isEmpty() == blank, qPrintable(Hex(code)));
            QVERIFY2(blank || cell.contains(outline.boundingRect()), qPrintable(Hex(code)));
        }
    }

    void drawsItsOwnPicturesNotAFallbackFontsKanji() {
        QFont font("SFgg1");
        font.setPixelSize(kPixelSize);
        QCOMPARE(InkOf(font, varnolt::kEmptyCellGlyph), 0);
        QCOMPARE(InkOf(font, varnolt::kBlankGlyph), 0);
        QVERIFY(InkOf(font, varnolt::CellGlyphCode(varnolt::GlyphSet::CharacterName, 0x00)) > 20);
        QVERIFY(InkOf(font, varnolt::kTooLargeGlyph) > 20);
    }

private:
    int fontId_ = -1;
};

QTEST_MAIN(CellFontTest)
#include "CellFontTest.moc"
