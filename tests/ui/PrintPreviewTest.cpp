#include "core/capture/CCaptureData.h"
#include "core/view/ViewLayout.h"
#include "ui/platform/Resources.h"
#include "ui/print/CPrintPreviewDlg.h"
#include "ui/print/PrintWithProgress.h"
#include "ui/view/CapturePrinter.h"

#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace varnolt;

namespace {

constexpr RecordCount kLargeCapture = 2'000'000;

// Frame lines of one to sixteen characters, alternating SD and RD.
std::unique_ptr<CCaptureData> LargeFrameCapture() {
    auto capture = std::make_unique<CCaptureData>(kLargeCapture);
    for (RecordCount i = 0; i < kLargeCapture; ++i) {
        const uint32_t kind = (i / 16) % 2 == 0 ? 0x10000000u : 0x20000000u;
        capture->Append(kind | uint32_t(0x41 + i % 26) << 16, 0);
    }
    return capture;
}

int PdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray bytes = file.readAll();
    return int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
               bytes.count("/Type /Page "));
}

} // namespace

// The print preview and printing of a capture of thousands of pages: the preview paints only the
// page it shows and finds the page count in the background; a print can be cancelled.
class PrintPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void opensAtPageOneBeforeTheCountIsKnown();
    void navigationReachesTheLastPage();
    void turningThePaperCountsThePagesAgain();
    void cancelStopsAPrintAfterThePagesSent();

private:
    std::unique_ptr<CCaptureData> capture_;
    ViewLayout layout_;
    QPrinter printer_{QPrinter::HighResolution};
    int pages_ = 0;
};

void PrintPreviewTest::initTestCase() {
    ui::InitResources();
    capture_ = LargeFrameCapture();
    layout_.ResetLayout(*capture_, {DisplayMode::Frame, 0, 0}, {800, 600});
    printer_.setPageSize(QPageSize(QPageSize::A4));
    printer_.setOutputFormat(QPrinter::PdfFormat);
    ui::CapturePrinter counting(layout_, *capture_, "/tmp/大.tvd");
    pages_ = counting.pageCount(printer_);
    QVERIFY(pages_ > 1000);
}

void PrintPreviewTest::opensAtPageOneBeforeTheCountIsKnown() {
    ui::CapturePrinter capturePrinter(layout_, *capture_, "/tmp/大.tvd");
    ui::CPrintPreviewDlg preview(capturePrinter, printer_);
    // Opening walked only as far as page 1 needs: the count is still being worked out.
    QVERIFY(!capturePrinter.pagination(printer_).complete());
    QCOMPARE(preview.pageText(), QString("1 / … ページ"));
    QVERIFY(!preview.sheet().image().isNull());
    preview.show();
    QTRY_COMPARE(preview.pageText(), QString("1 / %1 ページ").arg(pages_));
}

void PrintPreviewTest::navigationReachesTheLastPage() {
    ui::CapturePrinter capturePrinter(layout_, *capture_, "/tmp/大.tvd");
    ui::CPrintPreviewDlg preview(capturePrinter, printer_);
    preview.show();
    QApplication::setActiveWindow(&preview);
    QVERIFY(QTest::qWaitForWindowActive(&preview));
    const QImage first = preview.sheet().image();
    preview.NextPage();
    QCOMPARE(preview.model().page(), 2);
    QVERIFY(preview.sheet().image() != first);
    preview.LastPage();
    QCOMPARE(preview.pageText(), QString("%1 / %1 ページ").arg(pages_));
    QVERIFY(!preview.model().canGoForward());
    preview.NextPage();
    QCOMPARE(preview.model().page(), pages_);
    QTest::keyClick(&preview, Qt::Key_PageUp);
    QCOMPARE(preview.model().page(), pages_ - 1);
    QTest::keyClick(&preview, Qt::Key_Home);
    QCOMPARE(preview.model().page(), 1);
    QCOMPARE(preview.sheet().image(), first);
}

void PrintPreviewTest::turningThePaperCountsThePagesAgain() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    ui::CapturePrinter capturePrinter(layout_, *capture_, "/tmp/大.tvd");
    ui::CPrintPreviewDlg preview(capturePrinter, printer);
    preview.show();
    preview.LastPage();
    QAction* landscape = nullptr;
    for (QAction* action : preview.findChildren<QAction*>()) {
        if (action->text() == "横") {
            landscape = action;
        }
    }
    QVERIFY(landscape != nullptr);
    landscape->trigger();
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    QPrinter wide(QPrinter::HighResolution);
    wide.setOutputFormat(QPrinter::PdfFormat);
    wide.setPageSize(QPageSize(QPageSize::A4));
    wide.setPageOrientation(QPageLayout::Landscape);
    const int widePages = ui::CapturePrinter(layout_, *capture_, "").pageCount(wide);
    QVERIFY(widePages != pages_);
    QTRY_COMPARE(preview.model().pageCount(), std::optional<int32_t>(widePages));
}

void PrintPreviewTest::cancelStopsAPrintAfterThePagesSent() {
    const RecordCount records = capture_->Count();
    QTemporaryDir dir;
    const QString path = dir.filePath("large.pdf");
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    ui::CapturePrinter capturePrinter(layout_, *capture_, "/tmp/大.tvd");

    bool cancelled = false;
    QTimer canceller;
    connect(&canceller, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<QProgressDialog*>(widget);
            if (progress != nullptr && progress->isVisible() && !cancelled) {
                QVERIFY(progress->labelText().startsWith("印刷中: "));
                progress->cancel();
                cancelled = true;
            }
        }
    });
    canceller.start(20);
    QVERIFY(!ui::PrintWithProgress(capturePrinter, pdf, nullptr));
    QVERIFY(cancelled);
    const int printed = PdfPages(path);
    QVERIFY2(printed > 0 && printed < pages_, qPrintable(QString::number(printed)));
    QCOMPARE(capture_->Count(), records);
}

QTEST_MAIN(PrintPreviewTest)
#include "PrintPreviewTest.moc"
