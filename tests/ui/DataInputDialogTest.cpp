#include "core/view/PatternText.h"
#include "ui/platform/Resources.h"
#include "ui/search/CDataInputDig.h"
#include "ui/search/CTvEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace varnolt;

namespace {

template <typename T = QAbstractButton>
T* Control(QWidget& dialog, int id) {
    T* found = dialog.findChild<T*>(QString::number(id));
    if (found == nullptr) {
        qFatal("no control %d", id);
    }
    return found;
}

std::string Glyphs(std::initializer_list<GlyphCode> codes) {
    std::string text;
    for (const GlyphCode code : codes) {
        text += GlyphCodeBytes(code);
    }
    return text;
}

} // namespace

class DataInputDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::InitResources(); }
    void typedLettersAndGridButtonsBecomeElements();
    void singleCodeTakesOneGlyph();
    void opensOnThePageOfTheSearchKindAndHandsBackEveryPage();
    void rangeBoundComesFromTheSingleCodeDialog();
};

void DataInputDialogTest::typedLettersAndGridButtonsBecomeElements() {
    ui::CDataInputDig dialog(DataInputMode::Search, {}, nullptr);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("文字入力"));
    QCOMPARE(Control(dialog, 3)->text(), QStringLiteral("検索"));
    QCOMPARE(dialog.tabs().count(), 5);
    QTest::keyClicks(&dialog.edit(), "A");
    QCOMPARE(dialog.edit().glyphText(), Glyphs({0x88E1}));
    QTest::mouseClick(Control(dialog, 1600 + 0xC5), Qt::LeftButton);
    QCOMPARE(dialog.edit().glyphText(), Glyphs({0x88E1, 0x8A85}));
    QTest::mouseClick(Control(dialog, 3), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const SearchCriteria& criteria = dialog.criteria();
    QVERIFY(criteria.set);
    QCOMPARE(criteria.kind, kSearchCharacters);
    QCOMPARE(criteria.pattern.length, 2);
    QCOMPARE(criteria.pattern.elements[0], (PatternElement{kPatternCharacter, 0x41}));
    QCOMPARE(criteria.pattern.elements[1], (PatternElement{kPatternCharacter, 0xC5}));
}

void DataInputDialogTest::singleCodeTakesOneGlyph() {
    ui::CDataInputDig dialog(DataInputMode::SingleCode, {}, nullptr);
    dialog.show();
    QCOMPARE(dialog.tabs().count(), 1);
    QCOMPARE(Control(dialog, 3)->text(), QStringLiteral("OK"));
    QTest::mouseClick(Control(dialog, 1600 + 0x41), Qt::LeftButton);
    QTest::mouseClick(Control(dialog, 1600 + 0x42), Qt::LeftButton);
    QTest::keyClicks(&dialog.edit(), "C");
    QCOMPARE(dialog.edit().glyphText(), Glyphs({0x88E1}));
}

void DataInputDialogTest::opensOnThePageOfTheSearchKindAndHandsBackEveryPage() {
    SearchCriteria criteria;
    criteria.kind = kSearchError;
    criteria.errorSet = 0x20;
    ui::CDataInputDig dialog(DataInputMode::Search, criteria, nullptr);
    dialog.show();
    QCOMPARE(dialog.tabs().tabText(dialog.tabs().currentIndex()), QStringLiteral("エラー"));
    QVERIFY(!dialog.edit().isEnabled());
    QVERIFY(Control<QCheckBox>(dialog, 1244)->isChecked());
    QVERIFY(!Control<QCheckBox>(dialog, 1242)->isChecked());
    QTest::mouseClick(Control(dialog, 1242), Qt::LeftButton);
    Control<QLineEdit>(dialog, 2000)->setText("0.1");
    Control<QLineEdit>(dialog, 2001)->setText("20000");
    dialog.tabs().setCurrentIndex(3); // "アイドル"
    QTest::mouseClick(Control(dialog, 3), Qt::LeftButton);
    QCOMPARE(dialog.criteria().errorSet, 0xA0);
    QCOMPARE(dialog.criteria().kind, kSearchIdle);
    QVERIFY(dialog.criteria().set);
    QCOMPARE(dialog.criteria().idleLowerMs, 100);
    QCOMPARE(dialog.criteria().idleUpperMs, kMaxIdleBoundMs);
}

void DataInputDialogTest::rangeBoundComesFromTheSingleCodeDialog() {
    ui::CDataInputDig dialog(DataInputMode::TriggerCondition, {}, nullptr);
    dialog.show();
    dialog.tabs().setCurrentIndex(1);
    QTest::mouseClick(Control(dialog, 1440), Qt::LeftButton); // mask 0, bit 7: "?" → "0"
    QCOMPARE(Control(dialog, 1440)->text(), QStringLiteral("0"));
    // The single-code dialog opens modally; answer it once it is shown.
    QTimer::singleShot(0, [] {
        auto* single = qobject_cast<ui::CDataInputDig*>(QApplication::activeModalWidget());
        QVERIFY(single != nullptr);
        QTest::mouseClick(Control(*single, 1600 + 0x30), Qt::LeftButton);
        QTest::mouseClick(Control(*single, 3), Qt::LeftButton);
    });
    QTest::mouseClick(Control(dialog, 2011), Qt::LeftButton); // range 1, "Low"
    QCOMPARE(Control(dialog, 2011)->text().size(), 1);
    QTest::mouseClick(Control(dialog, 1898 + 1), Qt::LeftButton);
    QTest::mouseClick(Control(dialog, 3), Qt::LeftButton);
    const CharacterPattern& pattern = dialog.criteria().pattern;
    QCOMPARE(pattern.bitMasks[0], (PatternBitMask{0, 0x80}));
    QCOMPARE(pattern.ranges[1], (PatternRange{1, 0x30, 0, 0}));
    QCOMPARE(pattern.length, 1);
    QCOMPARE(pattern.elements[0], (PatternElement{kPatternRange, 1}));
}

QTEST_MAIN(DataInputDialogTest)
#include "DataInputDialogTest.moc"
