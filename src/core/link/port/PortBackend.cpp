#include "core/link/port/PortBackend.h"

#include "core/link/port/D2xxLibrary.h"
#include "core/link/port/LibFtdiApi.h"

#include <optional>

namespace varnolt {

namespace {

constexpr std::string_view kPortOption = "--port";
constexpr std::string_view kSimulateOption = "--simulate";

std::optional<PortBackend> BackendNamed(std::string_view name) {
    for (const PortBackend backend :
         {PortBackend::D2xx, PortBackend::LibFtdi, PortBackend::Simulated}) {
        if (name == PortBackendName(backend)) {
            return backend;
        }
    }
    return std::nullopt;
}

} // namespace

PortBackend DefaultPortBackend() {
#ifdef _WIN32
    return PortBackend::D2xx;
#else
    return LibFtdiApi::available() ? PortBackend::LibFtdi : PortBackend::D2xx;
#endif
}

std::string_view PortBackendName(PortBackend backend) {
    switch (backend) {
    case PortBackend::D2xx:
        return "d2xx";
    case PortBackend::LibFtdi:
        return "libftdi";
    case PortBackend::Simulated:
        return "sim";
    }
    return "d2xx";
}

PortSelection SelectPortBackend(std::span<const std::string> arguments) {
    PortSelection selection;
    selection.backend = DefaultPortBackend();
    const auto choose = [&selection](std::string_view name) {
        const std::optional<PortBackend> backend = BackendNamed(name);
        if (!backend) {
            selection.error =
                "--port takes d2xx, libftdi or sim, not \"" + std::string(name) + "\"";
        } else if (*backend == PortBackend::LibFtdi && !LibFtdiApi::available()) {
            selection.error = "this build of Varnolt has no libftdi1 backend";
        } else {
            selection.backend = *backend;
        }
    };
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string_view argument = arguments[index];
        if (argument == kSimulateOption) {
            selection.backend = PortBackend::Simulated;
        } else if (argument == kPortOption) {
            if (index + 1 == arguments.size()) {
                selection.error = "--port needs a name: d2xx, libftdi or sim";
            } else {
                choose(arguments[++index]);
            }
        } else if (argument.starts_with(kPortOption) && argument.size() > kPortOption.size() &&
                   argument[kPortOption.size()] == '=') {
            choose(argument.substr(kPortOption.size() + 1));
        } else {
            selection.remaining.push_back(std::string(argument));
        }
    }
    return selection;
}

std::unique_ptr<D2xxApi> CreateHardwareD2xxApi(PortBackend backend) {
    switch (backend) {
    case PortBackend::D2xx:
        return std::make_unique<D2xxLibrary>();
    case PortBackend::LibFtdi:
#ifdef VARNOLT_HAVE_LIBFTDI
        return std::make_unique<LibFtdiApi>();
#else
        return nullptr;
#endif
    case PortBackend::Simulated:
        return nullptr;
    }
    return nullptr;
}

} // namespace varnolt
