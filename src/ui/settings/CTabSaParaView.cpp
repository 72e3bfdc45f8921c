#include "ui/settings/CTabSaParaView.h"

#include "core/settings/dialog/DisplayPageModel.h"
#include "ui/settings/CSaFrame.h"
#include "ui/settings/ChoiceButtons.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnolt::ui {

CTabSaParaView::CTabSaParaView(DisplayPageModel& model, UserPrompt& prompt, QWidget* parent)
    : QWidget(parent), model_(model), prompt_(prompt),
      displayMode_(new ChoiceButtons(this, "表示モード", {"連続", "フレーム"})),
      idle_(new ChoiceButtons(this, "アイドル表示（無通信時間）",
                              {"無し", "0.1秒", "0.01秒", "0.001秒"}, 2)),
      date_(new ChoiceButtons(this, "日時表示　日付", {"無し", "有り"})),
      time_(new ChoiceButtons(this, "日時表示　時刻", {"無し", "1秒", "0.01秒"})),
      lineCapture_(new ChoiceButtons(this, "制御ライン対応", {"無し", "有り"})),
      lineDrawing_(new ChoiceButtons(this, "制御ライン表示方式", {"線型", "塗込型"})),
      keys_(new ChoiceButtons(this, "操作キー", {"１段", "２段"})),
      size_(new ChoiceButtons(this, "文字サイズ", {"標準", "小"})),
      backlight_(new QLineEdit(this)) {
    setObjectName("CTabSaParaView");
    displayMode_->OnChosen([this](int choice) { model_.displayMode.choose(choice); });
    idle_->OnChosen([this](int choice) { model_.idleDisplay.choose(choice); });
    date_->OnChosen([this](int choice) {
        model_.chooseDate(choice);
        Refresh();
    });
    time_->OnChosen([this](int choice) {
        model_.chooseTime(choice);
        Refresh();
    });
    lineCapture_->OnChosen([this](int choice) { model_.controlLineCapture.choose(choice); });
    lineDrawing_->OnChosen([this](int choice) { model_.controlLineDrawing.choose(choice); });
    keys_->OnChosen([this](int choice) { model_.operationKeys.choose(choice); });
    size_->OnChosen([this](int choice) { model_.characterSize.choose(choice); });

    backlight_->setObjectName("backlight");
    backlight_->setMaxLength(5);
    backlight_->setFixedWidth(backlight_->fontMetrics().horizontalAdvance("00000") + 14);
    connect(backlight_, &QLineEdit::textEdited, this,
            [this](const QString& text) { model_.setBacklightText(text.toStdString()); });
    auto* backlightBox = new QGroupBox("バックライト自動消灯", this);
    auto* backlightRow = new QHBoxLayout(backlightBox);
    backlightRow->addWidget(backlight_);
    backlightRow->addWidget(new QLabel("分　（０にて自動消灯無効）", backlightBox));
    backlightRow->addStretch();

    auto* frame = new QPushButton("フレーム詳細", this);
    frame->setObjectName("frameDetail");
    frame->setAutoDefault(false);
    connect(frame, &QPushButton::clicked, this, &CTabSaParaView::OpenFrameDetail);

    auto* layout = new QGridLayout(this);
    layout->addWidget(displayMode_->box(), 0, 0);
    layout->addWidget(frame, 1, 0, Qt::AlignTop);
    layout->addWidget(idle_->box(), 0, 1);
    layout->addWidget(date_->box(), 1, 1);
    layout->addWidget(time_->box(), 2, 1);
    layout->addWidget(lineCapture_->box(), 0, 2);
    layout->addWidget(lineDrawing_->box(), 1, 2);
    layout->addWidget(keys_->box(), 0, 3);
    layout->addWidget(size_->box(), 1, 3);
    layout->addWidget(backlightBox, 3, 0, 1, 4);
    layout->setRowStretch(4, 1);
    Refresh();
}

void CTabSaParaView::OpenFrameDetail() {
    CSaFrame dialog(model_.frameDetail(), prompt_, this);
    if (dialog.exec() == QDialog::Accepted) {
        model_.takeFrameDetail(dialog.detail());
    }
}

void CTabSaParaView::Refresh() {
    displayMode_->Show(model_.displayMode.choice());
    idle_->Show(model_.idleDisplay.choice());
    date_->Show(model_.dateChoice());
    time_->Show(model_.timeChoice());
    lineCapture_->Show(model_.controlLineCapture.choice());
    lineDrawing_->Show(model_.controlLineDrawing.choice());
    keys_->Show(model_.operationKeys.choice());
    size_->Show(model_.characterSize.choice());
    backlight_->setText(QString::fromStdString(model_.backlightText()));
}

} // namespace varnolt::ui
