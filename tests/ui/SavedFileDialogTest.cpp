#include "core/link/savedfile/SavedFileMessages.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "ui/savedfile/CMoniterReceive.h"
#include "ui/savedfile/CSaveDig.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "../core/link/SimulatedLink.h"

using namespace varnolt;

// The saved-file dialog against the virtual analyzer: it shows what the reception decides and
// drives its transfers from the event loop.
class SavedFileDialogTest : public QObject {
    Q_OBJECT

private slots:
    void listsAndReceivesTheSelectedFiles();
    void theCloseBoxStopsARunningDownloadFirst();
    void saveDigReturnsTheChoiceOfItsButtonAndCheckBox();
};

namespace {

// The machine may be busy: the transfers get time enough.
constexpr int kPatienceMs = 60'000;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The analyzer's side on a manual clock that moves while the event loop runs.
struct Rig {
    Rig() {
        QVERIFY(sim.link.SetRemote(&sim.owner, 1));
        clock.setInterval(1);
        QObject::connect(&clock, &QTimer::timeout, [this] { sim.time.pump(); });
        clock.start();
        dialog.setFolderChooser([this] { return QString::fromStdString(folder.path().string()); });
        dialog.show();
    }

    bool sent(const std::string& request) const {
        const std::vector<std::string> all = sim.requests();
        return std::find(all.begin(), all.end(), request) != all.end();
    }

    void select(std::initializer_list<int> rows) {
        dialog.list()->clearSelection();
        for (const int row : rows) {
            dialog.list()->topLevelItem(row)->setSelected(true);
        }
    }

    testing::SimulatedLink sim;
    testing::RecordingPrompt prompt;
    testing::TempDir folder;
    QTimer clock;
    ui::CMoniterReceive dialog{sim.link, prompt};
};

} // namespace

void SavedFileDialogTest::listsAndReceivesTheSelectedFiles() {
    Rig rig;
    QCOMPARE(rig.dialog.windowTitle(), Text(kSavedFileDialogTitle));
    QTRY_COMPARE_WITH_TIMEOUT(rig.dialog.list()->topLevelItemCount(), 6, kPatienceMs);
    QTreeWidgetItem* header = rig.dialog.list()->headerItem();
    QCOMPARE(header->text(0), QStringLiteral("ファイル名"));
    QCOMPARE(header->text(3), QStringLiteral("番号"));
    QTreeWidgetItem* first = rig.dialog.list()->topLevelItem(0);
    QCOMPARE(first->text(3), QStringLiteral("9999"));
    QCOMPARE(first->text(1), QStringLiteral("2026/12/10 10:30"));
    QCOMPARE(rig.dialog.statusLine()->text(), Text(kSelectDataStatus));
    QTRY_VERIFY_WITH_TIMEOUT(rig.dialog.receiveButton()->isEnabled(), kPatienceMs);

    rig.select({1, 2});
    QTest::mouseClick(rig.dialog.receiveButton(), Qt::LeftButton);
    QVERIFY(!rig.dialog.receiveButton()->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(rig.dialog.statusLine()->text(), Text(kReceiveCompleteMessage),
                              kPatienceMs);
    QVERIFY(rig.dialog.receiveButton()->isEnabled());
    QCOMPARE(rig.dialog.progressBar()->value(), rig.dialog.progressBar()->maximum());
    QVERIFY(std::filesystem::exists(rig.folder / "LINE_V2.tvd"));
    QVERIFY(std::filesystem::exists(rig.folder / "LINE_V3.tvd"));
    QCOMPARE(rig.prompt.texts(), std::vector<std::string>{std::string(kReceiveCompleteMessage)});
    QVERIFY(rig.dialog.isVisible());
}

void SavedFileDialogTest::theCloseBoxStopsARunningDownloadFirst() {
    Rig rig;
    QTRY_VERIFY_WITH_TIMEOUT(rig.dialog.list()->topLevelItemCount() == 6 &&
                                 rig.dialog.receiveButton()->isEnabled(),
                             kPatienceMs);
    rig.select({0});
    QTest::mouseClick(rig.dialog.receiveButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(rig.dialog.progressBar()->value() > 0, kPatienceMs);
    rig.dialog.reject();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.dialog.isVisible(), kPatienceMs);
    QVERIFY(rig.sent("ESC"));
    QCOMPARE(rig.prompt.texts(), std::vector<std::string>{std::string(kCancelledMessage)});
    QVERIFY(!std::filesystem::exists(rig.folder / "LASTRUN.tvd"));
}

void SavedFileDialogTest::saveDigReturnsTheChoiceOfItsButtonAndCheckBox() {
    struct Case {
        SaveDigButton button;
        bool sameForLater;
        SaveChoice choice;
    };
    const Case cases[] = {
        {SaveDigButton::Overwrite, false, SaveChoice::Overwrite},
        {SaveDigButton::Overwrite, true, SaveChoice::OverwriteAll},
        {SaveDigButton::Skip, false, SaveChoice::Skip},
        {SaveDigButton::Skip, true, SaveChoice::SkipAll},
        {SaveDigButton::Cancel, true, SaveChoice::Cancel},
    };
    for (const Case& c : cases) {
        ui::CSaveDig dialog(kOverwriteQuestion, "ファイル名：PLC_V4");
        QCOMPARE(dialog.windowTitle(), QStringLiteral("保存"));
        dialog.show();
        if (c.sameForLater) {
            QTest::mouseClick(dialog.sameForLaterBox(), Qt::LeftButton);
        }
        QPushButton* button = c.button == SaveDigButton::Overwrite ? dialog.overwriteButton()
                              : c.button == SaveDigButton::Skip    ? dialog.skipButton()
                                                                   : dialog.cancelButton();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(dialog.choice(), c.choice);
        QVERIFY(!dialog.isVisible());
    }
}

QTEST_MAIN(SavedFileDialogTest)
#include "SavedFileDialogTest.moc"
