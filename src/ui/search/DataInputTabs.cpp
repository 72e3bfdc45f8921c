#include "ui/search/DataInputTabs.h"

#include "core/view/CellColours.h"
#include "core/view/DataInputModel.h"
#include "core/view/PatternText.h"
#include "ui/platform/QtText.h"
#include "ui/search/CBitWnd.h"
#include "ui/search/CellFontText.h"
#include "ui/search/DataInput.h"
#include "ui/search/GlyphButton.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimeEdit>

namespace varnolt::ui {

namespace {

constexpr int kGridSize = 16;
constexpr int kButtonWidth = 40;
constexpr int kButtonHeight = 25;
constexpr int kGridOrigin = 10;
constexpr int kFirstCharacterId = 1600;
constexpr int kRowPitch = 25;

QLabel* Label(const QString& text, QPoint at, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->move(at);
    label->adjustSize();
    return label;
}

// "＜" over "＝": the bound is included.
void LessOrEqual(QPoint at, QWidget* parent) {
    auto* label = new QLabel("＜\n＝", parent);
    label->setAlignment(Qt::AlignCenter);
    label->move(at);
    label->adjustSize();
}

GlyphButton* MarkButton(GlyphCode code, int id, QPoint at, QWidget* parent) {
    auto* button = new GlyphButton({code, kInputMarkBackground, QPoint(10, 2), {}}, parent);
    button->setObjectName(QString::number(id));
    button->move(at);
    return button;
}

QDate ToQDate(const CalendarTime& time) {
    return {time.year, time.month, time.day};
}

QTime ToQTime(const CalendarTime& time) {
    return {time.hour, time.minute, time.second, time.milliseconds};
}

// BASE with the date fields of a date picker's DATE; the time fields stay.
CalendarTime WithDate(CalendarTime base, const QDate& date) {
    base.year = static_cast<int16_t>(date.year());
    base.month = static_cast<int16_t>(date.month());
    base.day = static_cast<int16_t>(date.day());
    base.dayOfWeek = static_cast<int16_t>(date.dayOfWeek() % 7); // 0 = Sunday
    return base;
}

// BASE with the time fields of a time picker's TIME; the date fields stay.
CalendarTime WithTime(CalendarTime base, const QTime& time) {
    base.hour = static_cast<int16_t>(time.hour());
    base.minute = static_cast<int16_t>(time.minute());
    base.second = static_cast<int16_t>(time.second());
    base.milliseconds = static_cast<int16_t>(time.msec());
    return base;
}

} // namespace

// ---- "文字" ----------------------------------------------------------------------------------

CDataInputTabMoji::CDataInputTabMoji(QWidget* parent) : QWidget(parent) {
    setObjectName("CDataInputTabMoji");
    for (int value = 0; value < kGridSize * kGridSize; ++value) {
        const GlyphCode code = InputGlyphCode(static_cast<uint8_t>(value));
        auto* button = new GlyphButton(
            {code, kSdColours.background, QPoint(2, 2), QString::asprintf("%02X", value)}, this);
        button->setObjectName(QString::number(kFirstCharacterId + value));
        button->move(kGridOrigin + kButtonWidth * (value % kGridSize),
                     kGridOrigin + kButtonHeight * (value / kGridSize));
        connect(button, &QAbstractButton::clicked, this, [this, code] { emit glyphChosen(code); });
    }
}

// ---- "特殊文字" --------------------------------------------------------------------------------

CDataInputTabOther::CDataInputTabOther(DataInputModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
    setObjectName("CDataInputTabOther");
    std::vector<GlyphButton*> marks{MarkButton(kAnyGlyph, 1890, {10, 10}, this)};
    for (int k = 0; k < kPatternSlotCount; ++k) {
        const int y = 10 + kRowPitch * k;
        marks.push_back(
            MarkButton(static_cast<GlyphCode>(kBitMaskGlyphFirst + k), 1894 + k, {90, y}, this));
        marks.push_back(
            MarkButton(static_cast<GlyphCode>(kRangeGlyphFirst + k), 1898 + k, {330, y}, this));
    }
    for (GlyphButton* mark : marks) {
        connect(mark, &QAbstractButton::clicked, this,
                [this, code = mark->code()] { emit glyphChosen(code); });
    }
    new CBitWnd(model_, this);
    const QFont boundFont = CellFont(16);
    for (int k = 0; k < kPatternSlotCount; ++k) {
        const int y = 15 + kRowPitch * k;
        for (const bool high : {false, true}) {
            auto* button = new QPushButton(this);
            button->setObjectName(QString::number((high ? 2020 : 2010) + k));
            button->setToolTip(high ? "High" : "Low");
            button->setFont(boundFont);
            button->setFocusPolicy(Qt::NoFocus);
            button->setGeometry(high ? 434 : 374, y, 40, 20);
            connect(button, &QPushButton::clicked, this, [this, k, high] { EditBound(k, high); });
            (high ? highButtons_ : lowButtons_)[static_cast<size_t>(k)] = button;
        }
    }
    RefreshBounds();
}

void CDataInputTabOther::EditBound(int range, bool high) {
    const RangeSide side = high ? RangeSide::High : RangeSide::Low;
    CharacterPattern bound = model_.rangeBoundPattern(range, side);
    if (RunCharacterInput(this, DataInputMode::SingleCode, bound)) {
        model_.setRangeBound(range, side, bound);
        RefreshBounds();
    }
}

void CDataInputTabOther::RefreshBounds() {
    for (int k = 0; k < kPatternSlotCount; ++k) {
        const auto caption = [this, k](RangeSide side) {
            return PatternGlyphString(model_.rangeBoundPattern(k, side).usedElements());
        };
        lowButtons_[static_cast<size_t>(k)]->setText(caption(RangeSide::Low));
        highButtons_[static_cast<size_t>(k)]->setText(caption(RangeSide::High));
    }
}

void CDataInputTabOther::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setFont(UiGothicFont(12));
    painter.setPen(palette().color(QPalette::WindowText));
    for (int k = 0; k < kPatternSlotCount; ++k) {
        painter.drawText(QRect(418, 20 + kRowPitch * k - 4, 16, 16), Qt::AlignCenter, "～");
    }
}

