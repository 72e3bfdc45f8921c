#pragma once

#include <cstdint>
#include <vector>

namespace varnolt::sim {

class AnalyzerFirmware;
using AnswerFrame = std::vector<uint8_t>;

// A transfer towards the PC that moves on under the PC's one-way replies: "ACK" asks for the
// next piece, "NAK" for the last one again, "ESC" abandons it. At most one runs at a time
// (AnalyzerFirmware::transfer); it ends when finished() says so.
class HostTransfer {
public:
    HostTransfer() = default;
    HostTransfer(const HostTransfer&) = delete;
    HostTransfer& operator=(const HostTransfer&) = delete;
    virtual ~HostTransfer() = default;

    [[nodiscard]] virtual std::vector<AnswerFrame> Acknowledged(AnalyzerFirmware& state) = 0;
    [[nodiscard]] virtual std::vector<AnswerFrame> Refused(AnalyzerFirmware& state) = 0;
    [[nodiscard]] virtual bool finished() const = 0;
};

} // namespace varnolt::sim
