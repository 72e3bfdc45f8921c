#pragma once

#include "sim/VirtualAnalyzer.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <limits>
#include <mutex>
#include <span>
#include <vector>

#include "Ft232hDescriptors.h"

namespace varnolt::testing {

// A USB control request's setup stage.
struct SetupPacket {
    uint8_t requestType = 0;
    uint8_t request = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    uint16_t length = 0;
    friend bool operator==(const SetupPacket&, const SetupPacket&) = default;
};

// FTDI's vendor requests, as the chip numbers them.
namespace ftdi_request {
inline constexpr uint8_t kReset = 0x00; // value: 0 the whole chip, 1 and 2 one buffer each
inline constexpr uint8_t kModemControl = 0x01;
inline constexpr uint8_t kFlowControl = 0x02;
inline constexpr uint8_t kBaudRate = 0x03;
inline constexpr uint8_t kLineProperties = 0x04;
inline constexpr uint8_t kModemStatus = 0x05;
inline constexpr uint8_t kEventChar = 0x06;
inline constexpr uint8_t kErrorChar = 0x07;
inline constexpr uint8_t kSetLatency = 0x09;
inline constexpr uint8_t kGetLatency = 0x0A;
inline constexpr uint8_t kBitMode = 0x0B;
inline constexpr uint8_t kReadPins = 0x0C;
inline constexpr uint8_t kReadEeprom = 0x90;
inline constexpr uint8_t kWriteEeprom = 0x91;
inline constexpr uint8_t kEraseEeprom = 0x92;
} // namespace ftdi_request

// Values of the reset request. The chip names its buffers from its own side: "purge RX"
// empties what the host sent, "purge TX" what waits for the host.
inline constexpr uint16_t kResetChip = 0;
inline constexpr uint16_t kPurgeFromHost = 1;
inline constexpr uint16_t kPurgeTowardsHost = 2;

// How the chip behaves on its bulk endpoints; a test may change it at any time.
struct Ft232hBehaviour {
    static constexpr size_t kNoLimit = std::numeric_limits<size_t>::max();

    // Bytes per second the analyzer can put into the chip (its asynchronous FIFO interface);
    // 0: no limit.
    uint64_t lineBytesPerSecond = 8'000'000;
    // Data bytes in one bulk-in packet (at most 510); fewer makes every packet short.
    size_t dataBytesPerPacket = 510;
    // After this many more data bytes the bulk-in endpoint answers nothing at all (not even
    // the status bytes) for inPause; 0 pauses at once.
    size_t inBytesBeforePause = kNoLimit;
    std::chrono::milliseconds inPause{0};
    // After this many more bytes the bulk-out endpoint takes nothing for outPause.
    size_t outBytesBeforePause = kNoLimit;
    std::chrono::milliseconds outPause{0};
    // Whether the pauses come again after as many bytes each time (else once).
    bool pausesRepeat = false;
};

// An FT232H between the host and the virtual analyzer (or nothing, for another FTDI device):
// it answers the vendor requests and records each, hands bulk-out bytes to the analyzer, and
// sends the analyzer's bytes in bulk-in packets that start with the two modem-status bytes,
// released no faster than the line brings them and, when fewer than a packet wait, only when
// the latency timer runs out. Safe to call from any thread.
class EmulatedFt232h {
public:
    static constexpr size_t kStatusBytes = 2;
    static constexpr size_t kFifoBytes = 1024;
    static constexpr uint8_t kDefaultLatencyMs = 16;

    // ANALYZER, when given, must outlive the chip.
    EmulatedFt232h(Ft232hIdentity identity, sim::VirtualAnalyzer* analyzer);

    [[nodiscard]] const Ft232hIdentity& identity() const { return identity_; }

    // --- The host side.
    // A host opened or closed the device node: the first opens the analyzer's session, the
    // last closes it.
    void HostOpened();
    void HostClosed();
    // A control transfer; DATA is its data stage. The bytes of an IN stage, or a negative
    // errno (-EPIPE: the request stalls).
    int Control(const SetupPacket& setup, std::span<uint8_t> data);
    // Takes bulk-out bytes; returns how many the chip took (the rest is refused for now).
    size_t TakeFromHost(std::span<const uint8_t> bytes);
    // Adds packets to a bulk-in transfer that holds FILLED bytes already; returns the bytes it
    // holds now, and whether a short packet (or a full transfer) has ended it.
    struct InTransfer {
        size_t filled = 0;
        bool ended = false;
    };
    InTransfer FillTowardsHost(std::span<uint8_t> transfer, size_t filled);
    // Whether the analyzer behind the chip dropped off (its session ended underneath).
    [[nodiscard]] bool analyzerLost() const;

    // --- The test side.
    // The cable was pulled (the analyzer goes with it) or plugged back in: the chip starts
    // afresh, as after power-on.
    void Unplugged();
    void PluggedIn();
    // The analyzer was switched off and on: its bridge went away and came back at once.
    void PowerCycled();
    void setBehaviour(const Ft232hBehaviour& behaviour);
    [[nodiscard]] Ft232hBehaviour behaviour() const;
    // Every vendor request received, in order.
    [[nodiscard]] std::vector<SetupPacket> vendorRequests() const;
    // Bytes the analyzer has sent that the host has not received yet (in the chip).
    [[nodiscard]] size_t bytesHeld() const;
    [[nodiscard]] uint8_t latencyMs() const;

private:
    using Moment = std::chrono::steady_clock::time_point;

    int Vendor(const SetupPacket& setup, std::span<uint8_t> data);
    void ResetChip();
    // Moves what the line has carried since the last look from the analyzer into the FIFO.
    void PullFromLine(Moment now);

    const Ft232hIdentity identity_;
    sim::VirtualAnalyzer* const analyzer_;
    mutable std::mutex mutex_;
    Ft232hBehaviour behaviour_;
    Ft232hBehaviour configured_; // as set, for pauses that repeat
    std::vector<SetupPacket> vendorRequests_;
    sim::VirtualAnalyzer::Session session_ = 0;
    int hosts_ = 0;
    bool lost_ = false;
    uint8_t latencyMs_ = kDefaultLatencyMs;
    std::deque<uint8_t> towardsHost_;
    Moment lastPacket_;
    Moment lastLineLook_;
    double lineCredit_ = 0;
    Moment inPausedUntil_;
    Moment outPausedUntil_;
};

} // namespace varnolt::testing
