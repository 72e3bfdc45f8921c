#include "ui/settings/CSaFrame.h"

#include "core/view/DataInputModel.h"
#include "ui/platform/QtText.h"
#include "ui/search/DataInput.h"
#include "ui/settings/GlyphField.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnolt::ui {

namespace {

constexpr int kCodeHeight = 17;
constexpr std::array<const char*, 4> kCodeLabels = {"ＳＤ　開始コード", "ＳＤ　終了コード",
                                                    "ＲＤ　開始コード", "ＲＤ　終了コード"};

} // namespace

CSaFrame::CSaFrame(const FrameDetailModel& detail, UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), detail_(detail), prompt_(prompt) {
    setObjectName("CSaFrame");
    setWindowTitle(ToQString(FrameDetailModel::kTitle));

    auto* grid = new QGridLayout;
    time_ = new QLineEdit(QString::fromStdString(detail_.timeText()), this);
    time_->setObjectName("frameTime");
    time_->setMaxLength(6);
    time_->setFixedWidth(time_->fontMetrics().horizontalAdvance("0000000") + 14);
    connect(time_, &QLineEdit::textEdited, this,
            [this](const QString& text) { detail_.setTimeText(text.toStdString()); });
    grid->addWidget(new QLabel("フレーム検出時間", this), 0, 0);
    grid->addWidget(time_, 0, 1);
    grid->addWidget(new QLabel("ｘ0.001秒", this), 0, 2);
    for (size_t i = 0; i < codes_.size(); ++i) {
        const auto slot = static_cast<DelimiterSlot>(i);
        codes_[i] = new GlyphField(1, kCodeHeight, this);
        codes_[i]->setObjectName(QString("code%1").arg(i));
        connect(codes_[i], &GlyphField::clicked, this, [this, slot] { EditCode(slot); });
        const int line = static_cast<int>(i) + 1;
        grid->addWidget(new QLabel(kCodeLabels[i], this), line, 0);
        grid->addWidget(codes_[i], line, 1, Qt::AlignLeft);
    }
    grid->setColumnStretch(3, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText("キャンセル");
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        // A refused time is reported and the previous one kept; the dialog closes either way.
        detail_.accept(prompt_);
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    ShowCodes();
}

void CSaFrame::EditCode(DelimiterSlot slot) {
    CharacterPattern pattern;
    if (const auto element = detail_.inputElement(slot)) {
        pattern.setElements(std::span(&*element, 1));
    }
    if (!RunCharacterInput(this, DataInputMode::SingleCode, pattern)) {
        return;
    }
    const auto used = pattern.usedElements();
    detail_.takeInput(slot,
                      used.empty() ? std::nullopt : std::optional<PatternElement>(used.front()));
    ShowCodes();
}

void CSaFrame::ShowCodes() {
    for (size_t i = 0; i < codes_.size(); ++i) {
        const PatternElement shown = detail_.shownElement(static_cast<DelimiterSlot>(i));
        codes_[i]->ShowPattern(std::span(&shown, 1));
    }
}

} // namespace varnolt::ui
