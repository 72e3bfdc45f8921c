#include "core/link/protocol/AnalyzerConnection.h"
#include "core/link/protocol/CMoniterComm.h"
#include "core/platform/Clock.h"
#include "sim/PortBackends.h"
#include "sim/VirtualAnalyzer.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

namespace varnolt::sim {
namespace {

// The program's --simulate mode: the process's analyzer on the real clock, reached by the
// document's link and by a dialog's link, one after the other.
TEST(SimulatedPort, LinksOfTheProgramShareTheProcesssAnalyzer) {
    const std::unique_ptr<D2xxApi> api = CreateD2xxApi(PortBackend::Simulated);
    ASSERT_NE(api, nullptr);
    SteadyClock clock;
    PollingAnswerWait wait;
    NoWaitCursor cursor;
    testing::RecordingPrompt prompt;
    ReceiveRing ring;
    CMoniterComm document(LinkServices{*api, prompt, clock, wait, cursor, &ring});
    ASSERT_EQ(ConnectAnalyzer(document, prompt), ConnectResult::Connected);
    VirtualAnalyzer::processAnalyzer().WithFirmware([](AnalyzerFirmware& firmware) {
        EXPECT_EQ(firmware.remoteMode, 1);
        EXPECT_EQ(firmware.runState, CMoniterComm::kStopped);
    });
    ASSERT_EQ(DisconnectAnalyzer(document, prompt), DisconnectResult::Disconnected);

    CMoniterComm dialog(LinkServices{*api, prompt, clock, wait, cursor, &ring});
    std::string version;
    EXPECT_TRUE(dialog.GetProgramVersion(version));
    EXPECT_EQ(version, "100200");
    EXPECT_TRUE(prompt.entries.empty());
}

} // namespace
} // namespace varnolt::sim
