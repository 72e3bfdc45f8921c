#include "core/link/port/PortBackend.h"

#include "core/link/port/LibFtdiApi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnolt {
namespace {

using Args = std::vector<std::string>;

TEST(PortBackend, TheCommandLineChoosesTheBackend) {
    const struct {
        Args arguments;
        PortBackend backend;
        Args remaining;
    } cases[] = {
        {{}, DefaultPortBackend(), {}},
        {{"capture.tvd"}, DefaultPortBackend(), {"capture.tvd"}},
        {{"--simulate", "capture.tvd"}, PortBackend::Simulated, {"capture.tvd"}},
        {{"--port", "sim"}, PortBackend::Simulated, {}},
        {{"--port=d2xx", "a.tvd"}, PortBackend::D2xx, {"a.tvd"}},
        {{"--simulate", "--port", "d2xx"}, PortBackend::D2xx, {}},
        {{"--portable"}, DefaultPortBackend(), {"--portable"}},
    };
    for (const auto& [arguments, backend, remaining] : cases) {
        const PortSelection selection = SelectPortBackend(arguments);
        EXPECT_EQ(selection.backend, backend) << arguments.size();
        EXPECT_EQ(selection.remaining, remaining);
        EXPECT_TRUE(selection.error.empty()) << selection.error;
    }
}

TEST(PortBackend, AWrongOrMissingNameIsReportedAndTheDefaultKept) {
    for (const Args& arguments : {Args{"--port", "usb"}, Args{"--port"}, Args{"--port="}}) {
        const PortSelection selection = SelectPortBackend(arguments);
        EXPECT_EQ(selection.backend, DefaultPortBackend());
        EXPECT_FALSE(selection.error.empty());
    }
}

TEST(PortBackend, LinuxDefaultsToLibFtdiSoFtdisLibraryIsNeverMissed) {
#ifdef _WIN32
    EXPECT_EQ(DefaultPortBackend(), PortBackend::D2xx);
#else
    EXPECT_EQ(DefaultPortBackend(),
              LibFtdiApi::available() ? PortBackend::LibFtdi : PortBackend::D2xx);
#endif
    EXPECT_NE(CreateHardwareD2xxApi(PortBackend::D2xx), nullptr);
    EXPECT_EQ(CreateHardwareD2xxApi(PortBackend::Simulated), nullptr);
    EXPECT_EQ(CreateHardwareD2xxApi(PortBackend::LibFtdi) != nullptr, LibFtdiApi::available());
}

} // namespace
} // namespace varnolt
