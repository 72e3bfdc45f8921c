#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/capture/CaptureSaver.h"
#include "core/platform/MemoryConfigStore.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/shell/UnsavedCapture.h"
#include "support/RecordingPrompt.h"
#include "support/StalledFolder.h"
#include "support/TempDir.h"
#include "ui/export/CExport.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/ToolbarCustomizeDialog.h"
#include "ui/platform/QtConfigStore.h"
#include "ui/view/CVarnoltView.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <fstream>

#include "ModalSteps.h"

using namespace varnolt;

namespace {

// Counts the presses of F3 and F that reach the widget it watches.
class KeyCounter final : public QObject {
public:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            presses += key == Qt::Key_F3 || key == Qt::Key_F ? 1 : 0;
        }
        return false;
    }
    int presses = 0;
};

// A capture file of three records in PATH.
void WriteThreeRecords(const std::filesystem::path& path) {
    testing::RecordingPrompt prompt;
    CCaptureData store(16);
    store.Append(0x10410000, 0);
    store.Append(0x20420000, 0);
    store.Append(0x10430000, 0);
    const CaptureSaveRange range{SaveSource::Ring, store.firstIndex(), store.lastIndex()};
    QVERIFY(WriteCaptureFile(path, store.header(), 0, store, range, prompt));
}

} // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void readsSettingsAtCreationAndWritesThemAtDestruction();
    void searchKeysNeedACaptureAndTheViewKeepsTheFocus();
    void lineStyleSwitchesWithoutRedrawWhenEmpty();
    void opensACaptureFileAndEnablesTheDataCommands();
    void everyCommandIconDrawsSomething();
    void exportFromTheMenuNamesTheCaptureInFull();
    void closingWithSavesPendingAsksWhetherToWait();
    void customizedToolbarIsShownAndKept();
    void saveAsAddsTheSuffixBeforeAskingToOverwrite();
    void receivedDataAsksBeforeItIsThrownAway();
    void userSettingsAreWrittenWhenTheyChange();

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

void MainFrameTest::searchKeysNeedACaptureAndTheViewKeepsTheFocus() {
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    frame.show();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QTRY_VERIFY(frame.view().hasFocus()); // Home, End, PageDown work without a click
    // Each key the frame takes opens the search dialog (no criteria yet); it is cancelled.
    int dialogs = 0;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&dialogs] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++dialogs;
            dialog->reject();
        }
    });
    cancel.start(5);
    KeyCounter reachedTheView;
    frame.view().installEventFilter(&reachedTheView);

    // Without a capture the keys are not the frame's: they go on to the focused widget.
    QTest::keyClick(&frame.view(), Qt::Key_F3);
    QTest::keyClick(&frame.view(), Qt::Key_F3, Qt::ShiftModifier);
    QTest::keyClick(&frame.view(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(dialogs, 0);
    QCOMPARE(reachedTheView.presses, 3);

    document.setHoldsCapture(true);
    for (const auto& [key, modifier] :
         {std::pair{Qt::Key_F3, Qt::NoModifier}, std::pair{Qt::Key_F3, Qt::ShiftModifier},
          std::pair{Qt::Key_F, Qt::ControlModifier}}) {
        frame.activateWindow(); // again after the dialog
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTest::keyClick(&frame.view(), key, modifier);
    }
    QCOMPARE(dialogs, 3);
    QCOMPARE(reachedTheView.presses, 3);
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QTRY_VERIFY(frame.view().hasFocus()); // back after the dialogs

    // Something else took the focus (a pane, a dialog handing it back to nothing): a file
    // operation and any command give it back to the view.
    const auto focusElsewhere = [&frame] {
        for (QWidget* widget : frame.findChildren<QWidget*>()) {
            if (widget != &frame.view() && widget->isVisible() &&
                (widget->focusPolicy() & Qt::TabFocus) != 0 && !frame.view().isAncestorOf(widget)) {
                widget->setFocus();
                return widget->hasFocus();
            }
        }
        frame.view().clearFocus();
        return true;
    };
    QVERIFY(focusElsewhere());
    QVERIFY(frame.NewDocument()); // as every file opened: the view lays the capture out afresh
    QVERIFY(frame.view().hasFocus());
    QVERIFY(focusElsewhere());
    frame.action(kCmdLinePatternFilled)->trigger();
    QVERIFY(frame.view().hasFocus());
}

void MainFrameTest::lineStyleSwitchesWithoutRedrawWhenEmpty() {
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    QSignalSpy updates(&frame.view(), &ui::CVarnoltView::laidOut);
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
    WriteThreeRecords(path);
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    QVERIFY(frame.OpenDocument(path));
    QCOMPARE(document.capture().Count(), 3);
    QVERIFY(frame.action(kCmdExport)->isEnabled());
    QVERIFY(frame.action(kCmdFileSave)->isEnabled());
    QVERIFY(!frame.action(kCmdControlLineView)->isEnabled());
    QVERIFY(frame.windowTitle().startsWith("three.tvd"));
    QVERIFY(prompt.entries.empty());

    // A recent file that has gone away: reported, and the capture, path and title stay.
    QVERIFY(!frame.OpenDocument(dir / "moved.tvd"));
    QCOMPARE(prompt.entries.size(), size_t{1});
    QCOMPARE(document.capture().Count(), 3);
    QVERIFY(document.holdsCapture());
    QCOMPARE(document.pathName(), path);
    QVERIFY(frame.windowTitle().startsWith("three.tvd"));
    QVERIFY(frame.action(kCmdExport)->isEnabled());
}

// A menu shows a ticked command with a tick only when its icon draws something, or when it has
// none at all.
void MainFrameTest::everyCommandIconDrawsSomething() {
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    for (const CommandText& command : AllCommandTexts()) {
        const QIcon icon = frame.action(command.id)->icon();
        QVERIFY2(icon.isNull() || !icon.pixmap(16).isNull(),
                 qPrintable(QString("command %1").arg(command.id)));
    }
}

// A capture opened by a relative name is exported with its full name in the "FileName" line.
void MainFrameTest::exportFromTheMenuNamesTheCaptureInFull() {
    // The relative name needs a current directory; the later tests get theirs back.
    const QString before = QDir::currentPath();
    const auto restore = qScopeGuard([&] { QDir::setCurrent(before); });
    QVERIFY(QDir::setCurrent(QString::fromStdString(settingsDir_.path().string())));
    WriteThreeRecords("relative.tvd");
    const QString out = QDir::current().absoluteFilePath("relative.txt");
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    QVERIFY(frame.OpenDocument("relative.tvd"));

    bool exported = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<ui::CExport*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            dialog->fileNameEdit()->setText(out);
            dialog->executeButton()->click();
            exported = true;
            dialog->cancelButton()->click();
        }
    });
    frame.action(kCmdExport)->trigger();
    QVERIFY(exported);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString expected =
        "FileName:" + QDir::current().absoluteFilePath("relative.tvd") + "\r\n";
    QCOMPARE(QString::fromLocal8Bit(file.readLine()), expected);
}

