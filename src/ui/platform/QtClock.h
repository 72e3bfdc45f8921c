#pragma once

#include "core/platform/Clock.h"
#include "core/platform/Pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace varnolt::ui {

// The tick count of the user-interface thread's monotonic timer.
class QtClock final : public Clock {
public:
    QtClock() { timer_.start(); }
    [[nodiscard]] uint32_t tickMs() const override {
        return static_cast<uint32_t>(timer_.elapsed());
    }

private:
    QElapsedTimer timer_;
};

// Lets the window repaint and take clicks inside long exchanges.
class QtPump final : public Pump {
public:
    void pump() override { QCoreApplication::processEvents(); }
};

} // namespace varnolt::ui
