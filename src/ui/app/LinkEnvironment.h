#pragma once

#include "core/link/port/PortBackend.h"
#include "core/link/protocol/LinkServices.h"
#include "sim/TrafficChoice.h"
#include "ui/platform/QtClock.h"
#include "ui/platform/QtWaitCursor.h"

#include <memory>

namespace varnolt::ui {

// What the analyzer link of the running program talks through: the bridge calls of the chosen
// backend, the tick count, the rest between looks at the receive ring and the wait cursor.
class LinkEnvironment {
public:
    // TRAFFIC: what the virtual analyzer measures, when BACKEND is the simulated one.
    LinkEnvironment(PortBackend backend, UserPrompt& prompt,
                    sim::TrafficKind traffic = sim::TrafficKind::Exchanges);
    LinkEnvironment(const LinkEnvironment&) = delete;
    LinkEnvironment& operator=(const LinkEnvironment&) = delete;
    ~LinkEnvironment();

    [[nodiscard]] PortBackend backend() const { return backend_; }
    // False only for libftdi1 in a build without it.
    [[nodiscard]] bool available() const { return api_ != nullptr; }
    [[nodiscard]] LinkServices services();

private:
    PortBackend backend_;
    UserPrompt& prompt_;
    std::unique_ptr<D2xxApi> api_;
    QtClock clock_;
    PollingAnswerWait answerWait_;
    QtWaitCursor waitCursor_;
};

} // namespace varnolt::ui
