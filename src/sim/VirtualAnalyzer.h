#pragma once

#include "core/link/port/D2xxApi.h"
#include "sim/AnalyzerFirmware.h"
#include "sim/FaultPlan.h"
#include "sim/UsbInQueue.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace varnolt {
class Clock;
}

namespace varnolt::sim {

// A request as the analyzer received it: its text without the terminator, and when.
struct ReceivedRequest {
    std::string text;
    uint32_t tick = 0;
};

// The virtual analyzer as a USB device: its firmware, its end of the USB bridge, and the
// faults it injects. One host session at a time may have it open, as with the real bridge.
// Every member is safe to call from any thread; the firmware runs under the device's lock.
class VirtualAnalyzer {
public:
    // A host session's key; 0 is never a session.
    using Session = uint64_t;

    // CLOCK times delayed answers; it must outlive the analyzer.
    explicit VirtualAnalyzer(const Clock& clock);
    VirtualAnalyzer(const VirtualAnalyzer&) = delete;
    VirtualAnalyzer& operator=(const VirtualAnalyzer&) = delete;

    // The one analyzer of the process that the program's simulated port reaches.
    [[nodiscard]] static VirtualAnalyzer& processAnalyzer();

    // --- The host side, used by SimulatedBridge.
    // Opens the device by DESCRIPTION; FT_OpenEx's statuses.
    FtStatus Open(std::string_view description, Session& session);
    FtStatus Close(Session session);
    FtStatus ResetDevice(Session session);
    FtStatus Purge(Session session, uint32_t mask);
    // Bytes readable now; waits up to WAIT for the first one when there is none.
    FtStatus QueueStatus(Session session, uint32_t& queued, std::chrono::microseconds wait);
    FtStatus Read(Session session, std::span<uint8_t> destination, uint32_t& got);
    // Takes the bytes of requests; complete frames are carried out at once.
    FtStatus Write(Session session, std::span<const uint8_t> bytes, uint32_t& written);
    // The devices a host would list: the analyzer (while plugged in) and the others.
    [[nodiscard]] std::vector<std::string> attachedDescriptions() const;

    // --- The test side.
    // Runs ACTION on the firmware under the device's lock (to read or change its state).
    void WithFirmware(const std::function<void(AnalyzerFirmware&)>& action);
    // Runs ACTION on the fault plan under the device's lock.
    void WithFaults(const std::function<void(FaultPlan&)>& action);
    // Pulls the cable: the open session dies, nothing more is answered, opening fails.
    void Unplug();
    // Plugs the cable back in; a new session is needed.
    void PlugIn();
    // Switches the analyzer off and on again: the session dies, the bridge comes back at once,
    // and the analyzer starts in its loader, which reports "POW" to the next host that opens
    // the port (and starts a good program if no transfer follows).
    void PowerCycle();
    [[nodiscard]] bool pluggedIn() const;
    // Other bridges attached to the host, by description.
    void setOtherDevices(std::vector<std::string> descriptions);
    // Queues bytes towards the PC as the analyzer sends them unasked (data streams).
    void SendToHost(std::span<const uint8_t> bytes);
    // Waits until at most BYTES are queued towards the PC (a producer's back-pressure).
    void WaitUntilQueuedAtMost(size_t bytes);
    // Whether bytes are on their way to the PC: readable now, or read by the host's reader
    // but not yet followed by its next poll (so possibly not yet in the receive ring).
    [[nodiscard]] bool bytesInFlight() const;
    // Wakes a host waiting in QueueStatus (the clock moved).
    void NotifyTimeMoved();
    // Every request received, in order.
    [[nodiscard]] std::vector<ReceivedRequest> requests() const;
    void ClearRequests();

private:
    [[nodiscard]] bool live(Session session) const;
    // Carries out a request frame, or a text LINE for the loader.
    void CarryOut(std::span<const uint8_t> request, bool line);
    // TRANSFERMS: how long the answer takes to cross the link.
    void QueueAnswer(AnswerFrame answer, FaultSet faults, uint32_t transferMs);
    // The cable comes out: the session dies and everything in transit is gone.
    void PullCable();

    const Clock& clock_;
    mutable std::mutex mutex_;
    std::condition_variable readable_;
    std::condition_variable drained_;
    AnalyzerFirmware firmware_;
    FaultPlan faults_;
    UsbInQueue toHost_;
    std::vector<uint8_t> fromHost_;
    std::deque<ReceivedRequest> requests_;
    std::vector<std::string> otherDevices_;
    bool plugged_ = true;
    Session openSession_ = 0;
    Session lastSession_ = 0;
    bool readUnconfirmed_ = false;
};

} // namespace varnolt::sim
