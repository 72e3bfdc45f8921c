#include "ui/view/CapturePrinter.h"

#include "core/capture/CCaptureData.h"
#include "core/view/ViewLayout.h"
#include "ui/platform/Resources.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace varnolt;

// Printing a capture to PDF: the page count the layout gives, and one PDF page for each.
class CapturePrinterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::InitResources(); }
    void printsEveryPageToPdf();
};

void CapturePrinterTest::printsEveryPageToPdf() {
    CCaptureData capture(20000);
    for (int i = 0; i < 12000; ++i) {
        const uint32_t kind = i % 3 == 0 ? 0x20000000u : 0x10000000u;
        capture.Append(kind | uint32_t(0x41 + i % 26) << 16, 0);
    }
    ViewLayout layout;
    layout.setDisplay({DisplayMode::Continuous, 0, 0});
    ui::CapturePrinter printer(layout, capture, "/tmp/測定.tvd");

    QTemporaryDir dir;
    const QString path = dir.filePath("capture.pdf");
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    const int pages = printer.pageCount(pdf);
    QVERIFY(pages > 1);
    printer.Print(pdf);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r")) +
                 int(bytes.count("/Type /Page ")),
             pages);
    if (qEnvironmentVariableIsSet("VARNOLT_KEEP_PDF")) {
        QFile::copy(path, qEnvironmentVariable("VARNOLT_KEEP_PDF"));
    }
}

QTEST_MAIN(CapturePrinterTest)
#include "CapturePrinterTest.moc"
