#include "core/capture/CCaptureData.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/platform/MemoryConfigStore.h"
#include "core/shell/AnalyzerSession.h"
#include "core/shell/CVarnoltDoc.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/CTvStatusBar.h"
#include "ui/panes/CDockDeviceView.h"
#include "ui/panes/CDockTxView.h"
#include "ui/panes/CTvTxListCtrl.h"
#include "ui/view/QtCellCanvas.h"

#include <QAction>
#include <QTest>
#include <QTreeWidget>

#include "../core/link/SimulatedLink.h"

using namespace varnolt;

// The status bar's lamps, the device status pane and the transmit pane in the main frame, driven
// as a user drives them, against the virtual analyzer.
class PanesTest : public QObject {
    Q_OBJECT

private slots:
    void lampsFollowTheLineTypeAndTheConnection();
    void transmitPaneSendsTheSelectedEntry();
};

namespace {

struct Rig {
    Rig() {
        document.AttachLink(
            LinkServices{sim.bridge, sim.portPrompt, sim.clock, sim.time, sim.cursor, &sim.ring});
        frame = std::make_unique<ui::CMainFrame>(document, config, prompt);
        frame->NewDocument();
        frame->resize(1200, 700);
        frame->show();
    }
    ~Rig() {
        if (document.connected()) {
            document.link()->setRunStateValue(CMoniterComm::kStopped);
            frame->session().Disconnect();
        }
        frame.reset();
    }

    [[nodiscard]] int sent(const std::string& request) const {
        const std::vector<std::string> all = sim.requests();
        return static_cast<int>(std::count(all.begin(), all.end(), request));
    }
    // Lets the view's 10 ms poll run until the analyzer has been asked for its status again.
    void pollStatus() {
        const int before = sent("BL");
        QTRY_VERIFY_WITH_TIMEOUT(sent("BL") > before + 1, 2000);
    }
    [[nodiscard]] ui::CTvStatusBar& bar() { return frame->tvStatusBar(); }

    testing::SimulatedLink sim;
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    testing::TempDir settingsFolder;
    CVarnoltDoc document{prompt, settingsFolder.path()};
    std::unique_ptr<ui::CMainFrame> frame;
};

constexpr size_t kRs = 1;

} // namespace

void PanesTest::lampsFollowTheLineTypeAndTheConnection() {
    Rig rig;
    // A new document shows the settings' conditions; not connected, every lamp is inactive.
    rig.document.settings().lineMode = kLineRs422Monitor;
    rig.document.settings().speed = 38400;
    rig.frame->NewDocument();
    QCOMPARE(rig.bar().paneText(1), QString("RS422/485 ﾓﾆﾀ"));
    QCOMPARE(rig.bar().paneText(2), QString("38400"));
    QCOMPARE(rig.bar().lampWidth(0), 35);
    QCOMPARE(rig.bar().lampWidth(kRs), 0);
    QCOMPARE(rig.bar().lampPicture(0), LampPicture::Inactive);

    rig.document.settings().lineMode = kLineRs232cSimulation;
    rig.frame->NewDocument();
    QCOMPARE(rig.bar().lampWidth(kRs), 35);
    QCOMPARE(rig.bar().lampToolTip(kRs),
             QString("RS (送信要求): 未接続\nダブルクリックで出力を切り替えます"));

    rig.frame->action(kCmdConnect)->trigger();
    QVERIFY(rig.document.connected());
    rig.pollStatus();
    for (size_t lamp = 0; lamp < kLampCount; ++lamp) {
        QVERIFY(rig.bar().lampPicture(lamp) != LampPicture::Inactive);
    }

    // A double-click on RS toggles the output, sends it, and the lamp shows it.
    rig.document.lineStates()[kLineRs] = 2;
    rig.document.lineStates()[kLineEr] = 1;
    QTest::mouseDClick(rig.frame->findChild<QWidget*>("pane207"), Qt::LeftButton);
    QCOMPARE(rig.sent(testing::Checksummed("GL00000011")), 1);
    QCOMPARE(rig.bar().lampPicture(kRs), LampPicture::SendOn);
    QVERIFY(rig.bar().lampToolTip(kRs).startsWith("RS (送信要求): オン"));

    // The timer/counter pane shows the status the poll brought.
    rig.frame->action(kCmdTimerCounterPane)->trigger();
    QVERIFY(rig.frame->devicePane().isVisible());
    rig.document.device().status().triggerCounts[7] = 0x0FFF;
    rig.frame->RefreshDevicePane();
    const auto found =
        rig.frame->devicePane().grid().findItems("8", Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY(!found.isEmpty());
    QCOMPARE(found.back()->text(1), QString("4095"));

    rig.frame->action(kCmdDisconnect)->trigger();
    QVERIFY(!rig.document.connected());
    for (size_t lamp = 0; lamp < kLampCount; ++lamp) {
        QCOMPARE(rig.bar().lampPicture(lamp), LampPicture::Inactive);
    }
}

void PanesTest::transmitPaneSendsTheSelectedEntry() {
    Rig rig;
    SaTxEntry& entry = rig.document.settings().transmitEntries[3];
    entry.elements[0] = {kPatternCharacter, 'O'};
    entry.elements[1] = {kPatternCharacter, 'K'};
    entry.elementCount = 2;
    rig.frame->AnalyzerSettingsChanged();
    ui::CTvTxListCtrl& list = rig.frame->txPane().list();
    QCOMPARE(list.rowCount(), 50);
    QCOMPARE(list.item(3, 1)->text(), ui::QtCellCanvas::GlyphText(InputGlyphCode('O')) +
                                          ui::QtCellCanvas::GlyphText(InputGlyphCode('K')));
    QCOMPARE(list.item(49, 0)->text(), ui::QtCellCanvas::GlyphText(0x8FB2));

    // Only a simulation line mode shows the pane.
    rig.document.settings().lineMode = kLineRs232cMonitor;
    rig.frame->NewDocument();
    QVERIFY(!rig.frame->txPane().isVisible());
    rig.document.settings().lineMode = kLineRs422Simulation;
    rig.frame->NewDocument();
    QVERIFY(rig.frame->txPane().isVisible());

    rig.frame->action(kCmdConnect)->trigger();
    const std::string gt3 = testing::Checksummed("GT0003");
    const QRect row3 = list.visualRect(list.model()->index(3, 1));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row3.center());
    QCOMPARE(rig.sent(gt3), 1);
    // About 60 ms later the selection is cleared; a double-click sends the row again.
    QTRY_VERIFY_WITH_TIMEOUT(list.selectedItems().isEmpty(), 1000);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row3.center());
    QCOMPARE(rig.sent(gt3), 2);
    // The empty row 0 is sent as well.
    QTRY_VERIFY_WITH_TIMEOUT(list.selectedItems().isEmpty(), 1000);
    list.selectRow(0);
    QCOMPARE(rig.sent(testing::Checksummed("GT0000")), 1);
}

QTEST_MAIN(PanesTest)
#include "PanesTest.moc"
