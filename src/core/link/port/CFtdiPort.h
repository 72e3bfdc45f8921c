#pragma once

#include "core/link/port/D2xxApi.h"
#include "core/link/port/ReceiveRing.h"

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace varnolt {

class Clock;
class UserPrompt;

// The USB port to the analyzer's bridge. It opens the one bridge whose USB description is the
// analyzer's, configures it, and moves bytes both ways: a reader thread copies everything the
// bridge receives into the receive ring; writes go out synchronously within a time budget.
// Every call but the reader's runs on the user-interface thread.
class CFtdiPort {
public:
    // Bytes of the staging area the reader copies through.
    static constexpr uint32_t kStagingBytes = 16'896;
    // How many bytes one read of Drain asks for, and how many reads it makes at most.
    static constexpr uint32_t kDrainReadBytes = 16'640;
    static constexpr int kDrainReads = 100;
    // Bridge configuration.
    static constexpr uint32_t kTimeoutMs = 5;
    static constexpr uint8_t kLatencyMs = 5;
    static constexpr uint32_t kInTransferBytes = 8192;
    static constexpr uint32_t kOutTransferBytes = 66'560;
    // How long one Write may take.
    static constexpr uint32_t kWriteBudgetMs = 500;

    // API provides the bridge calls, PROMPT shows the port's errors, CLOCK times writes, RING
    // receives what the bridge reads.
    CFtdiPort(D2xxApi& api, UserPrompt& prompt, const Clock& clock,
              ReceiveRing& ring = ReceiveRing::processRing());
    CFtdiPort(const CFtdiPort&) = delete;
    CFtdiPort& operator=(const CFtdiPort&) = delete;
    // Closes the device if open, then lets the library go.
    ~CFtdiPort();

    // Resolves the bridge calls; a missing library or call is reported once here, and every
    // later use of a missing call reports "<call> is not valid!" and skips the call.
    void LoadD2xx();

    // Opens the analyzer's bridge (closing first if open), configures it, drains what it held,
    // and starts the reader. False when the analyzer is absent or a call the reader needs is
    // missing.
    bool Open();
    // Stops the reader, then resets and closes the device.
    void Close();
    // Whether a bridge with exactly the analyzer's description is attached. For a closed port.
    [[nodiscard]] bool IsAttached();

    // Sends BYTES within kWriteBudgetMs; what the bridge does not take in time is dropped.
    void Write(std::span<const uint8_t> bytes);
    void Write(std::string_view text);

    [[nodiscard]] bool isOpen() const { return open_; }
    [[nodiscard]] const std::string& description() const { return description_; }
    [[nodiscard]] ReceiveRing& ring() { return ring_; }
    // Whether the bridge refused the open handle to the reader or to a write (the device was
    // unplugged); opening again clears it.
    [[nodiscard]] bool deviceLost() const { return deviceLost_.load(std::memory_order_acquire); }
    // Whether the last Open failed because the system refuses this user access to the
    // analyzer's bridge (no udev rule grants it).
    [[nodiscard]] bool accessRefused() const { return accessRefused_; }

private:
    // Reads and drops what the bridge holds, then empties the ring.
    void Drain();
    void ReaderThreadProc();
    // Whether ENTRY was resolved; shows "NAME is not valid!" when it was not.
    template <typename Entry>
    bool usable(const Entry& entry, std::string_view name);
    void closeDevice();

    D2xxApi& api_;
    UserPrompt& prompt_;
    const Clock& clock_;
    ReceiveRing& ring_;

    std::thread reader_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> deviceLost_{false};
    std::string description_;
    bool open_ = false;
    bool accessRefused_ = false;
    uint32_t writeStart_ = 0;
    uint32_t writeBudget_ = 0;
    FtHandle handle_ = nullptr;
    D2xxEntryPoints entries_;
    std::vector<uint8_t> staging_;
};

} // namespace varnolt
