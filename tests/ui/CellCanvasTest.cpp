// The data view's page drawn through the QPainter canvas into images: cells show their colours at
// the positions of the layout, on screen and on a paper page.

#include "core/view/ViewLayout.h"
#include "ui/platform/Resources.h"
#include "ui/view/QtCellCanvas.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

#include <memory>
#include <vector>

#include "../core/view/CaptureBuilder.h"

namespace {

using namespace varnolt;
using test::MakeCapture;
using test::Rd;
using test::Sd;

// Pixels of RGB within the SIZE × SIZE box at (X, Y), and pixels darker than mid-grey.
struct BoxColours {
    int matching = 0;
    int dark = 0;
};
BoxColours Count(const QImage& image, int x, int y, int size, QColor rgb) {
    BoxColours result;
    for (int dy = 0; dy < size; ++dy) {
        for (int dx = 0; dx < size; ++dx) {
            const QColor pixel = image.pixelColor(x + dx, y + dy);
            result.matching += pixel == rgb ? 1 : 0;
            result.dark += pixel.lightness() < 128 ? 1 : 0;
        }
    }
    return result;
}

QColor ToColor(Rgb rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

} // namespace

class CellCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { varnolt::ui::InitResources(); }

    void screenCellsShowTheirColours() {
        const auto capture = MakeCapture({Sd('A'), Rd('b'), Sd('C'), Sd('D')});
        ViewLayout layout;
        layout.ResetLayout(*capture, {}, {88 + 23 * 10, 43 * 3});
        QImage image(88 + 23 * 10, 43 * 3, QImage::Format_RGB32);
        image.fill(Qt::gray);
        const HitRange hit{2, 2, HitKind::SdCharacters};
        {
            QPainter painter(&image);
            varnolt::ui::QtCellCanvas canvas(painter);
            layout.Paint(canvas, *capture, &hit);
        }
        // "A" on the SD row: mostly SD green with black ink of the cell font.
        const BoxColours a = Count(image, 88, 0, 20, ToColor(kSdColours.background));
        QVERIFY2(a.matching > 200, qPrintable(QString::number(a.matching)));
        QVERIFY(a.dark > 5);
        // Under it the RD row is an empty cell: all white.
        QCOMPARE(Count(image, 88, 20, 20, Qt::white).matching, 400);
        // "b" on the RD row.
        QVERIFY(Count(image, 88 + 23, 20, 20, ToColor(kRdColours.background)).matching > 200);
        // The hit "C": white on red.
        QVERIFY(Count(image, 88 + 46, 0, 20, ToColor(kSelectedColours.background)).matching > 200);
        // After the newest record: erased cells.
        QCOMPARE(Count(image, 88 + 23 * 5, 0, 20, Qt::white).matching, 400);
        QCOMPARE(Count(image, 88, 43, 20, Qt::white).matching, 400);
    }

    void paperPageMapsTenthsOfMillimetresWithYUp() {
        const auto capture = MakeCapture({Sd('A'), Rd('b')});
        ViewLayout layout;
        layout.ResetLayout(*capture, {}, {800, 600});
        // 1 device pixel per 0.1 mm: an A6-sized page of 1050 × 1480.
        QImage image(1050, 1480, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            varnolt::ui::QtCellCanvas canvas(painter, 1.0);
            layout.PrintPage(canvas, *capture, 1, {1050, 1480}, "a.tvd");
        }
        // Page 1: the first line's SD row at x 291, 300 below the top; the RD row 44 lower.
        QVERIFY(Count(image, 291, 300, 38, ToColor(kSdColours.background)).matching > 700);
        QVERIFY(Count(image, 291 + 44, 344, 38, ToColor(kRdColours.background)).matching > 700);
        // The rule above the line, 10 above its origin, 2 units wide.
        QCOMPARE(image.pixelColor(250, 290), QColor(Qt::black));
    }
};

QTEST_MAIN(CellCanvasTest)
#include "CellCanvasTest.moc"
