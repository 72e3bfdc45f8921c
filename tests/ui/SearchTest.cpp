#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/MemoryConfigStore.h"
#include "core/shell/CVarnoltDoc.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "ui/frame/CMainFrame.h"
#include "ui/platform/Resources.h"
#include "ui/search/CDataInputDig.h"
#include "ui/search/CTvEdit.h"
#include "ui/view/CVarnoltView.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace varnolt;

// The search as the user runs it: Ctrl+F, the dialog, the hit shown and marked; F3 and Shift+F3.
class SearchTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::InitResources(); }
    void ctrlFFindsBringsIntoViewAndMarksTheHit();
};

namespace {

constexpr RingIndex kHitAt = 6000;
constexpr RingIndex kSecondHitAt = 15000;

// SD 'a' everywhere, with SD "XYZ" at kHitAt and kSecondHitAt.
std::filesystem::path WriteCapture(const testing::TempDir& dir, int records) {
    CCaptureData store(records + 1);
    for (int i = 0; i < records; ++i) {
        const int hit = i - (i < kSecondHitAt ? kHitAt : kSecondHitAt);
        const uint32_t code = hit >= 0 && hit < 3 ? 'X' + hit : 'a';
        store.Append(0x10000000u | code << 16, 0);
    }
    const auto path = dir / "xyz.tvd";
    testing::RecordingPrompt prompt;
    const CaptureSaveRange range{SaveSource::Ring, store.firstIndex(), store.lastIndex()};
    WriteCaptureFile(path, store.header(), 0, store, range, prompt);
    return path;
}

int SelectedPixels(QWidget* viewport) {
    const QImage image = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
        }
    }
    return count;
}

} // namespace

void SearchTest::ctrlFFindsBringsIntoViewAndMarksTheHit() {
    testing::TempDir dir;
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, dir.path());
    ui::CMainFrame frame(document, config, prompt);
    frame.resize(1000, 700);
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QVERIFY(frame.OpenDocument(WriteCapture(dir, 20000)));
    ui::CVarnoltView& view = frame.view();
    QVERIFY(!view.layout().IsVisible(kHitAt));

    bool answered = false;
    QTimer::singleShot(50, [&answered] {
        auto* dialog = qobject_cast<ui::CDataInputDig*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        QTest::keyClicks(&dialog->edit(), "XYZ");
        QTest::mouseClick(dialog->findChild<QPushButton*>("3"), Qt::LeftButton);
        answered = true;
    });
    QTest::keyClick(&view, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(answered);
    QCOMPARE(view.search().hit(), (HitRange{kHitAt, kHitAt + 2, HitKind::SdCharacters}));
    QCOMPARE(view.search().position(), kHitAt);
    // The hit's line is at the top of the page, drawn in the selection colours once.
    const PageGeometry& g = view.layout().screen();
    QCOMPARE(view.layout().topRecord(), kHitAt / g.columns * g.columns);
    QVERIFY(SelectedPixels(view.viewport()) > 3 * 100);
    QVERIFY(view.layout().IsVisible(kHitAt + 2));
    QCOMPARE(SelectedPixels(view.viewport()), 0);

    // F3 finds the next one, Shift+F3 the one before it again.
    frame.activateWindow(); // again after the dialog
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&view, Qt::Key_F3);
    QCOMPARE(view.search().hit().first, kSecondHitAt);
    QVERIFY(view.layout().IsVisible(kSecondHitAt));
    QTest::keyClick(&view, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(view.search().hit().first, kHitAt);
    QCOMPARE(view.search().position(), kHitAt);
    QVERIFY(prompt.entries.empty());
}

QTEST_MAIN(SearchTest)
#include "SearchTest.moc"
