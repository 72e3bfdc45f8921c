#include "ui/print/CPrintPreviewDlg.h"

#include "ui/view/CapturePrinter.h"

#include <QAction>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace varnolt::ui {

namespace {

// Records walked per slice of the background pagination: a few milliseconds each.
constexpr RecordCount kCountSlice = 200'000;
// Space around the sheet on the desk.
constexpr int kDeskMargin = 12;

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

void PreviewSheet::setImage(QImage image) {
    image_ = std::move(image);
    resize(sizeHint());
    updateGeometry();
    update();
}

QSize PreviewSheet::sizeHint() const {
    return image_.size() + QSize(2 * kDeskMargin, 2 * kDeskMargin);
}

void PreviewSheet::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(128, 128, 128));
    const QPoint corner((width() - image_.width()) / 2, (height() - image_.height()) / 2);
    painter.fillRect(QRect(corner + QPoint(3, 3), image_.size()), QColor(64, 64, 64));
    painter.drawImage(corner, image_);
}

CPrintPreviewDlg::CPrintPreviewDlg(CapturePrinter& capturePrinter, QPrinter& printer,
                                   QWidget* parent)
    : QDialog(parent), capturePrinter_(capturePrinter), printer_(printer) {
    setWindowTitle("印刷プレビュー");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    sheet_ = new PreviewSheet;
    scroll_->setWidget(sheet_);
    layout->addWidget(scroll_, 1);
    counter_ = new QTimer(this);
    counter_->setInterval(0);
    connect(counter_, &QTimer::timeout, this, &CPrintPreviewDlg::countSlice);
    resize(1000, 800);
    paperChanged();
}

