#include "core/shell/AppSettings.h"
#include "ui/config/CConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

using namespace varnolt;

// The environment settings dialog shows the copies and edits only them.
class ConfigTest : public QObject {
    Q_OBJECT

private slots:
    void showsAndEditsTheCopies();
};

void ConfigTest::showsAndEditsTheCopies() {
    AppSettings values;
    values.autoSaveFolder = "/data/captures";
    values.saSyncTxFlg = 1;
    ui::CConfig dialog(EnvironmentSettings::From(values));
    QCOMPARE(dialog.windowTitle(), QString("環境設定"));
    auto* tabs = dialog.findChild<QTabWidget*>("control1003");
    QCOMPARE(tabs->tabText(0), QString("ファイル"));
    QCOMPARE(tabs->tabText(1), QString("リモート"));
    auto* sizes = dialog.findChild<QComboBox*>("control1013");
    QCOMPARE(sizes->currentText(), QString("8Mバイト"));
    QCOMPARE(dialog.findChild<QLabel*>("control1011")->text(), QString("/data/captures"));
    QVERIFY(dialog.findChild<QCheckBox*>("control1026")->isChecked());

    dialog.findChild<QCheckBox*>("control1012")->setChecked(true);
    sizes->setCurrentIndex(0);
    QVERIFY(dialog.settings().autoSaveEnabled);
    QCOMPARE(dialog.settings().autoSaveFileSize, 1);
    sizes->setCurrentIndex(-1);
    QCOMPARE(dialog.settings().autoSaveFileSize, 8);
    // The values themselves change only when the frame applies the accepted copies.
    QCOMPARE(values.autoSaveEnableFlg, 0);
}

QTEST_MAIN(ConfigTest)
#include "ConfigTest.moc"
