#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace varnolt::sim {

// The bytes on their way from the analyzer to the PC, as USB packets in order. A packet can be
// held back until a moment on the analyzer's clock; nothing overtakes it meanwhile. The PC
// side sees one packet at a time, so an answer sent as several packets arrives in several
// reads.
class UsbInQueue {
public:
    // Queues BYTES as one packet, readable DELAY_MS after NOW.
    void Push(std::span<const uint8_t> bytes, uint32_t now, uint32_t delayMs = 0);

    // Bytes of the first packet that the PC can read at NOW.
    [[nodiscard]] uint32_t readable(uint32_t now) const;
    // Takes up to DESTINATION's size from the packets readable at NOW; returns the count.
    uint32_t Read(std::span<uint8_t> destination, uint32_t now);
    // Every byte queued, readable or held back.
    [[nodiscard]] size_t queuedBytes() const { return queuedBytes_; }
    void Clear();

private:
    struct Packet {
        std::vector<uint8_t> bytes;
        size_t taken = 0;
        uint32_t queuedAt = 0;
        uint32_t delayMs = 0;

        [[nodiscard]] bool due(uint32_t now) const { return now - queuedAt >= delayMs; }
    };

    std::deque<Packet> packets_;
    size_t queuedBytes_ = 0;
};

} // namespace varnolt::sim
