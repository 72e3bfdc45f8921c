#include "ui/settings/CTabSaParaTx.h"

#include "core/settings/dialog/TransmitPageModel.h"
#include "core/view/DataInputModel.h"
#include "core/view/GlyphCodes.h"
#include "ui/search/CellFontText.h"
#include "ui/search/DataInput.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace varnolt::ui {

namespace {

constexpr int kCellHeight = 17;
constexpr int kHeaderHeight = 12;

QFont HeaderFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      font.family()});
    font.setPixelSize(kHeaderHeight);
    return font;
}

} // namespace

CTabSaParaTx::CTabSaParaTx(TransmitPageModel& model, QWidget* parent)
    : QWidget(parent), model_(model), list_(new QTableWidget(kTxEntryCount, 2, this)) {
    setObjectName("CTabSaParaTx");
    list_->setObjectName("transmitList");
    list_->setHorizontalHeaderLabels({"番号", "送信内容"});
    list_->horizontalHeader()->setFont(HeaderFont());
    // The content column is far wider than the page: its title stays at its left edge.
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A click in the wide content column must not scroll the row numbers out of sight.
    list_->setAutoScroll(false);
    list_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->setShowGrid(true);
    list_->setFont(CellFont(kCellHeight));
    list_->setWordWrap(false);
    list_->setTextElideMode(Qt::ElideNone);
    list_->setColumnWidth(0, 40);
    // 128 glyphs, one em each, fit the content column.
    list_->setColumnWidth(1, 128 * kCellHeight + 8);
    list_->verticalHeader()->setDefaultSectionSize(kCellHeight + 6);
    connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { Edit(row); });

    auto* buttons = new QHBoxLayout;
    const auto add = [this, buttons](const char* caption, std::function<void(int)> action) {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(false);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, action = std::move(action)] {
            const int row = selectedRow();
            if (row >= 0) {
                action(row);
            }
        });
    };
    add("編集", [this](int row) { Edit(row); });
    add("コピー", [this](int row) { model_.copy(static_cast<size_t>(row)); });
    add("ペースト", [this](int row) {
        model_.paste(static_cast<size_t>(row));
        ShowRow(row);
    });
    add("消去", [this](int row) {
        model_.erase(static_cast<size_t>(row));
        ShowRow(row);
    });
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    for (int row = 0; row < list_->rowCount(); ++row) {
        auto* number = new QTableWidgetItem(GlyphString(TwoDigitGlyphCode(row + 1)));
        number->setTextAlignment(Qt::AlignCenter);
        list_->setItem(row, 0, number);
        list_->setItem(row, 1, new QTableWidgetItem);
    }
    Refresh();
}

int CTabSaParaTx::selectedRow() const {
    const QList<QTableWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->row();
}

void CTabSaParaTx::ShowRow(int row) {
    list_->item(row, 1)->setText(
        PatternGlyphString(model_.entry(static_cast<size_t>(row)).usedElements()));
}

void CTabSaParaTx::Edit(int row) {
    CharacterPattern pattern;
    pattern.setElements(model_.entry(static_cast<size_t>(row)).usedElements());
    if (RunCharacterInput(this, DataInputMode::TransmitData, pattern)) {
        model_.setCharacters(static_cast<size_t>(row), pattern.usedElements());
        Refresh();
    }
}

void CTabSaParaTx::Refresh() {
    for (int row = 0; row < list_->rowCount(); ++row) {
        ShowRow(row);
    }
}

} // namespace varnolt::ui
