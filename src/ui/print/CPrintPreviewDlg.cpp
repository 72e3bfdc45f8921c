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
    BuildToolBar();
    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    sheet_ = new PreviewSheet;
    scroll_->setWidget(sheet_);
    layout->addWidget(scroll_, 1);
    counter_ = new QTimer(this);
    counter_->setInterval(0);
    connect(counter_, &QTimer::timeout, this, &CPrintPreviewDlg::CountSlice);
    resize(1000, 800);
    PaperChanged();
}

void CPrintPreviewDlg::BuildToolBar() {
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
            PaperChanged();
        }
    });
    bar->addSeparator();
    add("縦", "用紙を縦向きにします", [this] {
        printer_.setPageOrientation(QPageLayout::Portrait);
        PaperChanged();
    });
    add("横", "用紙を横向きにします", [this] {
        printer_.setPageOrientation(QPageLayout::Landscape);
        PaperChanged();
    });
    bar->addSeparator();
    first_ = add("|◀", "最初のページ", &CPrintPreviewDlg::FirstPage);
    previous_ = add("◀", "前のページ", &CPrintPreviewDlg::PreviousPage);
    pageEdit_ = new QLineEdit(bar);
    pageEdit_->setValidator(new QIntValidator(1, INT32_MAX, pageEdit_));
    pageEdit_->setAlignment(Qt::AlignRight);
    pageEdit_->setFixedWidth(pageEdit_->fontMetrics().horizontalAdvance("0000000") + 12);
    pageEdit_->setToolTip("ページ番号");
    pageEdit_->setFocusPolicy(Qt::ClickFocus);
    connect(pageEdit_, &QLineEdit::returnPressed, this,
            [this] { GoToPage(pageEdit_->text().toInt()); });
    bar->addWidget(pageEdit_);
    pageLabel_ = new QLabel(bar);
    pageLabel_->setContentsMargins(6, 0, 6, 0);
    bar->addWidget(pageLabel_);
    next_ = add("▶", "次のページ", &CPrintPreviewDlg::NextPage);
    last_ = add("▶|", "最後のページ", &CPrintPreviewDlg::LastPage);
    // The page field keeps Home and End for its own text while it is being typed into.
    first_->setShortcut(Qt::Key_Home);
    previous_->setShortcut(Qt::Key_PageUp);
    next_->setShortcut(Qt::Key_PageDown);
    last_->setShortcut(Qt::Key_End);
    bar->addSeparator();
    add("ページ幅", "ページの幅に合わせます", [this] {
        model_.setZoom(PreviewZoom::FitWidth);
        ShowPage();
    });
    add("ページ全体", "ページ全体を表示します", [this] {
        model_.setZoom(PreviewZoom::FitPage);
        ShowPage();
    });
    add("拡大", "拡大します", &CPrintPreviewDlg::ZoomIn);
    add("縮小", "縮小します", &CPrintPreviewDlg::ZoomOut);
    scaleLabel_ = new QLabel(bar);
    scaleLabel_->setContentsMargins(6, 0, 6, 0);
    bar->addWidget(scaleLabel_);
    bar->addSeparator();
    add("閉じる", "プレビューを閉じます", &QDialog::reject);
}

QString CPrintPreviewDlg::pageText() const {
    return pageEdit_->text() + ' ' + pageLabel_->text();
}

void CPrintPreviewDlg::PaperChanged() {
    // A new paper means a new pagination; the count is worked out again in the background.
    PrintPagination& pagination = capturePrinter_.pagination(printer_);
    model_.setPageCount(pagination.KnownPageCount());
    if (!pagination.complete()) {
        counter_->start();
    }
    ShowPage();
}

void CPrintPreviewDlg::CountSlice() {
    if (capturePrinter_.pagination(printer_).Extend(kCountSlice)) {
        counter_->stop();
        LearnPageCount();
        UpdateControls();
    }
}

void CPrintPreviewDlg::LearnPageCount() {
    const PrintPagination& pagination = capturePrinter_.pagination(printer_);
    if (pagination.complete()) {
        counter_->stop();
        model_.setPageCount(pagination.KnownPageCount());
    }
}

void CPrintPreviewDlg::GoToPage(int page) {
    model_.GoTo(page);
    ShowPage();
}

void CPrintPreviewDlg::NextPage() {
    if (model_.Next()) {
        ShowPage();
    }
}

void CPrintPreviewDlg::PreviousPage() {
    if (model_.Previous()) {
        ShowPage();
    }
}

void CPrintPreviewDlg::FirstPage() {
    if (model_.First()) {
        ShowPage();
    }
}

void CPrintPreviewDlg::LastPage() {
    const int32_t count = capturePrinter_.pagination(printer_).PageCount();
    LearnPageCount();
    model_.GoTo(count);
    ShowPage();
}

void CPrintPreviewDlg::ZoomIn() {
    model_.ZoomIn(currentScale());
    ShowPage();
}

void CPrintPreviewDlg::ZoomOut() {
    model_.ZoomOut(currentScale());
    ShowPage();
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

void CPrintPreviewDlg::ShowPage() {
    // Going forwards before the count is known walks just far enough; past the end it is known.
    if (!model_.pageCount()) {
        (void)capturePrinter_.pagination(printer_).Page(model_.page());
        LearnPageCount();
    }
    sheet_->setImage(
        capturePrinter_.RenderPage(printer_, model_.page(), screenPixelsPerMm() * currentScale()));
    UpdateControls();
}

void CPrintPreviewDlg::UpdateControls() {
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
        ShowPage();
    }
}

void CPrintPreviewDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ShowPage(); // the viewport has its real size now
}

} // namespace varnolt::ui
