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
#include <QImage>
#include <QScrollBar>
#include <QTest>

using namespace varnolt;

// The data view widget as the user sees it: a capture opened in the frame, grabbed as an image.
class DataViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::InitResources(); }
    void cellsShowTheirDirectionColours();
    void scrollBarCoversTheCapture();
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
    QVERIFY(shown.frame.openDocument(WriteCapture(shown.dir, 40)));

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
    QVERIFY(shown.frame.openDocument(WriteCapture(shown.dir, 20000)));

    ui::CVarnoltView& view = shown.frame.view();
    QScrollBar* bar = view.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    const RingIndex top = view.layout().topRecord();
    QTest::keyClick(bar, Qt::Key_PageDown);
    QTest::qWait(20);
    QVERIFY(view.layout().topRecord() > top);
    QCOMPARE(bar->value(), bar->pageStep());
}

QTEST_MAIN(DataViewTest)
#include "DataView_test.moc"
