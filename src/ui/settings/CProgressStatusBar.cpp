#include "ui/settings/CProgressStatusBar.h"

#include "ui/platform/QtText.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace varnolt::ui {

CProgressStatusBar::CProgressStatusBar(QWidget* parent)
    : QStatusBar(parent), text_(new QLabel(this)), progress_(new QProgressBar(this)) {
    setSizeGripEnabled(false);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setFixedWidth(250);
    addWidget(text_, 1);
    addPermanentWidget(progress_);
}

void CProgressStatusBar::setText(std::string_view text) {
    text_->setText(ToQString(text));
}

void CProgressStatusBar::setProgress(int percent) {
    // The read reports steps past 100 at its end; the bar shows them full.
    progress_->setValue(std::clamp(percent, 0, 100));
    // The exchange blocks the window: show each step as it comes.
    progress_->repaint();
    text_->repaint();
}

QString CProgressStatusBar::text() const {
    return text_->text();
}

int CProgressStatusBar::progress() const {
    return progress_->value();
}

} // namespace varnolt::ui
