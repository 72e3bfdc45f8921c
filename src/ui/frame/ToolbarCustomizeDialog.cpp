#include "ui/frame/ToolbarCustomizeDialog.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnolt::ui {

namespace {

constexpr int kCommandRole = Qt::UserRole;

QListWidgetItem* ItemOf(CommandId id, QAction* action) {
    auto* item = new QListWidgetItem;
    if (id == ToolbarLayout::kSeparator || action == nullptr) {
        item->setText("――― 区切り ―――");
    } else {
        item->setText(action->iconText());
        item->setIcon(action->icon());
    }
    item->setData(kCommandRole, static_cast<int>(id));
    return item;
}

} // namespace

ToolbarCustomizeDialog::ToolbarCustomizeDialog(const ToolbarLayout& layout, ActionOf actionOf,
                                               QWidget* parent)
    : QDialog(parent), layout_(layout), actionOf_(std::move(actionOf)) {
    setWindowTitle("カスタマイズ");
    available_ = new QListWidget(this);
    buttons_ = new QListWidget(this);
    for (QListWidget* list : {available_, buttons_}) {
        list->setMinimumSize(220, 320);
        list->setIconSize(QSize(16, 16));
    }
    addButton_ = new QPushButton("追加(&A) →", this);
    auto* separatorButton = new QPushButton("区切りを追加(&S)", this);
    removeButton_ = new QPushButton("← 削除(&D)", this);
    upButton_ = new QPushButton("上へ(&U)", this);
    downButton_ = new QPushButton("下へ(&W)", this);
    auto* resetButton = new QPushButton("リセット(&R)", this);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Cancel)->setText("キャンセル");

    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    for (QPushButton* button :
         {addButton_, separatorButton, removeButton_, upButton_, downButton_, resetButton}) {
        button->setAutoDefault(false);
        middle->addWidget(button);
    }
    middle->addStretch(1);
    auto* grid = new QGridLayout(this);
    auto* availableLabel = new QLabel("利用できるボタン(&V):", this);
    availableLabel->setBuddy(available_);
    auto* buttonsLabel = new QLabel("ツール バーのボタン(&T):", this);
    buttonsLabel->setBuddy(buttons_);
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(buttonsLabel, 0, 2);
    grid->addWidget(available_, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(buttons_, 1, 2);
    grid->addWidget(box, 2, 0, 1, 3);

    connect(addButton_, &QPushButton::clicked, this, &ToolbarCustomizeDialog::AddSelected);
    connect(separatorButton, &QPushButton::clicked, this, &ToolbarCustomizeDialog::AddSeparator);
    connect(removeButton_, &QPushButton::clicked, this, &ToolbarCustomizeDialog::RemoveSelected);
    connect(upButton_, &QPushButton::clicked, this, [this] { MoveSelected(true); });
    connect(downButton_, &QPushButton::clicked, this, [this] { MoveSelected(false); });
    connect(resetButton, &QPushButton::clicked, this, &ToolbarCustomizeDialog::ResetButtons);
    connect(available_, &QListWidget::itemDoubleClicked, this,
            &ToolbarCustomizeDialog::AddSelected);
    connect(buttons_, &QListWidget::itemDoubleClicked, this,
            &ToolbarCustomizeDialog::RemoveSelected);
    connect(available_, &QListWidget::currentRowChanged, this,
            &ToolbarCustomizeDialog::EnableButtons);
    connect(buttons_, &QListWidget::currentRowChanged, this,
            &ToolbarCustomizeDialog::EnableButtons);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ShowLayout(0);
}

void ToolbarCustomizeDialog::AddSelected() {
    const QListWidgetItem* item = available_->currentItem();
    if (item == nullptr) {
        return;
    }
    // A new button goes after the selected one, as an inserted row does.
    const int row = buttons_->currentRow() + 1;
    if (layout_.Insert(static_cast<size_t>(row), CommandId{item->data(kCommandRole).toInt()})) {
        ShowLayout(row);
    }
}

void ToolbarCustomizeDialog::AddSeparator() {
    const int row = buttons_->currentRow() + 1;
    if (layout_.Insert(static_cast<size_t>(row), ToolbarLayout::kSeparator)) {
        ShowLayout(row);
    }
}

void ToolbarCustomizeDialog::RemoveSelected() {
    const int row = buttons_->currentRow();
    if (row >= 0 && layout_.Remove(static_cast<size_t>(row))) {
        ShowLayout(std::min(row, static_cast<int>(layout_.buttons().size()) - 1));
    }
}

void ToolbarCustomizeDialog::MoveSelected(bool up) {
    const int row = buttons_->currentRow();
    if (row < 0) {
        return;
    }
    const auto position = static_cast<size_t>(row);
    if (up ? layout_.MoveUp(position) : layout_.MoveDown(position)) {
        ShowLayout(up ? row - 1 : row + 1);
    }
}

void ToolbarCustomizeDialog::ResetButtons() {
    if (layout_.Reset()) {
        ShowLayout(0);
    }
}

void ToolbarCustomizeDialog::ShowLayout(int row) {
    available_->clear();
    for (const CommandId id : layout_.available()) {
        available_->addItem(ItemOf(id, actionOf_(id)));
    }
    buttons_->clear();
    for (const CommandId id : layout_.buttons()) {
        buttons_->addItem(ItemOf(id, actionOf_(id)));
    }
    available_->setCurrentRow(available_->count() > 0 ? 0 : -1);
    buttons_->setCurrentRow(std::min(row, buttons_->count() - 1));
    EnableButtons();
}

void ToolbarCustomizeDialog::EnableButtons() {
    const int row = buttons_->currentRow();
    addButton_->setEnabled(available_->currentItem() != nullptr);
    removeButton_->setEnabled(row >= 0);
    upButton_->setEnabled(row > 0);
    downButton_->setEnabled(row >= 0 && row + 1 < buttons_->count());
}

} // namespace varnolt::ui
