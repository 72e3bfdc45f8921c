#include "core/capture/CCaptureData.h"
#include "support/RecordingPrompt.h"
#include "ui/export/CExport.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace varnolt;

class ExportDialogTest : public QObject {
    Q_OBJECT

private slots:
    void controlLineBoxOnlyForCapturesWithControlLines();
    void showsTheSettingsAndHandsBackTheChangedOnes();
    void executeWritesTheFileAndStaysOpen();
};

void ExportDialogTest::controlLineBoxOnlyForCapturesWithControlLines() {
    testing::RecordingPrompt prompt;
    const ExportSettings settings{50, ExportCharacterSize::FullWidth, true};
    for (const uint16_t width : {0, 1}) {
        CCaptureData data(8);
        data.header().recordWidth = width;
        ui::CExport dialog(data, {}, "", settings, prompt);
        QCOMPARE(dialog.controlLineBox()->isEnabled(), width == 1);
        QCOMPARE(dialog.controlLineBox()->isChecked(), width == 1);
    }
}

void ExportDialogTest::showsTheSettingsAndHandsBackTheChangedOnes() {
    testing::RecordingPrompt prompt;
    CCaptureData data(8);
    data.header().recordWidth = 1;
    ui::CExport dialog(data, {}, "", {30, ExportCharacterSize::HalfWidth, false}, prompt);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("ファイル出力"));
    QCOMPARE(dialog.lineLengthEdit()->text(), QStringLiteral("30"));
    QCOMPARE(dialog.startPositionEdit()->text(), QStringLiteral("1"));
    QVERIFY(dialog.halfWidthButton()->isChecked());
    QVERIFY(!dialog.controlLineBox()->isChecked());

    dialog.show();
    QTest::mouseClick(dialog.fullWidthButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.controlLineBox(), Qt::LeftButton);
    QCOMPARE(dialog.settings().characterSize, ExportCharacterSize::FullWidth);
    QVERIFY(dialog.settings().controlLineOutput);

    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void ExportDialogTest::executeWritesTheFileAndStaysOpen() {
    testing::RecordingPrompt prompt;
    CCaptureData data(8);
    data.Append(0x10410000, 0);
    data.Append(0x20420000, 0);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    ui::CExport dialog(data, {}, "/captures/a.tvd", {50, ExportCharacterSize::HalfWidth, false},
                       prompt);
    dialog.show();
    dialog.fileNameEdit()->setText(path);
    QTest::mouseClick(dialog.executeButton(), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QVERIFY(QFile::exists(path));
    QCOMPARE(prompt.texts(), std::vector<std::string>{"ファイル出力が完了しました"});
}

QTEST_MAIN(ExportDialogTest)
#include "ExportDialogTest.moc"