void CPrintPreviewDlg::buildToolBar() {
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout()->addWidget(bar);
    const auto add = [&](const char* text, const char* tip, auto slot) {
        QAction* action = bar->addAction(QString::fromUtf8(text));
        action->setToolTip(QString::fromUtf8(tip));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("印刷...", "印刷します", [this] { done(kPrintRequested); });
    add("ページ設定...", "用紙と余白を設定します", [this] {
        QPageSetupDialog setup(&printer_, this);
        if (setup.exec() == QDialog::Accepted) {
            paperChanged();
        }
    });
    bar->addSeparator();
    add("縦", "用紙を縦向きにします", [this] {
        printer_.setPageOrientation(QPageLayout::Portrait);
        paperChanged();
    });
    add("横", "用紙を横向きにします", [this] {
        printer_.setPageOrientation(QPageLayout::Landscape);
        paperChanged();
    });
    bar->addSeparator();
    first_ = add("|◀", "最初のページ", &CPrintPreviewDlg::firstPage);
    previous_ = add("◀", "前のページ", &CPrintPreviewDlg::previousPage);
    pageEdit_ = new QLineEdit(bar);
    pageEdit_->setValidator(new QIntValidator(1, INT32_MAX, pageEdit_));
    pageEdit_->setAlignment(Qt::AlignRight);
    pageEdit_->setFixedWidth(pageEdit_->fontMetrics().horizontalAdvance("0000000") + 12);
    pageEdit_->setToolTip("ページ番号");
    pageEdit_->setFocusPolicy(Qt::ClickFocus);
    connect(pageEdit_, &QLineEdit::returnPressed, this,
            [this] { goToPage(pageEdit_->text().toInt()); });
    bar->addWidget(pageEdit_);
    pageLabel_ = new QLabel(bar);
    pageLabel_->setContentsMargins(6, 0, 6, 0);
    bar->addWidget(pageLabel_);
    next_ = add("▶", "次のページ", &CPrintPreviewDlg::nextPage);
    last_ = add("▶|", "最後のページ", &CPrintPreviewDlg::lastPage);
    // The page field keeps Home and End for its own text while it is being typed into.
    first_->setShortcut(Qt::Key_Home);
    previous_->setShortcut(Qt::Key_PageUp);
    next_->setShortcut(Qt::Key_PageDown);
    last_->setShortcut(Qt::Key_End);
    bar->addSeparator();
    add("ページ幅", "ページの幅に合わせます", [this] {
        model_.setZoom(PreviewZoom::FitWidth);
        showPage();
    });
    add("ページ全体", "ページ全体を表示します", [this] {
        model_.setZoom(PreviewZoom::FitPage);
        showPage();
    });
    add("拡大", "拡大します", &CPrintPreviewDlg::zoomIn);
    add("縮小", "縮小します", &CPrintPreviewDlg::zoomOut);
    scaleLabel_ = new QLabel(bar);
    scaleLabel_->setContentsMargins(6, 0, 6, 0);
    bar->addWidget(scaleLabel_);
    bar->addSeparator();
    add("閉じる", "プレビューを閉じます", &QDialog::reject);
}

QString CPrintPreviewDlg::pageText() const {
    return pageEdit_->text() + ' ' + pageLabel_->text();
}

void CPrintPreviewDlg::paperChanged() {
    // A new paper means a new pagination; the count is worked out again in the background.
    PrintPagination& pagination = capturePrinter_.pagination(printer_);
    model_.setPageCount(pagination.KnownPageCount());
    if (!pagination.complete()) {
        counter_->start();
    }
    showPage();
}

void CPrintPreviewDlg::countSlice() {
    if (capturePrinter_.pagination(printer_).Extend(kCountSlice)) {
        counter_->stop();
        learnPageCount();
        updateControls();
    }
}

void CPrintPreviewDlg::learnPageCount() {
    const PrintPagination& pagination = capturePrinter_.pagination(printer_);
    if (pagination.complete()) {
        counter_->stop();
        model_.setPageCount(pagination.KnownPageCount());
    }
}

void CPrintPreviewDlg::goToPage(int page) {
    model_.GoTo(page);
    showPage();
}

void CPrintPreviewDlg::nextPage() {
    if (model_.Next()) {
        showPage();
    }
}

void CPrintPreviewDlg::previousPage() {
    if (model_.Previous()) {
        showPage();
    }
}

void CPrintPreviewDlg::firstPage() {
    if (model_.First()) {
        showPage();
    }
}

void CPrintPreviewDlg::lastPage() {
    const int32_t count = capturePrinter_.pagination(printer_).PageCount();
    learnPageCount();
    model_.GoTo(count);
    showPage();
}

void CPrintPreviewDlg::zoomIn() {
    model_.ZoomIn(currentScale());
    showPage();
}

void CPrintPreviewDlg::zoomOut() {
    model_.ZoomOut(currentScale());
    showPage();
}

double CPrintPreviewDlg::screenPixelsPerMm() const {
    return logicalDpiX() / 25.4;
}

double CPrintPreviewDlg::currentScale() const {
    const QSizeF paper =
        printer_.pageLayout().fullRect(QPageLayout::Millimeter).size() * screenPixelsPerMm();
    const QSize view = scroll_->viewport()->size() - QSize(2 * kDeskMargin, 2 * kDeskMargin);
    return model_.Scale(paper.width(), paper.height(), view.width(), view.height());
}

void CPrintPreviewDlg::showPage() {
    // Going forwards before the count is known walks just far enough; past the end it is known.
    if (!model_.pageCount()) {
        (void)capturePrinter_.pagination(printer_).Page(model_.page());
        learnPageCount();
    }
    sheet_->setImage(
        capturePrinter_.renderPage(printer_, model_.page(), screenPixelsPerMm() * currentScale()));
    updateControls();
}

void CPrintPreviewDlg::updateControls() {
    pageEdit_->setText(QString::number(model_.page()));
    pageLabel_->setText(Text(model_.CountText()));
    scaleLabel_->setText(Text(PrintPreviewModel::ScaleText(currentScale())));
    first_->setEnabled(model_.canGoBack());
    previous_->setEnabled(model_.canGoBack());
    next_->setEnabled(model_.canGoForward());
    last_->setEnabled(model_.canGoForward());
}

void CPrintPreviewDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (model_.zoom() != PreviewZoom::Fixed) {
        showPage();
    }
}

void CPrintPreviewDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    showPage(); // the viewport has its real size now
}

} // namespace varnolt::ui
