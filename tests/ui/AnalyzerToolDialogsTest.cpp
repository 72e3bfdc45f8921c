#include "core/link/firmware/FirmwareTexts.h"
#include "core/link/screencapture/ScreenCaptureTexts.h"
#include "sim/FirmwareImage.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "ui/firmware/CMoniterProgramUp.h"
#include "ui/screencapture/CMoniterCapture.h"
#include "ui/screencapture/ScreenPictureView.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fstream>

#include "../core/link/SimulatedLink.h"

using namespace varnolt;

// The screen-capture and firmware-update dialogs against the virtual analyzer, driven through
// their buttons as the user does.
class AnalyzerToolDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void captureThenCopyPutsTheFramedScreenOnTheClipboard();
    void firmwareCancelDuringTheTransferEndsTheUpdate();
};

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* Button(QWidget& dialog, std::string_view caption) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == Text(caption)) {
            return button;
        }
    }
    return nullptr;
}

QString Status(QWidget& dialog) {
    return dialog.findChild<QLabel*>("status")->text();
}

// A link's services on the test's own virtual analyzer.
LinkServices Services(testing::SimulatedLink& sim) {
    return LinkServices{sim.bridge, sim.portPrompt, sim.clock, sim.time, sim.cursor, &sim.ring};
}

} // namespace

void AnalyzerToolDialogsTest::captureThenCopyPutsTheFramedScreenOnTheClipboard() {
    testing::SimulatedLink sim;
    testing::RecordingPrompt prompt;
    ui::CMoniterCapture dialog(Services(sim), prompt);
    dialog.show();
    QApplication::clipboard()->clear();
    // Nothing to copy or save before the first capture.
    QVERIFY(!Button(dialog, "コピー")->isEnabled());
    QVERIFY(!Button(dialog, "保存...")->isEnabled());

    Button(dialog, "キャプチャ")->click();
    QCOMPARE(Status(dialog), Text(kCaptureDoneText));
    QVERIFY(dialog.picture().hasImage());
    QVERIFY(prompt.entries.empty());
    QVERIFY(Button(dialog, "コピー")->isEnabled());

    Button(dialog, "コピー")->click();
    QCOMPARE(Status(dialog), Text(kCaptureCopiedText));
    const QImage copied = QApplication::clipboard()->image();
    QCOMPARE(copied.size(),
             QSize(ui::ScreenPictureView::kFrameWidth, ui::ScreenPictureView::kFrameHeight));
    // The screen sits inside the one-pixel frame, pixel for pixel.
    const QImage screen = dialog.picture().image().convertToFormat(QImage::Format_RGB32);
    const QImage inner =
        copied.convertToFormat(QImage::Format_RGB32).copy(1, 1, screen.width(), screen.height());
    QCOMPARE(inner, screen);
    QCOMPARE(QColor(copied.pixel(0, 0)), QColor(Qt::black));
}

void AnalyzerToolDialogsTest::firmwareCancelDuringTheTransferEndsTheUpdate() {
    testing::SimulatedLink sim;
    testing::RecordingPrompt prompt;
    testing::TempDir folder;
    const std::filesystem::path path = folder / "update.tvy";
    {
        const std::vector<uint8_t> image =
            sim::BuildFirmwareImage({.headerRecords = 3, .dataRecords = 400});
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(image.data()),
                  static_cast<std::streamsize>(image.size()));
    }
    std::string versionBefore;
    sim.firmware([&](sim::AnalyzerFirmware& state) { versionBefore = state.programVersion; });

    ui::CMoniterProgramUp dialog(Services(sim), prompt);
    QVERIFY(dialog.OnInitDialog());
    dialog.show();
    const std::u8string name = path.u8string();
    dialog.update().FileChosen(std::string(name.begin(), name.end()));
    QPushButton* cancel = Button(dialog, kCancelCaption);
    QVERIFY(cancel != nullptr);

    // The user presses "キャンセル" once the transfer shows, while the update runs.
    QTimer watcher;
    watcher.setInterval(0);
    bool pressed = false;
    connect(&watcher, &QTimer::timeout, [&] {
        if (!pressed && Status(dialog) == Text(kTransferringText) && cancel->isEnabled()) {
            pressed = true;
            cancel->click();
        }
    });
    watcher.start();
    Button(dialog, kUpdateCaption)->click();
    watcher.stop();

    QVERIFY(pressed);
    QCOMPARE(Status(dialog), Text(kUpdateCancelledText));
    QVERIFY(!prompt.entries.empty());
    QCOMPARE(prompt.entries.back().text, std::string(kUpdateCancelledMessage));
    QVERIFY(dialog.isVisible()); // the cancel ended the update, not the dialog
    const std::vector<std::string> sent = sim.requests();
    QCOMPARE(std::count(sent.begin(), sent.end(), "XEND"), 0);
    std::string versionAfter;
    sim.firmware([&](sim::AnalyzerFirmware& state) { versionAfter = state.programVersion; });
    QCOMPARE(versionAfter, versionBefore);

    // Not busy any more: "キャンセル" closes the dialog.
    cancel->click();
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(AnalyzerToolDialogsTest)
#include "AnalyzerToolDialogsTest.moc"
