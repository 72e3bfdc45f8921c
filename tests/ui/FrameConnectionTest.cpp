#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/capture/CaptureSaver.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/platform/FileError.h"
#include "core/platform/MemoryConfigStore.h"
#include "core/shell/AnalyzerSession.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/shell/UnsavedCapture.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "ui/frame/CMainFrame.h"
#include "ui/platform/Resources.h"
#include "ui/view/CVarnoltView.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "../core/link/SimulatedLink.h"

using namespace varnolt;

// The main frame's analyzer commands against the virtual analyzer on a manual clock.
class FrameConnectionTest : public QObject {
    Q_OBJECT

private slots:
    void connectThenDisconnect();
    void connectOnAnotherPageAsksForThePowerOnScreen();
    void closingWhileMeasuringAsksFirst();
    void stayingOpenForPendingSavesKeepsMeasuring();
    void commandsFollowTheLinkWhateverChangedIt();
    void closingDuringADownloadCancelsItThenCloses();
    void relayoutWhileMeasuringRedrawsTheLivePage();
    void startingWithAMissingFileStillMeasures();
};

namespace {

// A document whose link reaches the test's own virtual analyzer, inside a main frame.
struct Rig {
    Rig() : document(prompt, dir.path()), frame(document, config, prompt) {
        document.AttachLink(
            LinkServices{sim.bridge, sim.portPrompt, sim.clock, sim.time, sim.cursor, &sim.ring});
        frame.RefreshCommandStates();
    }
    ~Rig() {
        // Leave remote mode quietly so the document's destruction finds a closed session.
        if (document.connected()) {
            document.link()->setRunStateValue(CMoniterComm::kStopped);
            frame.session().Disconnect();
        }
    }

    // Lets the analyzer's clock and the window's poll run until the capture holds COUNT records
    // (or 5 simulated seconds have passed).
    void PollUntilRecords(RecordCount count) {
        for (int i = 0; i < 500 && document.capture().Count() < count; ++i) {
            sim.clock.advance(10);
            QTest::qWait(2);
        }
    }

    testing::TempDir dir; // the document's settings folder
    testing::SimulatedLink sim;
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document;
    ui::CMainFrame frame;
};

} // namespace

void FrameConnectionTest::connectThenDisconnect() {
    Rig rig;
    QVERIFY(rig.frame.action(kCmdConnect)->isEnabled());
    QVERIFY(!rig.frame.action(kCmdDisconnect)->isEnabled());
    rig.frame.action(kCmdConnect)->trigger();
    QVERIFY(rig.document.connected());
    QVERIFY(rig.document.holdsCapture());
    QVERIFY(!rig.frame.action(kCmdConnect)->isEnabled());
    QVERIFY(!rig.frame.action(kCmdFileOpen)->isEnabled());
    QVERIFY(!rig.frame.action(kCmdFirmwareUpdate)->isEnabled());
    QVERIFY(rig.frame.action(kCmdStart)->isEnabled());
    QVERIFY(rig.frame.action(kCmdDisconnect)->isEnabled());

    rig.frame.action(kCmdDisconnect)->trigger();
    QVERIFY(!rig.document.connected());
    QVERIFY(rig.frame.action(kCmdConnect)->isEnabled());
    QVERIFY(rig.frame.action(kCmdFileOpen)->isEnabled());
    QCOMPARE(rig.sim.requests().back(), std::string("ENW004A"));
    QVERIFY(rig.prompt.entries.empty());
}

void FrameConnectionTest::connectOnAnotherPageAsksForThePowerOnScreen() {
    Rig rig;
    rig.sim.firmware([](sim::AnalyzerFirmware& state) { state.page = 11; });
    rig.frame.action(kCmdConnect)->trigger();
    QVERIFY(!rig.document.connected());
    QVERIFY(!rig.document.holdsCapture());
    QCOMPARE(rig.prompt.texts(),
             std::vector<std::string>{std::string(kSwitchToPowerOnScreenMessage)});
    QCOMPARE(rig.prompt.entries[0].caption, std::string("Error"));
}

