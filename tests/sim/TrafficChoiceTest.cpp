#include "sim/MeasurementEngine.h"
#include "sim/PortBackends.h"
#include "sim/VirtualAnalyzer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnolt::sim {
namespace {

using Args = std::vector<std::string>;

TEST(TrafficChoice, TheCommandLineChoosesTheVirtualAnalyzersTraffic) {
    const struct {
        Args arguments;
        TrafficKind traffic;
        Args remaining;
    } cases[] = {
        {{"--simulate"}, TrafficKind::Exchanges, {}},
        {{"--simulate", "--traffic", "saturated", "a.tvd"}, TrafficKind::Saturated, {"a.tvd"}},
        {{"--traffic=modbus", "--port", "sim"}, TrafficKind::Modbus, {}},
        {{"--traffic", "modbus", "--simulate", "--traffic=exchanges"}, TrafficKind::Exchanges, {}},
        {{"--simulate", "--trafficking"}, TrafficKind::Exchanges, {"--trafficking"}},
    };
    for (const auto& [arguments, traffic, remaining] : cases) {
        const PortAndTraffic chosen = SelectPortAndTraffic(arguments);
        EXPECT_EQ(chosen.traffic, traffic) << arguments.size();
        EXPECT_EQ(chosen.port.backend, PortBackend::Simulated);
        EXPECT_EQ(chosen.port.remaining, remaining);
        EXPECT_TRUE(chosen.port.error.empty()) << chosen.port.error;
    }
}

TEST(TrafficChoice, AWrongNameOrAHardwarePortIsReported) {
    const struct {
        Args arguments;
        std::string error;
    } cases[] = {
        {{"--simulate", "--traffic", "busy"},
         "--traffic takes exchanges, saturated or modbus, not \"busy\""},
        {{"--simulate", "--traffic="}, "--traffic takes exchanges, saturated or modbus, not \"\""},
        {{"--simulate", "--traffic"}, "--traffic needs a name: exchanges, saturated or modbus"},
        {{"--port", "d2xx", "--traffic", "modbus"},
         "--traffic is for the virtual analyzer: add --simulate or --port sim"},
        // The port's own mistake is named first.
        {{"--port", "usb", "--traffic", "busy"}, "--port takes d2xx, libftdi or sim, not \"usb\""},
    };
    for (const auto& [arguments, error] : cases) {
        const PortAndTraffic chosen = SelectPortAndTraffic(arguments);
        EXPECT_EQ(chosen.port.error, error);
        EXPECT_EQ(chosen.traffic, TrafficKind::Exchanges);
    }
}

// The program's simulated port hands the choice to the process's analyzer, which measures it.
TEST(TrafficChoice, TheSimulatedPortGivesTheAnalyzerItsTraffic) {
    const auto traffic = [] {
        TrafficKind kind = TrafficKind::Exchanges;
        VirtualAnalyzer::processAnalyzer().WithFirmware([&kind](AnalyzerFirmware& firmware) {
            kind = firmware.measurement->options().traffic;
        });
        return kind;
    };
    for (const TrafficKind kind :
         {TrafficKind::Modbus, TrafficKind::Saturated, TrafficKind::Exchanges}) {
        ASSERT_NE(CreateD2xxApi(PortBackend::Simulated, kind), nullptr);
        EXPECT_EQ(traffic(), kind);
    }
}

TEST(TrafficChoice, EveryKindIsFoundByItsName) {
    for (const TrafficKind kind :
         {TrafficKind::Exchanges, TrafficKind::Saturated, TrafficKind::Modbus}) {
        EXPECT_EQ(TrafficKindNamed(TrafficKindName(kind)), kind);
    }
    EXPECT_EQ(TrafficKindNamed("Saturated"), std::nullopt);
}

} // namespace
} // namespace varnolt::sim
