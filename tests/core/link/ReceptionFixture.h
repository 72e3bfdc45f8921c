#pragma once

#include "core/capture/AutomaticSave.h"
#include "core/capture/CaptureSaver.h"
#include "core/link/protocol/AnalyzerConnection.h"
#include "core/link/reception/CDeviceEtc.h"
#include "core/link/reception/CTrigger.h"
#include "core/link/reception/OnlineReception.h"
#include "core/link/reception/ReceptionView.h"
#include "core/settings/CSaParameter.h"
#include "core/settings/SettingsCapture.h"

#include <chrono>
#include <deque>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "SimulatedLink.h"

namespace varnolt::testing {

// A view that records what reception asks of it, with the newest record of STORE at the time.
class RecordingReceptionView final : public ReceptionView {
public:
    explicit RecordingReceptionView(const CCaptureData& store) : store_(store) {}

    struct Drawn {
        RingIndex first;
        RingIndex last;
        bool restart;
        friend bool operator==(const Drawn&, const Drawn&) = default;
    };

    void DrawReceived(RingIndex first, bool restart) override {
        drawn.push_back({first, store_.lastIndex(), restart});
    }
    void DrawOverflow(RingIndex first) override {
        overflows.push_back({first, store_.lastIndex(), false});
    }
    void DrawLiveIdle(RingIndex nextToDraw, uint32_t idleValue) override {
        liveIdle.emplace_back(nextToDraw, idleValue);
    }
    void RefreshLineLamps(bool) override { ++lampRefreshes; }
    void RefreshStatusAndPanes() override { ++statusRefreshes; }
    void RefreshDevicePane() override { ++paneRefreshes; }
    void OnMeasurementStarted(bool running) override { started.push_back(running); }
    void OnMeasurementStopped() override { ++stopped; }
    void OnDownloadEnded() override { ++downloadsEnded; }
    void ShowNotice(std::string_view text) override { notices.emplace_back(text); }

    std::vector<Drawn> drawn;
    std::vector<Drawn> overflows;
    std::vector<std::pair<RingIndex, uint32_t>> liveIdle;
    std::vector<bool> started;
    std::vector<std::string> notices;
    int lampRefreshes = 0;
    int statusRefreshes = 0;
    int paneRefreshes = 0;
    int stopped = 0;
    int downloadsEnded = 0;

private:
    const CCaptureData& store_;
};

// Online reception over a simulated link, with the document's objects beside it and a 10 ms
// tick on the manual clock.
class ReceptionFixture : public SimulatedLink {
public:
    explicit ReceptionFixture(RecordCount capacity = 1000) : store(capacity) {}

    // Lets the port's reader carry what the analyzer has sent into the ring.
    void settle() {
        while (analyzer.bytesInFlight()) {
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
    }
    // One timer pass, then 10 ms pass.
    PollResult tick() {
        settle();
        const PollResult result = reception.Tick();
        time.Advance(10);
        return result;
    }
    PollResult ticks(int count) {
        PollResult result = PollResult::Idle;
        for (int k = 0; k < count; ++k) {
            result = tick();
        }
        return result;
    }
    void connect() { ASSERT_EQ(ConnectAnalyzer(link, owner), ConnectResult::Connected); }

    CCaptureData store;
    CSaParameter settings;
    LineStates lines{};
    CTrigger trigger;
    CDeviceEtc device;
    AutoSaveOptions autoSave; // as the user set automatic saving up
    RecordingReceptionView view{store};
    OnlineReception reception{ReceptionContext{link, store, settings, lines, trigger, device,
                                               [this] { return autoSave; }, owner, view,
                                               [this] {
                                                   store.Reset(CaptureConditionsOf(settings));
                                                   lines.fill(0);
                                                   device.Clear();
                                               }}};
};

} // namespace varnolt::testing