// Files still being written when the window closes: "キャンセル" keeps it open, "いいえ" gives
// the waiting ones up, "はい" waits for all of them.
void MainFrameTest::closingWithSavesPendingAsksWhetherToWait() {
    const struct {
        PromptAnswer answer;
        bool closes;
        size_t written;
    } cases[] = {{PromptAnswer::Cancel, false, 3},
                 {PromptAnswer::No, true, 1},
                 {PromptAnswer::Yes, true, 3}};
    for (const auto& c : cases) {
        testing::RecordingPrompt prompt;
        MemoryConfigStore config;
        CVarnoltDoc document(prompt, settingsDir_.path());
        testing::StalledFolder folder;
        CaptureSaver& saver = document.capture().saver();
        saver.setFolder(settingsDir_.path());
        saver.setFileWriter(folder.writer());
        document.capture().Append(0x10410000, 0);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(document.capture().StartSave(SaveRequest::Trigger, 0, 0));
        }
        // The first file is being written, the other two wait.
        folder.WaitUntilWriting();
        {
            ui::CMainFrame frame(document, config, prompt);
            frame.show();
            prompt.answers = {c.answer};
            // The folder comes back while the window waits (after "はい").
            QTimer::singleShot(200, &frame, [&] { folder.Release(); });
            QCOMPARE(frame.close(), c.closes);
            QCOMPARE(prompt.entries.size(), size_t{1});
            QCOMPARE(prompt.entries[0].caption, std::string("確認"));
            folder.Release();
            saver.WaitIdle();
        }
        QCOMPARE(folder.written.size(), c.written);
    }
}

// The customize dialog takes "新規作成" off the toolbar and puts it at the end; the next
// start of the program shows the same toolbar.
void MainFrameTest::customizedToolbarIsShownAndKept() {
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    const auto buttonsOf = [](const ui::CMainFrame& frame) {
        QList<int> ids;
        for (const QAction* action : frame.findChild<QToolBar*>()->actions()) {
            if (!action->isSeparator() && action->data().isValid()) {
                ids << action->data().toInt();
            }
        }
        return ids;
    };
    QList<int> expected;
    {
        ui::CMainFrame frame(document, config, prompt);
        expected = buttonsOf(frame);
        QCOMPARE(expected.front(), int{kCmdFileNew});
        expected.removeFirst();
        expected << kCmdFileNew;

        QTimer::singleShot(0, [&] {
            auto* dialog =
                qobject_cast<ui::ToolbarCustomizeDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            dialog->toolbarList()->setCurrentRow(0);
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text().startsWith("← 削除")) {
                    button->click();
                }
            }
            dialog->toolbarList()->setCurrentRow(dialog->toolbarList()->count() - 1);
            dialog->availableList()->setCurrentRow(0);
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text().startsWith("追加")) {
                    button->click();
                }
            }
            dialog->accept();
        });
        frame.action(kCmdToolbarCustomize)->trigger();
        QCOMPARE(buttonsOf(frame), expected);
    }
    ui::CMainFrame again(document, config, prompt);
    QCOMPARE(buttonsOf(again), expected);
}

