#include "ui/settings/CSaParaTriggerAction.h"

#include "core/settings/dialog/TriggerCaptions.h"
#include "ui/settings/ChoiceButtons.h"
#include "ui/settings/GlyphField.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace varnolt::ui {

namespace {

constexpr int kCharactersHeight = 17;
constexpr int kCharactersShown = 24; // glyphs the send page's field shows at a time

} // namespace

CSaParaTriggerAction::CSaParaTriggerAction(SaTriggerEntry& trigger,
                                           const TriggerActionModel::TransmitTable* transmit,
                                           UserPrompt& prompt, QWidget* parent)
    : TriggerDialogFrame(TriggerActionModel::kTitle, "動作", parent), model_(trigger, transmit),
      prompt_(prompt) {
    setObjectName("CSaParaTriggerAction");
    AddKind(kTriggerActionNames[kTriggerBuzzer], Page("CTabSaTriActBuzzer", {}));
    AddKind(kTriggerActionNames[kTriggerStop], Page("CTabSaTriActStop", {}));
    AddKind(kTriggerActionNames[kTriggerStopAfterDelay],
            Page("CTabSaTriActStopTime", {{Field::StopDelay, "遅延時間", "秒"}}));
    AddKind(kTriggerActionNames[kTriggerStopAfterCharacters],
            Page("CTabSaTriActStopChar", {{Field::StopCount, "受信数", ""}}));
    AddKind(kTriggerActionNames[kTriggerSend], SendPage());
    AddKind(kTriggerActionNames[kTriggerSave],
            Page("CTabSaTriActSave",
                 {{Field::SaveBefore, "ー側範囲", ""}, {Field::SaveAfter, "＋側範囲", ""}}));
    AddKind(kTriggerActionNames[kTriggerTimerOperation],
            Page("CTabSaTriActTimer", {{Field::TimerNumber, "タイマー番号", ""}},
                 OperationGroup(
                     {"開始", "リセット後開始", "停止"},
                     [this](int choice) { model_.timerOperation.choose(choice); },
                     [this] { return model_.timerOperation.choice(); })));
    AddKind(kTriggerActionNames[kTriggerCounterOperation],
            Page("CTabSaTriActCounter", {{Field::CounterNumber, "カウンタ番号", ""}},
                 OperationGroup(
                     {"加算", "リセット"},
                     [this](int choice) { model_.counterOperation.choose(choice); },
                     [this] { return model_.counterOperation.choice(); })));
    AddKind(
        kTriggerActionNames[kTriggerTriggerOperation],
        Page("CTabSaTriActTrigger", {{Field::TriggerNumber, "トリガー番号", ""}},
             OperationGroup(
                 {"有効", "無効"}, [this](int choice) { model_.triggerOperation.choose(choice); },
                 [this] { return model_.triggerOperation.choice(); })));
    OnKindChosen([this](int kind) {
        model_.chooseKind(kind);
        Refresh();
    });
    OnCheck([this] {
        model_.checkPage(prompt_);
        Refresh();
    });
    OnAccept([this, &trigger] { model_.accept(trigger, prompt_); });
    ShowKind(model_.kind());
    Refresh();
}

ChoiceButtons* CSaParaTriggerAction::OperationGroup(std::initializer_list<std::string_view> labels,
                                                    std::function<void(int)> chosen,
                                                    std::function<int()> shown) {
    auto* group = new ChoiceButtons(this, "動作", labels);
    group->OnChosen(std::move(chosen));
    refreshers_.push_back([group, shown = std::move(shown)] { group->Show(shown()); });
    return group;
}

QWidget* CSaParaTriggerAction::Page(const QString& name, std::initializer_list<Edit> edits,
                                    ChoiceButtons* group) {
    QWidget* page = NewPage(name);
    auto* layout = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    int line = 0;
    for (const Edit& edit : edits) {
        auto* field = new QLineEdit(page);
        field->setObjectName(QString("field%1").arg(static_cast<int>(edit.field)));
        field->setMaxLength(6);
        field->setFixedWidth(field->fontMetrics().horizontalAdvance("0000000") + 14);
        const Field which = edit.field;
        connect(field, &QLineEdit::textEdited, this, [this, which](const QString& text) {
            model_.setText(which, text.toStdString());
            if (which == Field::TransmitNumber) {
                characters_->ShowPattern(model_.transmitCharacters());
            }
        });
        refreshers_.push_back(
            [this, field, which] { field->setText(QString::fromStdString(model_.text(which))); });
        grid->addWidget(new QLabel(edit.label, page), line, 0);
        grid->addWidget(field, line, 1);
        grid->addWidget(new QLabel(edit.unit, page), line, 2);
        ++line;
    }
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);
    if (group != nullptr) {
        group->box()->setParent(page);
        layout->addWidget(group->box());
    }
    layout->addStretch();
    return page;
}

QWidget* CSaParaTriggerAction::SendPage() {
    QWidget* send = Page("CTabSaTriActTx", {{Field::TransmitNumber, "送信番号", ""},
                                            {Field::TransmitDelay, "遅延時間", "X0.01秒"}});
    characters_ = new GlyphField(kCharactersShown, kCharactersHeight, send);
    characters_->setObjectName("transmitCharacters");
    characters_->setCursor(Qt::ArrowCursor);
    auto* layout = static_cast<QVBoxLayout*>(send->layout());
    layout->insertWidget(1, new QLabel("送信文字", send));
    layout->insertWidget(2, characters_);
    return send;
}

void CSaParaTriggerAction::Refresh() {
    characters_->ShowPattern(model_.transmitCharacters());
    for (const auto& refresher : refreshers_) {
        refresher();
    }
}

} // namespace varnolt::ui
