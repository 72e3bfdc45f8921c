#include "core/link/protocol/CMoniterComm.h"
#include "core/platform/MemoryConfigStore.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/shell/LinkSettingsRemote.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "ui/frame/CMainFrame.h"
#include "ui/settings/CProgressStatusBar.h"
#include "ui/settings/CSaParameterDlg.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>

#include "../core/link/SimulatedLink.h"
#include "ModalSteps.h"

using namespace varnolt;

namespace {

using testing::WhenShown;

QAbstractButton* ButtonNamed(QWidget& parent, const QString& text) {
    for (QAbstractButton* button : parent.findChildren<QAbstractButton*>()) {
        if (button->text() == text && button->isVisibleTo(&parent)) {
            return button;
        }
    }
    return nullptr;
}

void Ok(QDialog& dialog) {
    QAbstractButton* ok = ButtonNamed(dialog, "OK");
    QVERIFY(ok != nullptr);
    ok->click();
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void okFromTheMenuHandsTheEditedSettingsToTheDocument();
    void arbitrarySpeedThroughTheSpeedDialog();
    void remoteWriteShowsItsProgressAndFinishes();
    void fileSaveAddsTheSuffixBeforeAskingToOverwrite();
    void settingsFileGivenToTheProgramOpensInTheDialog();

private:
    testing::TempDir settingsDir_;
};

// "設定" from the menu, with the link connected: the dialog opens with the link busy, a changed
// page reaches the document on OK, and the view's display mode follows.
void SettingsDialogTest::okFromTheMenuHandsTheEditedSettingsToTheDocument() {
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    testing::SimulatedLink sim;
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    document.AttachLink(
        LinkServices{sim.bridge, sim.portPrompt, sim.clock, sim.time, sim.cursor, &sim.ring});
    frame.show();

    bool busyWhileOpen = false;
    WhenShown<ui::CSaParameterDlg>([&](ui::CSaParameterDlg& dialog) {
        busyWhileOpen = document.link()->busy();
        auto* tabs = dialog.findChild<QTabWidget*>("pages");
        tabs->setCurrentIndex(5);
        QAbstractButton* frameMode = ButtonNamed(*tabs->currentWidget(), "フレーム");
        QVERIFY(frameMode != nullptr);
        frameMode->click();
        tabs->setCurrentIndex(3);
        auto* timer1 = tabs->currentWidget()->findChild<QLineEdit*>("setValue1");
        timer1->selectAll();
        QTest::keyClicks(timer1, "1234");
        Ok(dialog);
    });
    frame.action(kCmdSettings)->trigger();

    QCOMPARE(busyWhileOpen, true);
    QCOMPARE(document.link()->busy(), false);
    QCOMPARE(document.settings().displayMode, 1);
    QCOMPARE(document.settings().timers[0].setValue, 1234U);
    QVERIFY(document.displayState().mode == DisplayMode::Frame);
    QVERIFY(prompt.entries.empty());
    // "vrn.ini" holds the accepted settings at once, not only when the program ends.
    CSaParameter onDisk;
    QVERIFY(onDisk.LoadFile(document.settingsFilePath(), prompt));
    QCOMPARE(onDisk.displayMode, 1);
    QCOMPARE(onDisk.timers[0].setValue, 1234U);
}

// "その他" opens the speed dialog; Enter shows the real speed without closing, OK returns the
// speed to the page.
void SettingsDialogTest::arbitrarySpeedThroughTheSpeedDialog() {
    testing::RecordingPrompt prompt;
    ui::CSaParameterDlg dialog(CSaParameter{}, {}, prompt);
    dialog.show();
    QTRY_VERIFY(dialog.pagesLoaded());
    QString actual;
    WhenShown<QDialog>([&](QDialog& speed) {
        auto* edit = speed.findChild<QLineEdit*>("speedEdit");
        QVERIFY(edit != nullptr);
        QVERIFY(edit->isReadOnly()); // the page's 9600 is a listed speed
        ButtonNamed(speed, "任意")->click();
        QCOMPARE(edit->text(), QString("9600"));
        QVERIFY(!edit->isReadOnly());
        edit->selectAll();
        QTest::keyClicks(edit, "12345");
        QTest::keyClick(edit, Qt::Key_Return);
        actual = speed.findChild<QLabel*>("actualSpeed")->text();
        QVERIFY(speed.isVisible());
        Ok(speed);
    });
    QAbstractButton* other = ButtonNamed(dialog, "その他");
    QVERIFY(other != nullptr);
    other->click();
    QCOMPARE(actual, QString("実際の通信速度： 12370　誤差：  0.203%"));
    QCOMPARE(dialog.findChild<QLineEdit*>("otherSpeed")->text(), QString("12345"));
    Ok(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.settings().speed, 12345U);
}

// "リモート書込" writes the pages to the virtual analyzer and says so in the status bar.
void SettingsDialogTest::remoteWriteShowsItsProgressAndFinishes() {
    testing::RecordingPrompt prompt;
    testing::SimulatedLink sim;
    LinkSettingsRemote remote(sim.link, prompt);
    SettingsDialogModel::Context context;
    context.connected = true;
    context.remote = &remote;
    ui::CSaParameterDlg dialog(CSaParameter{}, context, prompt);
    dialog.show();
    QTRY_VERIFY(dialog.pagesLoaded());
    ButtonNamed(dialog, "リモート書込")->click();
    QCOMPARE(sim.requests().size(), size_t{27});
    auto* status = dialog.findChild<ui::CProgressStatusBar*>();
    QCOMPARE(status->text(), QString("書込完了"));
    QCOMPARE(status->progress(), 0);
}

// "ファイル保存" with "foo" typed while "foo.tvs" exists: the dialog asks about "foo.tvs" before
// anything is written, and "いいえ" leaves it as it was.
void SettingsDialogTest::fileSaveAddsTheSuffixBeforeAskingToOverwrite() {
    testing::TempDir dir;
    const QString existing = QString::fromStdString((dir / "foo.tvs").string());
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("old");
    file.close();
    testing::RecordingPrompt prompt;
    ui::CSaParameterDlg dialog(CSaParameter{}, {}, prompt);
    dialog.show();
    QTest::qWait(20);
    const QString bare = QString::fromStdString((dir / "foo").string());

    QString question;
    testing::SaveFileAs(bare, QMessageBox::No, &question);
    ButtonNamed(dialog, "ファイル保存")->click();
    QVERIFY2(question.contains("foo.tvs"), qPrintable(question));
    QCOMPARE(QFileInfo(existing).size(), 3);

    question.clear();
    testing::SaveFileAs(bare, QMessageBox::Yes, &question);
    ButtonNamed(dialog, "ファイル保存")->click();
    QVERIFY(!question.isEmpty());
    QCOMPARE(QFileInfo(existing).size(), 13812);
    QVERIFY(!QFileInfo::exists(bare));
    QVERIFY(prompt.entries.empty());
}

// A settings file named on the command line: the dialog opens with the file's settings loaded,
// and OK hands them to the document; a file that cannot be read is reported, and OK then keeps
// the settings the document had.
void SettingsDialogTest::settingsFileGivenToTheProgramOpensInTheDialog() {
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    frame.show();
    testing::TempDir files;
    CSaParameter saved;
    saved.displayMode = 1;
    saved.timers[0].setValue = 4321;
    QVERIFY(saved.SaveFile(files / "line.tvs", prompt));

    // OK is pressed only after the dialog's own steps on opening, which load the file.
    const auto okOnceOpened = [](ui::CSaParameterDlg& dialog) {
        QTimer::singleShot(0, &dialog, [&dialog] { Ok(dialog); });
    };
    WhenShown<ui::CSaParameterDlg>(okOnceOpened);
    frame.RunSettings(files / "line.tvs");
    QCOMPARE(document.settings().displayMode, 1);
    QCOMPARE(document.settings().timers[0].setValue, 4321U);
    QVERIFY(prompt.entries.empty());

    WhenShown<ui::CSaParameterDlg>(okOnceOpened);
    frame.RunSettings(files / "missing.tvs");
    QCOMPARE(prompt.texts(),
             std::vector<std::string>{
                 "ファイルが見つかりません。\nファイル名を確認して再実行してください。"});
    QCOMPARE(document.settings().timers[0].setValue, 4321U);
}

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
