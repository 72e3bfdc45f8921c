#pragma once

#include "core/link/screencapture/ScreenImage.h"

#include <QImage>
#include <QWidget>

namespace varnolt::ui {

// The picture frame of the screen-capture dialog: the analyzer's screen at (10, 10) inside a
// black one-pixel frame through (9, 9) and (490, 282). The image is kept, so it is painted again
// whenever the frame is uncovered.
class ScreenPictureView final : public QWidget {
    Q_OBJECT

public:
    // Where the screen and its frame sit in the picture frame.
    static constexpr int kImageOffset = 10;
    static constexpr int kFrameOffset = 9;
    static constexpr int kFrameWidth = kScreenWidth + 2;   // 482
    static constexpr int kFrameHeight = kScreenHeight + 2; // 274

    explicit ScreenPictureView(QWidget* parent = nullptr);

    // Takes PIXELS (480 × 272, row by row) as the picture to show from now on.
    void setImage(const ScreenImage& pixels);
    [[nodiscard]] const QImage& image() const { return image_; }
    [[nodiscard]] bool hasImage() const { return !image_.isNull(); }
    // What the frame shows from (9, 9): the screen with its frame, 482 × 274 pixels.
    [[nodiscard]] QPixmap framedPicture();

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

} // namespace varnolt::ui