// ---- "エラー" ----------------------------------------------------------------------------------

CDataInputTabError::CDataInputTabError(DataInputModel& model, QWidget* parent) : QWidget(parent) {
    setObjectName("CDataInputTabError");
    Label("エラー種類", {20, 20}, this);
    const char* names[] = {"PE", "FE", "PF", "BR", "OE"};
    for (uint8_t code = 0; code < 5; ++code) {
        auto* box = new QCheckBox(names[code], this);
        box->setObjectName(QString::number(1242 + code));
        box->move(40 + 70 * code, 50);
        box->adjustSize();
        box->setChecked(model.errorChecked(code));
        connect(box, &QCheckBox::toggled, this,
                [&model, code](bool checked) { model.setErrorChecked(code, checked); });
    }
}

// ---- "アイドル" --------------------------------------------------------------------------------

CDataInputTabIdle::CDataInputTabIdle(DataInputModel& model, QWidget* parent) : QWidget(parent) {
    setObjectName("CDataInputTabIdle");
    const auto edit = [this](int id, RangeSide side, const DataInputModel& values, int x) {
        auto* line = new QLineEdit(ToQString(values.idleText(side)), this);
        line->setObjectName(QString::number(id));
        line->setGeometry(x, 50, 100, 26);
        line->setAlignment(Qt::AlignRight);
        Label("秒", {x + 106, 55}, this);
        return line;
    };
    Label("下限", {20, 25}, this);
    lower_ = edit(2000, RangeSide::Low, model, 20);
    LessOrEqual({150, 44}, this);
    Label("アイドル検索時間", {185, 55}, this);
    LessOrEqual({330, 44}, this);
    Label("上限", {365, 25}, this);
    upper_ = edit(2001, RangeSide::High, model, 365);
}

std::string CDataInputTabIdle::lowerText() const {
    return lower_->text().toStdString();
}

std::string CDataInputTabIdle::upperText() const {
    return upper_->text().toStdString();
}

// ---- "日時" ------------------------------------------------------------------------------------

CDataInputTabDate::CDataInputTabDate(DataInputModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
    setObjectName("CDataInputTabDate");
    const SearchCriteria& criteria = model.criteria();
    const auto date = [this](int id, const CalendarTime& value, QPoint at) {
        auto* picker = new QDateEdit(ToQDate(value), this);
        picker->setObjectName(QString::number(id));
        picker->setDisplayFormat("yyyy/MM/dd");
        picker->setCalendarPopup(true);
        picker->setGeometry(QRect(at, QSize(130, 26)));
        return picker;
    };
    const auto time = [this](int id, const CalendarTime& value, QPoint at) {
        auto* picker = new QTimeEdit(ToQTime(value), this);
        picker->setObjectName(QString::number(id));
        picker->setDisplayFormat("HH:mm:ss");
        picker->setGeometry(QRect(at, QSize(130, 26)));
        return picker;
    };
    Label("下限", {20, 20}, this);
    lowerDate_ = date(2002, criteria.lowerDate, {20, 45});
    lowerTime_ = time(2003, criteria.lowerTime, {20, 80});
    LessOrEqual({165, 55}, this);
    Label("検索日時", {200, 67}, this);
    LessOrEqual({280, 55}, this);
    Label("上限", {315, 20}, this);
    upperDate_ = date(2004, criteria.upperDate, {315, 45});
    upperTime_ = time(2005, criteria.upperTime, {315, 80});
}

void CDataInputTabDate::Apply() {
    const SearchCriteria& criteria = model_.criteria();
    model_.setDates(WithDate(criteria.lowerDate, lowerDate_->date()),
                    WithTime(criteria.lowerTime, lowerTime_->time()),
                    WithDate(criteria.upperDate, upperDate_->date()),
                    WithTime(criteria.upperTime, upperTime_->time()));
}

} // namespace varnolt::ui
