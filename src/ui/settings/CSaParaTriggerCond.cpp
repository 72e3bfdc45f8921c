#include "ui/settings/CSaParaTriggerCond.h"

#include "core/settings/dialog/TriggerCaptions.h"
#include "core/view/DataInputModel.h"
#include "ui/platform/QtText.h"
#include "ui/search/DataInput.h"
#include "ui/settings/GlyphField.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace varnolt::ui {

namespace {

constexpr int kPatternHeight = 17;
constexpr std::array<const char*, kTriggerErrorBoxCount> kErrorBoxes = {"PE", "FE", "PF", "BR",
                                                                        "OE", "SD", "RD"};

} // namespace

CSaParaTriggerCond::CSaParaTriggerCond(SaTriggerEntry& trigger, UserPrompt& prompt, QWidget* parent)
    : TriggerDialogFrame(TriggerConditionModel::kTitle, "条件", parent), model_(trigger),
      prompt_(prompt) {
    setObjectName("CSaParaTriggerCond");
    AddKind(kTriggerConditionNames[kTriggerOnCharacters], CharacterPage());
    AddKind(kTriggerConditionNames[kTriggerOnError], ErrorPage());
    AddKind(kTriggerConditionNames[kTriggerOnControlLine], LinePage());
    AddKind(kTriggerConditionNames[kTriggerOnIdle],
            NumberPage(
                "CTabSaTriConIdle", "アイドル時間", "×0.01秒", [this] { return model_.idleText(); },
                [this](std::string text) { model_.setIdleText(text); }));
    AddKind(kTriggerConditionNames[kTriggerOnTimer],
            NumberPage(
                "CTabSaTriConTimer", "タイマー番号", "", [this] { return model_.timerText(); },
                [this](std::string text) { model_.setTimerText(text); }));
    AddKind(kTriggerConditionNames[kTriggerOnCounter],
            NumberPage(
                "CTabSaTriConCounter", "カウンタ番号", "", [this] { return model_.counterText(); },
                [this](std::string text) { model_.setCounterText(text); }));
    OnKindChosen([this](int kind) {
        model_.chooseKind(kind);
        Refresh();
    });
    OnCheck([this] { model_.checkPage(prompt_); });
    OnAccept([this, &trigger] { model_.accept(trigger, prompt_); });
    ShowKind(model_.kind());
    Refresh();
}

QWidget* CSaParaTriggerCond::CharacterPage() {
    QWidget* page = NewPage("CTabSaTriConMoji");
    pattern_ = new GlyphField(static_cast<int>(kTriggerPatternLength), kPatternHeight, page);
    pattern_->setObjectName("pattern");
    connect(pattern_, &GlyphField::clicked, this, &CSaParaTriggerCond::EditPattern);
    auto* lines = new QGroupBox("有効ライン", page);
    auto* lineRow = new QHBoxLayout(lines);
    for (int line = 0; line < 2; ++line) {
        auto* box = new QCheckBox(line == 0 ? "SD" : "RD", lines);
        lineRow->addWidget(box);
        connect(box, &QCheckBox::clicked, this,
                [this, line](bool on) { model_.setMatchLine(line, on); });
        refreshers_.push_back([this, box, line] { box->setChecked(model_.matchLine(line)); });
    }
    lineRow->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(pattern_);
    layout->addWidget(lines);
    layout->addStretch();
    return page;
}

QWidget* CSaParaTriggerCond::ErrorPage() {
    QWidget* page = NewPage("CTabSaTriConError");
    auto* kinds = new QGroupBox("有効エラー種類", page);
    auto* lines = new QGroupBox("有効ライン", page);
    auto* kindRow = new QHBoxLayout(kinds);
    auto* lineRow = new QHBoxLayout(lines);
    for (size_t i = 0; i < kErrorBoxes.size(); ++i) {
        const bool isLine = i >= 5;
        auto* box = new QCheckBox(kErrorBoxes[i], isLine ? lines : kinds);
        (isLine ? lineRow : kindRow)->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, i](bool on) { model_.setErrorBox(i, on); });
        refreshers_.push_back([this, box, i] { box->setChecked(model_.errorBox(i)); });
    }
    kindRow->addStretch();
    lineRow->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(kinds);
    layout->addWidget(lines);
    layout->addStretch();
    return page;
}