void FrameConnectionTest::closingWhileMeasuringAsksFirst() {
    Rig rig;
    rig.frame.action(kCmdConnect)->trigger();
    QVERIFY(rig.document.connected());
    rig.document.link()->setRunStateValue(CMoniterComm::kRunning);
    rig.frame.RefreshCommandStates();
    QVERIFY(!rig.frame.action(kCmdFileNew)->isEnabled());

    // "切断" is refused while measuring.
    rig.frame.action(kCmdDisconnect)->trigger();
    QCOMPARE(rig.prompt.texts().back(), std::string("開始中は切断できません"));
    QVERIFY(rig.document.connected());

    rig.sim.analyzer.ClearRequests();
    rig.prompt.answers = {PromptAnswer::Cancel};
    QVERIFY(!rig.frame.close());
    QCOMPARE(rig.prompt.entries.back().text, std::string("開始中ですが、終了しますか？"));
    QCOMPARE(rig.prompt.entries.back().caption, std::string("確認"));
    QVERIFY(rig.sim.requests().empty());
    QVERIFY(rig.document.connected());

    rig.prompt.answers = {PromptAnswer::Ok};
    rig.frame.close();
    // Stop first, then disconnect.
    const std::vector<std::string> sent = rig.sim.requests();
    const auto stop = std::find_if(sent.begin(), sent.end(), [](const std::string& text) {
        return text.starts_with("PSW0B");
    });
    const auto leave = std::find_if(sent.begin(), sent.end(), [](const std::string& text) {
        return text.starts_with("ENW004A");
    });
    QVERIFY(stop != sent.end());
    QVERIFY(leave != sent.end());
    QVERIFY(stop < leave);
    QVERIFY(!rig.document.measuring());
    QVERIFY(!rig.document.connected());
}

// "キャンセル" in the question about files still being written keeps the window open with the
// measurement running: the analyzer is neither stopped nor disconnected before it is asked.
void FrameConnectionTest::stayingOpenForPendingSavesKeepsMeasuring() {
    Rig rig;
    rig.frame.action(kCmdConnect)->trigger();
    QVERIFY(rig.document.connected());
    rig.document.link()->setRunStateValue(CMoniterComm::kRunning);
    std::atomic<bool> released = false;
    CaptureSaver& saver = rig.document.capture().saver();
    saver.setFolder(rig.dir.path());
    saver.setFileWriter([&](const SaveJob&) -> std::optional<std::string> {
        while (!released) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return std::nullopt;
    });
    rig.document.capture().Append(0x1041'0000, 0);
    QVERIFY(rig.document.capture().StartSave(SaveRequest::Trigger, 0, 0));
    const size_t requests = rig.sim.requests().size();

    rig.prompt.answers = {PromptAnswer::Ok, PromptAnswer::Cancel};
    QVERIFY(!rig.frame.close());
    QCOMPARE(rig.prompt.entries.size(), size_t{2});
    QVERIFY(rig.prompt.entries[1].text.starts_with("保存中のファイルがまだ 1 件"));
    QVERIFY(rig.document.measuring());
    QVERIFY(rig.document.connected());
    QCOMPARE(rig.sim.requests().size(), requests);
    released = true;
    saver.WaitIdle();
}

void FrameConnectionTest::commandsFollowTheLinkWhateverChangedIt() {
    Rig rig;
    rig.frame.action(kCmdConnect)->trigger();
    rig.frame.action(kCmdStart)->trigger();
    QVERIFY(rig.document.measuring());
    QVERIFY(!rig.frame.action(kCmdStart)->isEnabled());

    // The analyzer stops by itself (its "PSS" report): no menu is opened, no command runs.
    rig.document.link()->setRunStateValue(CMoniterComm::kStopped);
    QVERIFY(rig.frame.action(kCmdStart)->isEnabled());
    QVERIFY(!rig.frame.action(kCmdStop)->isEnabled());
    QVERIFY(rig.frame.action(kCmdFileNew)->isEnabled());

    // A modal operation takes the link, and gives it back.
    rig.document.link()->setBusy(true);
    for (CommandId id : {kCmdStart, kCmdDisconnect, kCmdFileNew, kCmdOnlineDataReceive}) {
        QVERIFY(!rig.frame.action(id)->isEnabled());
    }
    rig.document.link()->setBusy(false);
    QVERIFY(rig.frame.action(kCmdStart)->isEnabled());
}

void FrameConnectionTest::closingDuringADownloadCancelsItThenCloses() {
    Rig rig;
    rig.frame.show();
    rig.frame.action(kCmdConnect)->trigger();
    CMoniterComm& link = *rig.document.link();
    link.setBusy(true); // as while "オンラインデータ受信" runs

    rig.prompt.answers = {PromptAnswer::Cancel};
    QVERIFY(!rig.frame.close());
    QCOMPARE(rig.prompt.entries.back().text, std::string("通信中ですが、中止して終了しますか？"));
    QVERIFY(!link.cancelRequested());

    rig.prompt.answers = {PromptAnswer::Ok};
    QVERIFY(!rig.frame.close()); // the operation is asked to end; the window waits for it
    QVERIFY(link.cancelRequested());
    QVERIFY(rig.frame.isVisible());
    QVERIFY(rig.document.connected());

    link.setBusy(false); // the download has ended
    QTRY_VERIFY(!rig.frame.isVisible());
    QVERIFY(!rig.document.connected()); // and the analyzer was left as on any close
}

// Hex view toggled while measuring: the live page shows the same records in the other glyphs
// at once, not only the blocks that come after.
void FrameConnectionTest::relayoutWhileMeasuringRedrawsTheLivePage() {
    ui::InitResources(); // the cell font, so that the two glyph sets differ
    Rig rig;
    rig.frame.resize(1000, 700);
    rig.frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.frame));
    rig.frame.NewDocument(); // starts the view's reception timer
    rig.frame.action(kCmdConnect)->trigger();
    rig.frame.action(kCmdStart)->trigger();
    QVERIFY(rig.document.measuring());
    rig.PollUntilRecords(100);
    QVERIFY(rig.document.capture().Count() >= 100);
    QWidget* page = rig.frame.view().viewport();
    const QImage before = page->grab().toImage();
    rig.frame.action(kCmdHexView)->trigger();
    const QImage hex = page->grab().toImage();
    QVERIFY(before != hex);
    rig.frame.action(kCmdHexView)->trigger();
    QCOMPARE(page->grab().toImage(), before);
}

