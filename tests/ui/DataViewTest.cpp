#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/MemoryConfigStore.h"
#include "core/shell/CVarnoltDoc.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "ui/frame/CMainFrame.h"
#include "ui/platform/Resources.h"
#include "ui/view/CVarnoltView.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

using namespace varnolt;

// The data view widget as the user sees it: a capture opened in the frame, grabbed as an image.
class DataViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::InitResources(); }
    void cellsShowTheirDirectionColours();
    void scrollBarCoversTheCapture();
    void wheelFractionsAddUpToLines();
    void homeAndEndReachBothEnds();
};

namespace {

// Share of the pixels in RECT that have COLOUR.
double Share(const QImage& image, const QRect& rect, const QColor& colour) {
    int hits = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            hits += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return double(hits) / (rect.width() * rect.height());
}

std::filesystem::path WriteCapture(const testing::TempDir& dir, int records) {
    CCaptureData store(records + 1);
    for (int i = 0; i < records; ++i) {
        // SD, RD, SD, RD ...: the letters A, B, C ...
        const uint32_t kind = i % 2 == 0 ? 0x10000000u : 0x20000000u;
        store.Append(kind | uint32_t(0x41 + i % 26) << 16, 0);
    }
    const auto path = dir / "letters.tvd";
    testing::RecordingPrompt prompt;
    const CaptureSaveRange range{SaveSource::Ring, store.firstIndex(), store.lastIndex()};
    WriteCaptureFile(path, store.header(), 0, store, range, prompt);
    return path;
}

// A main frame on screen, with its document, ready to open a capture.
struct ShownFrame {
    ShownFrame() : document(prompt, dir.path()), frame(document, config, prompt) {
        frame.resize(1000, 700);
        frame.show();
    }

    testing::TempDir dir;
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document;
    ui::CMainFrame frame;
};

} // namespace

void DataViewTest::cellsShowTheirDirectionColours() {
    ShownFrame shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.frame));
    QVERIFY(shown.frame.OpenDocument(WriteCapture(shown.dir, 40)));

    ui::CVarnoltView& view = shown.frame.view();
    const QImage image = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const PageGeometry& g = view.layout().screen();
    QVERIFY(g.columns > 2);
    const QRect sdCell(g.dataX + 1, g.topMargin + 1, g.cellWidth - 2, g.rowPitch - 2);
    const QRect rdCell(g.dataX + g.cellWidth + 1, g.topMargin + g.rowPitch + 1, g.cellWidth - 2,
                       g.rowPitch - 2);
    QVERIFY2(Share(image, sdCell, QColor(70, 255, 70)) > 0.3, "SD cell in the SD colour");
    QVERIFY2(Share(image, rdCell, QColor(32, 244, 244)) > 0.3, "RD cell in the RD colour");
    // The RD row under the SD character is an empty cell, not coloured.
    const QRect emptyCell(g.dataX + 1, g.topMargin + g.rowPitch + 1, g.cellWidth - 2,
                          g.rowPitch - 2);
    QCOMPARE(Share(image, emptyCell, QColor(32, 244, 244)), 0.0);
}

void DataViewTest::scrollBarCoversTheCapture() {
    ShownFrame shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.frame));
    QVERIFY(shown.frame.OpenDocument(WriteCapture(shown.dir, 20000)));

    ui::CVarnoltView& view = shown.frame.view();
    QScrollBar* bar = view.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    const RingIndex top = view.layout().topRecord();
    QTest::keyClick(bar, Qt::Key_PageDown);
    QTRY_VERIFY(view.layout().topRecord() > top);
    QCOMPARE(bar->value(), bar->pageStep());
}

namespace {

void Wheel(QWidget* target, int angle) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

} // namespace

// A touchpad sends a notch in pieces: three thirds scroll one line, as one notch does.
void DataViewTest::wheelFractionsAddUpToLines() {
    ShownFrame shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.frame));
    QVERIFY(shown.frame.OpenDocument(WriteCapture(shown.dir, 20000)));
    ui::CVarnoltView& view = shown.frame.view();
    const int32_t columns = view.layout().screen().columns;

    struct Step {
        int angle;
        RingIndex top; // in lines
    };
    const Step steps[] = {{-40, 0}, {-40, 0}, {-40, 1}, {-120, 2}, {-240, 4}, {60, 4}, {60, 3}};
    for (const Step& step : steps) {
        Wheel(view.viewport(), step.angle);
        QCOMPARE(view.layout().topRecord(), step.top * columns);
    }
}

void DataViewTest::homeAndEndReachBothEnds() {
    ShownFrame shown;
    QVERIFY(QTest::qWaitForWindowExposed(&shown.frame));
    QVERIFY(shown.frame.OpenDocument(WriteCapture(shown.dir, 20000)));
    ui::CVarnoltView& view = shown.frame.view();
    view.setFocus();

    for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ControlModifier}) {
        QTest::keyClick(&view, Qt::Key_End, modifiers);
        view.viewport()->repaint();
        QCOMPARE(view.layout().lastDrawnRecord(), shown.document.capture().lastIndex());
        QTest::keyClick(&view, Qt::Key_Home, modifiers);
        view.viewport()->repaint();
        QCOMPARE(view.layout().topRecord(), shown.document.capture().firstIndex());
    }
}

QTEST_MAIN(DataViewTest)
#include "DataViewTest.moc"
