// The program as a user starts it with "--port libftdi": the window's commands drive the
// libftdi1 backend, libusb and an FT232H emulated below them (umockdev), with the virtual
// analyzer behind the bridge. Needs umockdev's preload library (CTest sets LD_PRELOAD).
#include "core/capture/CCaptureData.h"
#include "core/platform/Clock.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/shell/Commands.h"
#include "sim/MeasurementEngine.h"
#include "sim/VirtualAnalyzer.h"
#include "support/TempDir.h"
#include "ui/app/CVarnoltApp.h"
#include "ui/frame/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "EmulatedUsbBus.h"

using namespace varnolt;

class UsbWindowTest : public QObject {
    Q_OBJECT

public:
    UsbWindowTest(ui::CVarnoltApp& app, sim::VirtualAnalyzer& analyzer,
                  const QStringList& boxesShown)
        : app_(app), analyzer_(analyzer), boxesShown_(boxesShown) {}

private slots:
    void connectMeasureStopThroughTheCommands();

private:
    ui::CVarnoltApp& app_;
    sim::VirtualAnalyzer& analyzer_;
    const QStringList& boxesShown_;
};

void UsbWindowTest::connectMeasureStopThroughTheCommands() {
    ui::CMainFrame& frame = *app_.mainFrame();
    CVarnoltDoc& document = *app_.document();

    frame.action(kCmdConnect)->trigger();
    QVERIFY(document.connected());
    frame.action(kCmdStart)->trigger();
    QVERIFY(document.measuring());
    QTest::qWait(1500); // the view's 10 ms timer receives what the analyzer records
    frame.action(kCmdStop)->trigger();
    QVERIFY(!document.measuring());

    std::vector<RecordWord> produced;
    analyzer_.WithFirmware(
        [&](sim::AnalyzerFirmware& state) { produced = state.measurement->produced(); });
    const CCaptureData& capture = document.capture();
    QVERIFY(capture.Count() > 1000);
    QVERIFY(static_cast<size_t>(capture.Count()) <= produced.size());
    for (RecordCount k = 0; k < capture.Count(); ++k) {
        QCOMPARE(capture.word(k), produced[static_cast<size_t>(k)]);
    }

    frame.action(kCmdDisconnect)->trigger();
    QVERIFY(!document.connected());
    QVERIFY2(boxesShown_.isEmpty(), qPrintable(boxesShown_.join(" / ")));
}

int main(int argc, char** argv) {
    if (!testing::EmulatedUsbBus::available()) {
        std::cout << "skipped: needs umockdev's preload library (LD_PRELOAD)\n";
        return 0;
    }
    QStandardPaths::setTestModeEnabled(true);
    // The document keeps its settings below the current directory.
    testing::TempDir folder;
    std::filesystem::current_path(folder.path());

    SteadyClock clock;
    sim::VirtualAnalyzer analyzer(clock);
    analyzer.WithFirmware([](sim::AnalyzerFirmware& state) {
        state.measurement->options().keepLog = true;
        state.measurement->options().traffic = sim::TrafficKind::Saturated;
    });
    testing::EmulatedUsbBus bus;
    bus.Plug(testing::Ft232hIdentity{}, &analyzer);

    char port[] = "--port";
    char backend[] = "libftdi";
    char* arguments[] = {argv[0], port, backend, nullptr};
    int count = 3;
    ui::CVarnoltApp app(count, arguments);
    if (!app.InitInstance()) {
        return 1;
    }
    // A message box would wait for a user: note its text and close it, so the test fails
    // instead of hanging.
    QStringList boxesShown;
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [&boxesShown] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            boxesShown
                << modal->findChild<QWidget*>("qt_msgbox_label")->property("text").toString();
            modal->close();
        }
    });
    watchdog.start(100);

    UsbWindowTest test(app, analyzer, boxesShown);
    char* testArguments[] = {argv[0], nullptr};
    return QTest::qExec(&test, 1, testArguments);
}

#include "UsbWindowTest.moc"
