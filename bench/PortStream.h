#pragma once

#include "core/link/port/CFtdiPort.h"
#include "core/link/port/ReceiveRing.h"
#include "sim/VirtualAnalyzer.h"

#include <chrono>
#include <cstring>
#include <random>
#include <span>
#include <thread>
#include <vector>

namespace varnolt::bench {

// BYTES random bytes, so a shifted or repeated piece never matches.
inline std::vector<uint8_t> RandomStream(size_t bytes) {
    std::vector<uint8_t> stream(bytes);
    std::mt19937 random(7);
    for (uint8_t& byte : stream) {
        byte = static_cast<uint8_t>(random());
    }
    return stream;
}

// The analyzer sends STREAM (PACKETBYTES at a time, waiting while QUEUEDLIMIT bytes are on
// their way) while the consumer takes it out of RING behind the open PORT, checking every
// byte. Bytes per second from the first send to the last byte taken; 0 when a byte was lost,
// doubled or reordered.
inline double StreamThroughPort(sim::VirtualAnalyzer& analyzer, ReceiveRing& ring,
                                std::span<const uint8_t> stream, size_t packetBytes,
                                size_t queuedLimit) {
    std::vector<uint8_t> area(150'000);
    const auto start = std::chrono::steady_clock::now();
    std::thread sender([&] {
        for (size_t offset = 0; offset < stream.size(); offset += packetBytes) {
            analyzer.WaitUntilQueuedAtMost(queuedLimit);
            analyzer.SendToHost(
                stream.subspan(offset, std::min(packetBytes, stream.size() - offset)));
        }
    });
    size_t received = 0;
    bool intact = true;
    while (received < stream.size() && intact) {
        int32_t count = 0;
        if (ReadRing(ring, area, 0, count) == RingReadStatus::Nothing) {
            continue;
        }
        const auto taken = static_cast<size_t>(count);
        intact = received + taken <= stream.size() &&
                 std::memcmp(area.data(), stream.data() + received, taken) == 0;
        received += taken;
    }
    sender.join();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return intact ? static_cast<double>(stream.size()) / seconds.count() : 0;
}

} // namespace varnolt::bench