// "名前を付けて保存" with "data" typed while "data.tvd" exists: the dialog asks about
// "data.tvd" before anything is written.
void MainFrameTest::saveAsAddsTheSuffixBeforeAskingToOverwrite() {
    testing::TempDir dir;
    const auto existing = dir / "data.tvd";
    std::ofstream(existing, std::ios::binary) << "old";
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    document.capture().Append(0x10410000, 0);
    ui::CMainFrame frame(document, config, prompt);
    frame.show();
    const QString bare = QString::fromStdString((dir / "data").string());

    QString question;
    testing::SaveFileAs(bare, QMessageBox::No, &question);
    frame.action(kCmdFileSaveAs)->trigger();
    QVERIFY2(question.contains("data.tvd"), qPrintable(question));
    QCOMPARE(std::filesystem::file_size(existing), 3u);

    testing::SaveFileAs(bare, QMessageBox::Yes, &question);
    frame.action(kCmdFileSaveAs)->trigger();
    QCOMPARE(std::filesystem::file_size(existing), 299u + 4u);
    QCOMPARE(document.pathName(), existing);
    QVERIFY(!std::filesystem::exists(dir / "data"));
}

// Records received from the analyzer and on no file: "新規作成", closing and the other commands
// that throw them away ask first. "キャンセル" keeps them, "保存" saves them first, "保存しない"
// lets them go; with the option off nothing is asked.
void MainFrameTest::receivedDataAsksBeforeItIsThrownAway() {
    testing::TempDir dir;
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    frame.show();
    const auto receive = [&] {
        document.OnNewReceivedCapture(false);
        document.capture().Append(0x10410000, 0);
        frame.RefreshCommandStates();
    };
    receive();
    prompt.answers = {PromptAnswer::Cancel};
    frame.action(kCmdFileNew)->trigger();
    QCOMPARE(document.capture().Count(), 1);
    QCOMPARE(prompt.entries.back().text, std::string(kUnsavedCaptureQuestion));
    QCOMPARE(prompt.entries.back().buttons, PromptButtons::SaveDiscardCancel);
    prompt.answers = {PromptAnswer::Cancel};
    QVERIFY(!frame.close());

    const auto saved = dir / "measured.tvd";
    prompt.answers = {PromptAnswer::Save};
    QString none;
    testing::SaveFileAs(QString::fromStdString(saved.string()), QMessageBox::No, &none);
    frame.action(kCmdFileNew)->trigger();
    QVERIFY(std::filesystem::exists(saved));
    QCOMPARE(document.capture().Count(), 0);
    QVERIFY(document.pathName().empty());

    receive();
    QCOMPARE(frame.windowTitle(), QString("Varnolt* - Varnolt"));
    prompt.answers = {PromptAnswer::Discard};
    frame.action(kCmdFileNew)->trigger();
    QCOMPARE(document.capture().Count(), 0);
    QCOMPARE(frame.windowTitle(), QString("Varnolt - Varnolt"));

    receive();
    frame.settings().saveAskFlg = 0;
    const size_t asked = prompt.entries.size();
    frame.action(kCmdFileNew)->trigger();
    QCOMPARE(document.capture().Count(), 0);
    QCOMPARE(prompt.entries.size(), asked);
}

// A changed option reaches the configuration file at once, not only when the program ends.
void MainFrameTest::userSettingsAreWrittenWhenTheyChange() {
    testing::TempDir dir;
    const QString ini = QString::fromStdString((dir / "Varnolt.conf").string());
    WriteThreeRecords(dir / "three.tvd");
    testing::RecordingPrompt prompt;
    ui::QtConfigStore config(ini);
    CVarnoltDoc document(prompt, settingsDir_.path());
    ui::CMainFrame frame(document, config, prompt);
    QVERIFY(frame.OpenDocument(dir / "three.tvd"));
    frame.action(kCmdHexView)->trigger();
    const QSettings onDisk(ini, QSettings::IniFormat);
    QCOMPARE(onDisk.value("Settings/HexView").toInt(), 1);
    QCOMPARE(onDisk.value("Recent File List/File1").toString(),
             QString::fromStdString((dir / "three.tvd").string()));
}

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