QWidget* CSaParaTriggerCond::LinePage() {
    QWidget* page = NewPage("CTabSaTriConLine");
    auto* grid = new QGridLayout(page);
    grid->addWidget(new QLabel("Ｈ↑", page), 2, 0);
    grid->addWidget(new QLabel("Ｌ↓", page), 3, 0);
    for (size_t line = 0; line < kTriggerLineCount; ++line) {
        const int column = static_cast<int>(line) + 1;
        auto* name = new QLabel(ToQString(kTriggerLineNames[line]), page);
        auto* pin = new QLabel(ToQString(kTriggerLinePinNames[line]), page);
        name->setAlignment(Qt::AlignCenter);
        pin->setAlignment(Qt::AlignCenter);
        grid->addWidget(name, 0, column);
        grid->addWidget(pin, 1, column);
        auto* rise = new QCheckBox(page);
        auto* fall = new QCheckBox(page);
        rise->setObjectName(QString("rise%1").arg(line));
        fall->setObjectName(QString("fall%1").arg(line));
        grid->addWidget(rise, 2, column, Qt::AlignCenter);
        grid->addWidget(fall, 3, column, Qt::AlignCenter);
        connect(rise, &QCheckBox::clicked, this,
                [this, line](bool on) { model_.setRiseBox(line, on); });
        connect(fall, &QCheckBox::clicked, this,
                [this, line](bool on) { model_.setFallBox(line, on); });
        refreshers_.push_back([this, rise, fall, line] {
            rise->setChecked(model_.riseBox(line));
            fall->setChecked(model_.fallBox(line));
        });
    }
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(static_cast<int>(kTriggerLineCount) + 1, 1);
    return page;
}

QWidget* CSaParaTriggerCond::NumberPage(const QString& name, const char* label, const char* unit,
                                        std::function<std::string()> text,
                                        std::function<void(std::string)> setText) {
    QWidget* page = NewPage(name);
    auto* edit = new QLineEdit(page);
    edit->setObjectName("value");
    edit->setMaxLength(8);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("000000000") + 14);
    connect(edit, &QLineEdit::textEdited, this,
            [setText](const QString& typed) { setText(typed.toStdString()); });
    refreshers_.push_back([edit, text] { edit->setText(QString::fromStdString(text())); });
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, page));
    row->addWidget(edit);
    row->addWidget(new QLabel(unit, page));
    row->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addStretch();
    return page;
}

void CSaParaTriggerCond::EditPattern() {
    // The input dialog gets all sixteen elements with the bit masks and ranges they use.
    const SaTriggerEntry& copy = model_.copy();
    CharacterPattern pattern;
    pattern.setElements(copy.pattern);
    std::copy(copy.bitMasks.begin(), copy.bitMasks.end(), pattern.bitMasks.begin());
    std::copy(copy.ranges.begin(), copy.ranges.end(), pattern.ranges.begin());
    if (!RunCharacterInput(this, DataInputMode::TriggerCondition, pattern)) {
        return;
    }
    std::array<PatternBitMask, kPatternBitMaskCount> bitMasks{};
    std::array<PatternRange, kPatternRangeCount> ranges{};
    std::copy_n(pattern.bitMasks.begin(), bitMasks.size(), bitMasks.begin());
    std::copy_n(pattern.ranges.begin(), ranges.size(), ranges.begin());
    model_.takePattern(pattern.usedElements(), bitMasks, ranges);
    Refresh();
}

void CSaParaTriggerCond::Refresh() {
    pattern_->ShowPattern(model_.shownPattern());
    for (const auto& refresher : refreshers_) {
        refresher();
    }
}

} // namespace varnolt::ui
