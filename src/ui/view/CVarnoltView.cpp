#include "ui/view/CVarnoltView.h"

#include "core/capture/CCaptureData.h"
#include "core/shell/CVarnoltDoc.h"
#include "core/shell/Commands.h"

#include <QPainter>

namespace varnolt::ui {

CVarnoltView::CVarnoltView(CVarnoltDoc& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
}

void CVarnoltView::onUpdate(int updateCode) {
    if (updateCode == kUpdateRelayout) {
        update();
    }
    emit updated(updateCode);
}

void CVarnoltView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(QColor(96, 96, 96));
    const int32_t count = document_.capture().Count();
    const QString text = document_.holdsCapture() ? QString("%L1 レコード").arg(count)
                                                  : QString("キャプチャがありません");
    painter.drawText(rect(), Qt::AlignCenter, text);
}

} // namespace varnolt::ui
