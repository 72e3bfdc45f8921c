#include "ui/app/CVarnoltApp.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

// The program's application object speaks Japanese in Qt's own dialogs from the start.
class StockDialogsJapaneseTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxButtonsAreJapanese() {
        QMessageBox box(QMessageBox::Information, "確認", "text",
                        QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
        QCOMPARE(box.button(QMessageBox::Yes)->text().left(3), QStringLiteral("はい("));
        QCOMPARE(box.button(QMessageBox::No)->text().left(4), QStringLiteral("いいえ("));
    }

    void fileDialogIsJapanese() {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        bool japanese = false;
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            japanese = japanese || button->text().contains(QStringLiteral("キャンセル"));
        }
        QVERIFY(japanese);
    }
};

int main(int argc, char** argv) {
    varnolt::ui::CVarnoltApp app(argc, argv);
    StockDialogsJapaneseTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "StockDialogsJapaneseTest.moc"