// The program started with a capture file that cannot be opened: the message, then a new
// capture whose poll runs, so a measurement receives records. The capture it makes is untitled,
// whatever file was open before, and once stopped marked as on no file; the next start asks
// about it first.
void FrameConnectionTest::startingWithAMissingFileStillMeasures() {
    Rig rig;
    const auto missing = rig.dir.path() / "missing.tvd";
    rig.frame.OpenAtStart(missing);
    QCOMPARE(rig.prompt.texts(),
             std::vector<std::string>{FileErrorMessage(FileError::NotFound, missing)});
    const auto opened = rig.dir.path() / "opened.tvd";
    {
        CCaptureData store(8);
        store.Append(0x10410000, 0);
        QVERIFY(WriteCaptureFile(opened, store.header(), 0, store, {SaveSource::Ring, 0, 0},
                                 rig.prompt));
    }
    QVERIFY(rig.frame.OpenDocument(opened));
    QCOMPARE(rig.frame.windowTitle(), QString("opened.tvd - Varnolt"));

    rig.frame.action(kCmdConnect)->trigger();
    rig.frame.action(kCmdStart)->trigger();
    QVERIFY(rig.document.measuring());
    rig.PollUntilRecords(100);
    QVERIFY(rig.document.capture().Count() >= 100);
    QVERIFY(rig.frame.windowTitle().startsWith("Varnolt"));
    rig.frame.action(kCmdStop)->trigger();
    QVERIFY(!rig.document.measuring());
    QCOMPARE(rig.frame.windowTitle(), QString("Varnolt* - Varnolt"));

    rig.prompt.answers = {PromptAnswer::Cancel};
    rig.frame.action(kCmdStart)->trigger();
    QVERIFY(!rig.document.measuring());
    QCOMPARE(rig.prompt.entries.back().text, std::string(kUnsavedCaptureQuestion));
}

QTEST_MAIN(FrameConnectionTest)
#include "FrameConnectionTest.moc"
