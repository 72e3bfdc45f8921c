#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/MemoryConfigStore.h"
#include "core/shell/CVarnoltDoc.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "ui/frame/CMainFrame.h"
#include "ui/view/CVarnoltView.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

using namespace varnolt;

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void readsSettingsAtCreationAndWritesThemAtDestruction();
    void searchKeysNeedACaptureThatIsNotMeasured();
    void lineStyleSwitchesWithoutRedrawWhenEmpty();
    void opensACaptureFileAndEnablesTheDataCommands();

private:
    // The document keeps its settings file here.
    testing::TempDir settingsDir_;
};

void MainFrameTest::readsSettingsAtCreationAndWritesThemAtDestruction() {
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    config.writeInt("Settings", "ExportLineLength", 3);
    config.writeInt("Settings", "HexView", 1);
    CVarnoltDoc document(prompt, settingsDir_.path());
    {
        ui::CMainFrame frame(document, config, prompt);
        QCOMPARE(frame.settings().exportLineLength, 10);
        QCOMPARE(frame.settings().hexView, 1);
        frame.settings().autoSaveFileSize = 4;
    }
    QCOMPARE(config.readInt("Settings", "ExportLineLength", 0), 10);
    QCOMPARE(config.readInt("Settings", "AutoSaveFileSize", 0), 4);
    QVERIFY(config.contains("Settings", "AutoSaveFolder"));
}

void MainFrameTest::searchKeysNeedACaptureThatIsNotMeasured() {
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QSignalSpy updates(&frame.view(), &ui::CVarnoltView::updated);

    QTest::keyClick(&frame.view(), Qt::Key_F3);
    QCOMPARE(updates.count(), 0);

    document.setHoldsCapture(true);
    QTest::keyClick(&frame.view(), Qt::Key_F3);
    QTest::keyClick(&frame.view(), Qt::Key_F3, Qt::ShiftModifier);
    QTest::keyClick(&frame.view(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(updates.count(), 3);
    QCOMPARE(updates.at(0).at(0).toInt(), 4);
    QCOMPARE(updates.at(1).at(0).toInt(), 5);
    QCOMPARE(updates.at(2).at(0).toInt(), 6);
}

void MainFrameTest::lineStyleSwitchesWithoutRedrawWhenEmpty() {
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    QSignalSpy updates(&frame.view(), &ui::CVarnoltView::updated);
    QAction* filled = frame.action(kCmdLinePatternFilled);
    QVERIFY(filled->isEnabled());
    filled->trigger();
    QCOMPARE(frame.settings().linePattern, int16_t{1});
    QVERIFY(filled->isChecked());
    QVERIFY(!frame.action(kCmdLinePatternLines)->isChecked());
    QCOMPARE(updates.count(), 0);
    QVERIFY(!frame.action(kCmdHexView)->isEnabled());
    QVERIFY(!frame.action(kCmdExport)->isEnabled());
}

void MainFrameTest::opensACaptureFileAndEnablesTheDataCommands() {
    testing::TempDir dir;
    testing::RecordingPrompt prompt;
    const auto path = dir / "three.tvd";
    {
        CCaptureData store(16);
        store.Append(0x10410000, 0);
        store.Append(0x20420000, 0);
        store.Append(0x10430000, 0);
        const CaptureSaveRange range{SaveSource::Ring, store.firstIndex(), store.lastIndex()};
        QVERIFY(WriteCaptureFile(path, store.header(), 0, store, range, prompt));
    }
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    QVERIFY(frame.openDocument(path));
    QCOMPARE(document.capture().Count(), 3);
    QVERIFY(frame.action(kCmdExport)->isEnabled());
    QVERIFY(frame.action(kCmdFileSave)->isEnabled());
    QVERIFY(!frame.action(kCmdControlLineView)->isEnabled());
    QVERIFY(frame.windowTitle().startsWith("three.tvd"));
    QVERIFY(prompt.entries.empty());

    // A recent file that has gone away: reported, and the capture, path and title stay.
    QVERIFY(!frame.openDocument(dir / "moved.tvd"));
    QCOMPARE(prompt.entries.size(), size_t{1});
    QCOMPARE(document.capture().Count(), 3);
    QVERIFY(document.holdsCapture());
    QCOMPARE(document.pathName(), path);
    QVERIFY(frame.windowTitle().startsWith("three.tvd"));
    QVERIFY(frame.action(kCmdExport)->isEnabled());
}

QTEST_MAIN(MainFrameTest)
#include "MainFrame_test.moc"
