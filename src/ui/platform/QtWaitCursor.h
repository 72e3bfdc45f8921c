#pragma once

#include "core/link/protocol/LinkServices.h"

#include <QApplication>

namespace varnolt::ui {

// The wait cursor over the whole application for the duration of an exchange.
class QtWaitCursor final : public WaitCursor {
public:
    void show() override { QApplication::setOverrideCursor(Qt::WaitCursor); }
    void hide() override { QApplication::restoreOverrideCursor(); }
};

} // namespace varnolt::ui
