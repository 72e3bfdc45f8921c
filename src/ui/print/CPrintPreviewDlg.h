#pragma once

#include "core/view/PrintPreviewModel.h"

#include <QDialog>
#include <QImage>

class QAction;
class QLabel;
class QLineEdit;
class QPrinter;
class QScrollArea;
class QTimer;

namespace varnolt::ui {

class CapturePrinter;

// One previewed sheet: the page image on a grey desk, centred.
class PreviewSheet final : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
    void setImage(QImage image);
    [[nodiscard]] const QImage& image() const { return image_; }
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

// "印刷プレビュー": the printed pages one at a time, painted only when shown, with page
// navigation, zoom, orientation, page setup and print. A frame display capture is paginated
// in slices between events, so the first page shows at once and the count follows; the dialog
// holds only the page on screen, whatever the number of pages.
class CPrintPreviewDlg final : public QDialog {
    Q_OBJECT

public:
    // exec() gives this when the user chose "印刷...": the caller prints.
    static constexpr int kPrintRequested = 2;

    CPrintPreviewDlg(CapturePrinter& capturePrinter, QPrinter& printer, QWidget* parent = nullptr);

    [[nodiscard]] const PrintPreviewModel& model() const { return model_; }
    [[nodiscard]] const PreviewSheet& sheet() const { return *sheet_; }
    // What the page field and the count beside it show: "3 / 3052 ページ".
    [[nodiscard]] QString pageText() const;

public slots:
    void GoToPage(int page);
    void NextPage();
    void PreviousPage();
    void FirstPage();
    void LastPage();
    void ZoomIn();
    void ZoomOut();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildToolBar();
    void PaperChanged();
    void CountSlice();
    void LearnPageCount();
    void ShowPage();
    void UpdateControls();
    [[nodiscard]] double currentScale() const;
    [[nodiscard]] double screenPixelsPerMm() const;

    CapturePrinter& capturePrinter_;
    QPrinter& printer_;
    PrintPreviewModel model_;
    QScrollArea* scroll_ = nullptr;
    PreviewSheet* sheet_ = nullptr;
    QTimer* counter_ = nullptr;
    QLineEdit* pageEdit_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QLabel* scaleLabel_ = nullptr;
    QAction* first_ = nullptr;
    QAction* previous_ = nullptr;
    QAction* next_ = nullptr;
    QAction* last_ = nullptr;
};

} // namespace varnolt::ui
