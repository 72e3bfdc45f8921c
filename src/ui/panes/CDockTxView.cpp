#include "ui/panes/CDockTxView.h"

#include "core/link/panes/TransmitRows.h"
#include "core/settings/CSaParameter.h"
#include "ui/panes/CTvTxListCtrl.h"
#include "ui/view/QtCellCanvas.h"

#include <QHeaderView>
#include <QVBoxLayout>

namespace varnolt::ui {

namespace {

constexpr int kCellFontPixels = 14;
constexpr int kNumberColumnWidth = 30;
constexpr int kTextColumnWidth = 150;

// The rows' font; the headers keep the program's font, since the cell font holds no Japanese.
QFont CellFont() {
    QFont font(QStringLiteral("SFgg1"));
    font.setPixelSize(kCellFontPixels);
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QString GlyphsText(std::span<const GlyphCode> codes) {
    QString text;
    for (const GlyphCode code : codes) {
        text += QtCellCanvas::GlyphText(code);
    }
    return text;
}

} // namespace

CDockTxView::CDockTxView(QWidget* parent) : QDockWidget("送信 ビュー", parent) {
    setObjectName("pane136");
    setAllowedAreas(Qt::AllDockWidgetAreas);
    auto* contents = new QWidget(this);
    contents->setMinimumSize(200, 150);
    auto* column = new QVBoxLayout(contents);
    column->setContentsMargins(0, 0, 0, 0);
    list_ = new CTvTxListCtrl(contents);
    list_->setColumnCount(2);
    auto* number = new QTableWidgetItem("No.");
    number->setTextAlignment(Qt::AlignCenter);
    list_->setHorizontalHeaderItem(0, number);
    auto* text = new QTableWidgetItem("送信文字");
    text->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setHorizontalHeaderItem(1, text);
    list_->setColumnWidth(0, kNumberColumnWidth);
    list_->setColumnWidth(1, kTextColumnWidth);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->verticalHeader()->setDefaultSectionSize(kCellFontPixels + 6);
    column->addWidget(list_);
    setWidget(contents);

    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected) {
                if (selected.isEmpty()) {
                    return;
                }
                if (const auto entry = selection_.Selected(selected.indexes().front().row())) {
                    emit transmitRequested(*entry);
                }
            });
    // Single-shot and started again after each pass, as the pane's 20 ms window timer.
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &CDockTxView::OnTimer);
    timer_.start(TransmitSelection::kTickMs);
}

void CDockTxView::Fill(const CSaParameter& settings) {
    const QSignalBlocker quiet(list_->selectionModel());
    list_->clearContents();
    list_->setRowCount(0);
    list_->setRowCount(static_cast<int>(kTxEntryCount));
    const QFont cellFont = CellFont();
    for (size_t row = 0; row < kTxEntryCount; ++row) {
        const TransmitRow shown = TransmitRowOf(settings, row);
        auto* number = new QTableWidgetItem(QtCellCanvas::GlyphText(shown.number));
        number->setTextAlignment(Qt::AlignCenter);
        number->setFont(cellFont);
        list_->setItem(static_cast<int>(row), 0, number);
        auto* text = new QTableWidgetItem(GlyphsText(shown.text));
        text->setFont(cellFont);
        list_->setItem(static_cast<int>(row), 1, text);
    }
}

void CDockTxView::OnTimer() {
    if (selection_.Tick()) {
        const QSignalBlocker quiet(list_->selectionModel());
        list_->clearSelection();
        list_->setCurrentIndex(QModelIndex());
        list_->viewport()->update();
    }
    timer_.start(TransmitSelection::kTickMs);
}

} // namespace varnolt::ui
