#include "ui/app/LinkEnvironment.h"

#include "core/link/port/D2xxApi.h"
#include "sim/PortBackends.h"

namespace varnolt::ui {

LinkEnvironment::LinkEnvironment(PortBackend backend, UserPrompt& prompt, sim::TrafficKind traffic)
    : backend_(backend), prompt_(prompt), api_(sim::CreateD2xxApi(backend, traffic)) {
}

LinkEnvironment::~LinkEnvironment() = default;

LinkServices LinkEnvironment::services() {
    return LinkServices{*api_, prompt_, clock_, answerWait_, waitCursor_};
}

} // namespace varnolt::ui
