// Every saved fuzz input of the capture-file and settings-file readers, opened the way the user
// opens a file: a capture through the main frame's open path (the one "開く", a recent file and
// a dropped file take), a settings file through the settings dialog's "ファイル読出". Each is
// either read or reported, and the program keeps what it held and goes on working.
#include "core/capture/CCaptureData.h"
#include "core/capture/CaptureFileWriter.h"
#include "core/platform/MemoryConfigStore.h"
#include "core/settings/CSaParameter.h"
#include "core/shell/CVarnoltDoc.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "ui/frame/CMainFrame.h"
#include "ui/settings/CSaParameterDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

using namespace varnolt;

namespace {

// The saved inputs of the fuzz target NAME, read from the source tree at run time.
std::vector<std::filesystem::path> Corpus(const char* name) {
    const char* testData = std::getenv("VARNOLT_TEST_DATA"); // the source tree's tests/data
    const std::filesystem::path folder =
        std::filesystem::path(testData != nullptr ? testData : "tests/data")
            .parent_path()
            .parent_path() /
        "fuzz" / "corpus" / name;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A capture file of five records in PATH.
void WriteFiveRecords(const std::filesystem::path& path) {
    testing::RecordingPrompt prompt;
    CCaptureData store(16);
    for (uint32_t k = 0; k < 5; ++k) {
        store.Append(0x1041'0000U + (k << 16), static_cast<int32_t>(k));
    }
    const CaptureSaveRange range{SaveSource::Ring, store.firstIndex(), store.lastIndex()};
    QVERIFY(WriteCaptureFile(path, store.header(), 0, store, range, prompt));
}

// Chooses PATH in the next file dialog once it shows.
void ChooseInFileDialog(const std::filesystem::path& path) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        dialog->selectFile(QString::fromStdString(path.string()));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    timer->start();
}

QAbstractButton* ButtonNamed(QWidget& parent, const QString& text) {
    for (QAbstractButton* button : parent.findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

} // namespace

class DamagedFilesTest : public QObject {
    Q_OBJECT

private slots:
    void damagedCapturesAreReportedAndTheHeldCaptureStays();
    void damagedSettingsFilesAreReportedAndTheDialogGoesOn();

private:
    testing::TempDir dir_;
};

void DamagedFilesTest::damagedCapturesAreReportedAndTheHeldCaptureStays() {
    const auto good = dir_ / "good.tvd";
    WriteFiveRecords(good);
    testing::RecordingPrompt prompt;
    MemoryConfigStore config;
    CVarnoltDoc document(prompt, dir_.path());
    ui::CMainFrame frame(document, config, prompt);
    frame.show();
    QVERIFY(frame.OpenDocument(good));

    const auto inputs = Corpus("capture_reader");
    QVERIFY(inputs.size() > 10);
    int refused = 0;
    for (const auto& input : inputs) {
        const QByteArray name = QByteArray::fromStdString(input.filename().string());
        prompt.entries.clear();
        if (frame.OpenDocument(input)) {
            // Read, or read up to where it ends early (which the reader reports and keeps):
            // it is the capture now; start again from the good one.
            QCOMPARE(document.pathName(), std::filesystem::absolute(input));
            QVERIFY(frame.OpenDocument(good));
            continue;
        }
        ++refused;
        QVERIFY2(!prompt.entries.empty(), name + " was refused without a message");
        QCOMPARE(document.pathName(), std::filesystem::absolute(good));
        QCOMPARE(document.capture().Count(), 5);
        QCOMPARE(document.capture().word(4), 0x1045'0000U);
        QVERIFY(frame.windowTitle().startsWith("good.tvd"));
        QApplication::processEvents(); // the window repaints what it holds
    }
    QVERIFY(refused > 0);

    // Still working: a good capture opens and the damaged ones left no trace in the list.
    QVERIFY(frame.NewDocument());
    prompt.entries.clear();
    QVERIFY(frame.OpenDocument(good));
    QVERIFY(prompt.entries.empty());
}

void DamagedFilesTest::damagedSettingsFilesAreReportedAndTheDialogGoesOn() {
    testing::RecordingPrompt prompt;
    ui::CSaParameterDlg dialog(CSaParameter{}, {}, prompt);
    dialog.show();
    QTRY_VERIFY(dialog.pagesLoaded());
    QAbstractButton* read = ButtonNamed(dialog, "ファイル読出");
    QVERIFY(read != nullptr);

    const auto inputs = Corpus("settings_file");
    QVERIFY(inputs.size() > 10);
    int reported = 0;
    for (const auto& input : inputs) {
        prompt.entries.clear();
        ChooseInFileDialog(input);
        read->click();
        reported += prompt.entries.empty() ? 0 : 1;
        QVERIFY(dialog.isVisible());
    }
    QVERIFY(reported > 0);

    // Still working: a settings file written now reads back into the pages.
    CSaParameter written;
    written.speed = 115'200;
    const auto path = dir_ / "written.tvs";
    written.SaveFile(path, prompt);
    prompt.entries.clear();
    ChooseInFileDialog(path);
    read->click();
    QVERIFY(prompt.entries.empty());
    ButtonNamed(dialog, "OK")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.settings().speed, 115'200U);
}

QTEST_MAIN(DamagedFilesTest)
#include "DamagedFilesTest.moc"
