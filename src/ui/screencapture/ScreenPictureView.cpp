#include "ui/screencapture/ScreenPictureView.h"

#include <QPainter>
#include <QPixmap>

namespace varnolt::ui {

ScreenPictureView::ScreenPictureView(QWidget* parent) : QWidget(parent) {
    setObjectName("screenPicture");
    setFixedSize(sizeHint());
}

QSize ScreenPictureView::sizeHint() const {
    return {kScreenWidth + 2 * kImageOffset, kScreenHeight + 2 * kImageOffset};
}

void ScreenPictureView::setImage(const ScreenImage& pixels) {
    QImage image(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    for (int y = 0; y < kScreenHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kScreenWidth; ++x) {
            const Rgb& pixel = pixels[static_cast<size_t>(y * kScreenWidth + x)];
            line[x] = qRgb(pixel.red, pixel.green, pixel.blue);
        }
    }
    image_ = std::move(image);
    update();
}

QPixmap ScreenPictureView::framedPicture() {
    return grab(QRect(kFrameOffset, kFrameOffset, kFrameWidth, kFrameHeight));
}

void ScreenPictureView::paintEvent(QPaintEvent*) {
    if (image_.isNull()) {
        return; // nothing captured yet: the frame stays as the dialog draws it
    }
    QPainter painter(this);
    painter.drawImage(kImageOffset, kImageOffset, image_);
    painter.setPen(QPen(Qt::black, 1));
    const int right = kImageOffset + kScreenWidth;   // 490
    const int bottom = kImageOffset + kScreenHeight; // 282
    painter.drawPolyline(QPolygon({QPoint(kFrameOffset, kFrameOffset), QPoint(right, kFrameOffset),
                                   QPoint(right, bottom), QPoint(kFrameOffset, bottom),
                                   QPoint(kFrameOffset, kFrameOffset)}));
}

} // namespace varnolt::ui
