#pragma once

#include "core/link/reception/OnlineDownload.h"

#include <QProgressBar>

namespace varnolt::ui {

// The download's progress in the status bar's first pane: -1 hides it, 0 … 100 shows it, any
// other value changes nothing.
class StatusProgress final : public DownloadProgress {
public:
    explicit StatusProgress(QProgressBar& bar) : bar_(bar) {}

    void ShowProgress(int32_t percent) override {
        if (percent == -1) {
            bar_.hide();
        } else if (percent >= 0 && percent <= 100) {
            bar_.setValue(percent);
            bar_.show();
        }
    }

private:
    QProgressBar& bar_;
};

} // namespace varnolt::ui
